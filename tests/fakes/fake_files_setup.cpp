// The fake file system's set-up and read-back for tests.
#include <algorithm>

#include "fakes/fake_files.h"
#include "sys/paths.h"

namespace fakes {

using sys::Error;
namespace err = sys::err;

void FakeFiles::AddVolume(const std::string& root, const VolumeFacts& facts) {
  auto parsed = Parse(root);
  if (!parsed.ok()) return;
  volumes_[parsed.value.rootKey] = facts;
  auto rootOnly = Parse(parsed.value.root + "\\");
  if (!NodeAt(rootOnly.value.key)) CreateNode(rootOnly.value, true);
}

void FakeFiles::MakeDirectories(const std::string& path) {
  auto parsed = Parse(path);
  if (!parsed.ok() || !VolumeOf(parsed.value)) return;
  std::string display = parsed.value.root;
  for (const std::string& part : parsed.value.parts) {
    display += "\\" + part;
    auto step = Parse(display);
    if (!NodeAt(step.value.key)) CreateNode(step.value, true);
  }
}

void FakeFiles::WriteText(const std::string& path, const std::string& text) {
  auto parsed = Parse(path);
  if (!parsed.ok() || !VolumeOf(parsed.value)) return;
  MakeDirectories(sys::SplitAtLastBackslash(parsed.value.display).folder);
  Node* node = NodeAt(parsed.value.key);
  if (!node) node = &CreateNode(parsed.value, false);
  VolumeFacts* volume = VolumeOf(parsed.value);
  volume->freeBytes += node->data.size();
  volume->freeBytes -= std::min<uint64_t>(volume->freeBytes, text.size());
  node->data = text;
  node->times.lastWrite = clock_.NowFileTime();
}

FakeFiles::Node* FakeFiles::Lookup(const std::string& path) const {
  auto parsed = Parse(path);
  return parsed.ok() ? NodeAt(parsed.value.key) : nullptr;
}

std::optional<std::string> FakeFiles::ReadText(const std::string& path) const {
  const Node* node = Lookup(path);
  if (!node || node->directory) return std::nullopt;
  return node->data;
}

bool FakeFiles::Exists(const std::string& path) const {
  return Lookup(path) != nullptr;
}

bool FakeFiles::IsDirectory(const std::string& path) const {
  const Node* node = Lookup(path);
  return node && node->directory;
}

void FakeFiles::SetFileVersion(const std::string& path, const sys::FileVersion& version) {
  if (!Lookup(path)) WriteText(path, "");
  if (Node* node = Lookup(path)) node->version = version;
}

std::optional<sys::FileTimes> FakeFiles::TimesOf(const std::string& path) const {
  const Node* node = Lookup(path);
  return node ? std::optional(node->times) : std::nullopt;
}

void FakeFiles::SetTimesOf(const std::string& path, const sys::FileTimes& times) {
  if (Node* node = Lookup(path)) node->times = times;
}

void FakeFiles::LockFile(const std::string& path, uint32_t shareMode) {
  auto parsed = Parse(path);
  if (!parsed.ok()) return;
  handles_[nextHandle_++] = Handle{parsed.value.key, sys::FileAccess::Read, shareMode, 0, true};
}

void FakeFiles::RunProgram(const std::string& path) {
  Node* node = Lookup(path);
  if (!node) return;
  node->running = true;
  LockFile(path, sys::share::kRead | sys::share::kDelete);
}

void FakeFiles::EndOtherPrograms() {
  std::erase_if(handles_, [](const auto& h) { return h.second.foreign; });
  for (auto& [key, node] : nodes_) node.running = false;
}

void FakeFiles::Restart() {
  handles_.clear();
  EndOtherPrograms();
  std::vector<PendingRename> renames;
  renames.swap(pendingRenames_);
  for (const PendingRename& rename : renames) {
    auto source = Parse(rename.from);
    if (!source.ok() || !NodeAt(source.value.key)) continue;
    if (rename.to.empty()) {
      RemoveNode(source.value.key);
      continue;
    }
    auto target = Parse(rename.to);
    if (!target.ok()) continue;
    if (NodeAt(target.value.key)) RemoveNode(target.value.key);
    RenameTree(source.value, target.value);
  }
}

std::vector<std::string> FakeFiles::AllPaths() const {
  std::vector<std::string> paths;
  for (const auto& [key, node] : nodes_)
    if (key.find('\\') != std::string::npos) paths.push_back(node.display);
  return paths;
}

}  // namespace fakes

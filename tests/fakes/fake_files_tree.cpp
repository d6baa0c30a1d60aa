// The fake file system's folders and names: find, create and remove, delete, copy,
// move (with delayed moves), temp names, versions, short names, volumes, and the
// helpers tests use to set up and read back.
#include <algorithm>
#include <cstdio>

#include "fakes/fake_files.h"
#include "sys/paths.h"

namespace fakes {

using sys::Error;
namespace err = sys::err;

namespace {
bool IsChildKey(const std::string& key, const std::string& parentKey) {
  return key.size() > parentKey.size() + 1 && key.compare(0, parentKey.size(), parentKey) == 0 &&
         key[parentKey.size()] == '\\' && key.find('\\', parentKey.size() + 1) == std::string::npos;
}
bool IsBelowKey(const std::string& key, const std::string& folderKey) {
  return key.size() > folderKey.size() && key.compare(0, folderKey.size(), folderKey) == 0 &&
         key[folderKey.size()] == '\\';
}
}  // namespace

sys::Result<std::vector<sys::FindEntry>> FakeFiles::Find(const std::string& pattern) {
  Guard guard(mutex_);
  if (Error e = faults.Check(FileOp::Find, pattern)) return {e};
  sys::PathParts split = sys::SplitAtLastBackslash(pattern);
  auto folder = Parse(split.folder.empty() && pattern.size() > 2 && pattern[1] == ':' ? pattern.substr(0, 2)
                                                                                      : split.folder);
  if (!folder.ok()) return {folder.error};
  const Node* dir = NodeAt(folder.value.key);
  if (!dir || !dir->directory) return {err::kPathNotFound};
  std::vector<sys::FindEntry> found;
  for (const auto& [key, node] : nodes_) {
    if (!IsChildKey(key, folder.value.key)) continue;
    std::string name = sys::SplitAtLastBackslash(node.display).name;
    if (!MatchesPattern(split.name, name)) continue;
    found.push_back(sys::FindEntry{name, Reported(node), node.data.size(), node.times.lastWrite});
  }
  return {sys::err::kSuccess, std::move(found)};
}

Error FakeFiles::CreateDirectory(const std::string& path) {
  auto call = Begin(FileOp::CreateDirectory, path);
  if (call.error) return call.error;
  if (NodeAt(call.path.key)) return err::kAlreadyExists;
  if (Error e = ParentError(call.path)) return e;
  if (VolumeOf(call.path)->readOnly) return err::kWriteProtect;
  CreateNode(call.path, true);
  return err::kSuccess;
}

Error FakeFiles::CreateDirectoryWithAccessList(const std::string& path, const std::string& descriptor) {
  Guard guard(mutex_);
  if (Error e = faults.Check(FileOp::CreateDirectoryWithAccessList, path)) return e;
  return IsDescriptorString(descriptor) ? CreateDirectory(path) : sys::err::kInvalidSecurityDescriptor;
}

Error FakeFiles::RemoveDirectory(const std::string& path) {
  auto call = Begin(FileOp::RemoveDirectory, path);
  if (call.error) return call.error;
  const Node* node = NodeAt(call.path.key);
  if (!node) return MissingError(call.path);
  if (!node->directory) return errnum::kDirectory;
  if (call.path.IsRoot() || (node->attributes & sys::attr::kReadOnly)) return err::kAccessDenied;
  if (VolumeOf(call.path)->readOnly) return err::kWriteProtect;
  for (const auto& entry : nodes_)
    if (IsBelowKey(entry.first, call.path.key)) return err::kDirNotEmpty;
  nodes_.erase(call.path.key);
  return err::kSuccess;
}

Error FakeFiles::DeleteFile(const std::string& path) {
  auto call = Begin(FileOp::DeleteFile, path);
  if (call.error) return call.error;
  const Node* node = NodeAt(call.path.key);
  if (!node) return MissingError(call.path);
  if (VolumeOf(call.path)->readOnly) return err::kWriteProtect;
  if (node->directory || (node->attributes & sys::attr::kReadOnly) || node->running)
    return err::kAccessDenied;
  if (Error e = DeleteConflict(call.path.key)) return e;
  RemoveNode(call.path.key);
  return err::kSuccess;
}

Error FakeFiles::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  Guard guard(mutex_);
  if (Error e = faults.Check(FileOp::CopyFile, to)) return e;
  auto source = Parse(from);
  auto target = Parse(to);
  if (!source.ok() || !target.ok()) return source.error ? source.error : target.error;
  const Node* original = NodeAt(source.value.key);
  if (!original) return MissingError(source.value);
  if (original->directory) return err::kAccessDenied;
  if (Error e = ShareConflict(source.value.key, sys::FileAccess::Read, sys::share::kRead)) return e;
  if (Error e = ParentError(target.value)) return e;
  if (VolumeOf(target.value)->readOnly) return err::kWriteProtect;
  Node* placed = NodeAt(target.value.key);
  if (placed && failIfExists) return err::kFileExists;
  constexpr uint32_t kRefusing = sys::attr::kReadOnly | sys::attr::kHidden | sys::attr::kSystem;
  if (placed && (placed->directory || (placed->attributes & kRefusing))) return err::kAccessDenied;
  if (placed)
    if (Error e = ShareConflict(target.value.key, sys::FileAccess::Write, 0)) return e;
  bool created = !placed;
  if (created) placed = &CreateNode(target.value, false);
  if (Error e = Resize(*placed, target.value, original->data.size())) {
    if (created) RemoveNode(target.value.key);  // no half-made copy is left behind
    return e;
  }
  placed->data = original->data;
  placed->version = original->version;
  placed->attributes = original->attributes | sys::attr::kArchive;
  placed->times.lastWrite = original->times.lastWrite;
  return err::kSuccess;
}

void FakeFiles::RenameTree(const FakePath& from, const FakePath& to) {
  std::vector<std::pair<std::string, Node>> moved;
  for (auto it = nodes_.begin(); it != nodes_.end();) {
    if (it->first == from.key || IsBelowKey(it->first, from.key)) {
      moved.emplace_back(it->first, std::move(it->second));
      it = nodes_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& [key, node] : moved) {
    node.display = to.display + node.display.substr(from.display.size());
    nodes_[to.key + key.substr(from.key.size())] = std::move(node);
  }
  for (auto& [id, handle] : handles_)
    if (handle.key == from.key || IsBelowKey(handle.key, from.key))
      handle.key = to.key + handle.key.substr(from.key.size());
}

Error FakeFiles::MoveFile(const std::string& from, const std::string& to, uint32_t flags) {
  Guard guard(mutex_);
  if (Error e = faults.Check(FileOp::MoveFile, from)) return e;
  auto source = Parse(from);
  auto target = Parse(to);
  if (!source.ok()) return source.error;
  if (flags & sys::move::kDelayUntilReboot) {  // an empty target: delete at the restart
    if (!to.empty() && !target.ok()) return target.error;
    pendingRenames_.push_back(PendingRename{source.value.display, to.empty() ? "" : target.value.display});
    return err::kSuccess;
  }
  if (!target.ok()) return target.error;
  Node* node = NodeAt(source.value.key);
  if (!node) return MissingError(source.value);
  if (Error e = ParentError(target.value)) return e;
  if (VolumeOf(source.value)->readOnly || VolumeOf(target.value)->readOnly) return err::kWriteProtect;
  if (Error e = DeleteConflict(source.value.key)) return e;
  if (source.value.key == target.value.key) {  // a change of letter case only
    RenameTree(source.value, target.value);
    return err::kSuccess;
  }
  if (Node* existing = NodeAt(target.value.key)) {
    if (!(flags & sys::move::kReplaceExisting)) return err::kAlreadyExists;
    // A target that is open or running cannot be replaced: 5, not 32.
    if (existing->directory || node->directory || (existing->attributes & sys::attr::kReadOnly) ||
        existing->running || DeleteConflict(target.value.key))
      return err::kAccessDenied;
    RemoveNode(target.value.key);
  }
  bool sameVolume = source.value.rootKey == target.value.rootKey;
  if (!sameVolume) {
    if (!(flags & sys::move::kCopyAllowed) || node->directory) return errnum::kNotSameDevice;
    if (Error e = CopyFile(from, to, true)) return e;
    RemoveNode(source.value.key);
    return err::kSuccess;
  }
  RenameTree(source.value, target.value);
  return err::kSuccess;
}

sys::Result<std::string> FakeFiles::CreateTempFile(const std::string& folder, const std::string& prefix) {
  auto call = Begin(FileOp::CreateTempFile, folder);
  if (call.error) return {call.error};
  const Node* dir = NodeAt(call.path.key);
  if (!dir || !dir->directory) return {err::kPathNotFound};
  if (VolumeOf(call.path)->readOnly) return {err::kWriteProtect};
  for (;;) {
    char number[8];
    std::snprintf(number, sizeof number, "%X", nextTempNumber_++ & 0xFFFF);
    std::string name = sys::JoinPath(call.path.display, prefix.substr(0, 3) + number + ".tmp");
    auto candidate = Parse(name);
    if (NodeAt(candidate.value.key)) continue;
    CreateNode(candidate.value, false);
    return {sys::err::kSuccess, candidate.value.display};
  }
}

sys::Result<sys::FileVersion> FakeFiles::GetFileVersion(const std::string& path) {
  auto call = Begin(FileOp::GetFileVersion, path);
  if (call.error) return {call.error};
  const Node* node = NodeAt(call.path.key);
  if (!node) return {MissingError(call.path)};
  if (!node->version) return {errnum::kNoVersionResource};
  return {sys::err::kSuccess, *node->version};
}

sys::Result<std::string> FakeFiles::GetShortPath(const std::string& path) {
  auto call = Begin(FileOp::GetShortPath, path);
  if (call.error) return {call.error};
  if (!NodeAt(call.path.key)) return {MissingError(call.path)};
  // Every long name is its stem's first alias: no test has two that share one.
  std::string shortPath = call.path.root;
  for (const std::string& part : call.path.parts) shortPath += "\\" + (IsShortName(part) ? part : ShortAlias(part, 1));
  if (call.path.IsRoot()) shortPath += "\\";
  return {sys::err::kSuccess, shortPath};
}

sys::Result<sys::VolumeInfo> FakeFiles::GetVolumeInfo(const std::string& root) {
  auto call = Begin(FileOp::GetVolumeInfo, root);
  if (call.error) return {call.error};
  // The function wants a root with its trailing backslash.
  if (!call.path.IsRoot() || root.empty() || root.back() != '\\') return {err::kInvalidName};
  VolumeFacts* volume = VolumeOf(call.path);
  if (!volume) return {err::kPathNotFound};
  return {sys::err::kSuccess, sys::VolumeInfo{volume->fileSystem, volume->label, volume->serial}};
}

sys::Result<sys::DiskSpace> FakeFiles::GetDiskSpace(const std::string& folder) {
  auto call = Begin(FileOp::GetDiskSpace, folder);
  if (call.error) return {call.error};
  const Node* node = NodeAt(call.path.key);
  if (!node || !node->directory) return {err::kPathNotFound};
  VolumeFacts* volume = VolumeOf(call.path);
  return {sys::err::kSuccess, sys::DiskSpace{volume->freeBytes, volume->totalBytes, volume->freeBytes}};
}

sys::Result<sys::ClusterInfo> FakeFiles::GetClusterInfo(const std::string& root) {
  auto call = Begin(FileOp::GetClusterInfo, root);
  if (call.error) return {call.error};
  VolumeFacts* volume = VolumeOf(call.path);
  if (!volume || !NodeAt(call.path.key)) return {err::kPathNotFound};
  return {sys::err::kSuccess, sys::ClusterInfo{volume->sectorsPerCluster, volume->bytesPerSector}};
}

}  // namespace fakes

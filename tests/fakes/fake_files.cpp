// The fake file system: nodes, attributes, handles and their share modes, reads and writes.
#include "fakes/fake_files.h"

#include <algorithm>
#include <cstring>

namespace fakes {

using sys::Error;
using sys::FileAccess;
namespace err = sys::err;

namespace {
bool Reads(FileAccess access) { return access != FileAccess::Write; }
bool Writes(FileAccess access) { return access != FileAccess::Read; }
uint32_t ShareNeededFor(FileAccess access) {
  return (Reads(access) ? sys::share::kRead : 0) | (Writes(access) ? sys::share::kWrite : 0);
}
constexpr uint32_t kBlockingAttributes = sys::attr::kReadOnly;
constexpr uint32_t kHiddenOrSystem = sys::attr::kHidden | sys::attr::kSystem;
}  // namespace

FakeFiles::FakeFiles(sys::Clock& clock) : clock_(clock) { AddVolume("C:"); }

FakeFiles::~FakeFiles() = default;

FakeFiles::Call FakeFiles::Begin(FileOp op, const std::string& path) {
  Call call{std::unique_lock(mutex_)};
  call.error = faults.Check(op, path);
  if (call.error) return call;
  auto parsed = Parse(path);
  call.error = parsed.error;
  call.path = std::move(parsed.value);
  return call;
}

FakeFiles::Node* FakeFiles::NodeAt(const std::string& key) const {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : const_cast<Node*>(&it->second);
}

VolumeFacts* FakeFiles::VolumeOf(const FakePath& path) {
  auto it = volumes_.find(path.rootKey);
  return it == volumes_.end() ? nullptr : &it->second;
}

Error FakeFiles::ParentError(const FakePath& path) const {
  if (!volumes_.count(path.rootKey)) return err::kPathNotFound;
  const Node* parent = NodeAt(path.ParentKey());
  return parent && parent->directory ? err::kSuccess : err::kPathNotFound;
}

Error FakeFiles::MissingError(const FakePath& path) const {
  return ParentError(path) ? ParentError(path) : err::kFileNotFound;
}

// 32 when an open handle does not share what this access needs, or needs what it does not share.
Error FakeFiles::ShareConflict(const std::string& key, FileAccess access, uint32_t shareMode) const {
  uint32_t needed = ShareNeededFor(access);
  for (const auto& [id, handle] : handles_) {
    uint32_t held = ShareNeededFor(handle.access);
    if (handle.key == key && ((handle.shareMode & needed) != needed || (shareMode & held) != held))
      return err::kSharingViolation;
  }
  return err::kSuccess;
}

Error FakeFiles::DeleteConflict(const std::string& key) const {
  for (const auto& [id, handle] : handles_)
    if (handle.key == key && !(handle.shareMode & sys::share::kDelete)) return err::kSharingViolation;
  return err::kSuccess;
}

FakeFiles::Call FakeFiles::Use(FileOp op, sys::FileHandle file, bool (*allows)(FileAccess)) {
  Call call{std::unique_lock(mutex_)};
  auto it = handles_.find(file.id);
  call.node = it != handles_.end() && !it->second.foreign ? NodeAt(it->second.key) : nullptr;
  call.error = faults.Check(op, call.node ? call.node->display : "");
  if (!call.error && !call.node) call.error = err::kInvalidHandle;
  if (call.error) return call;
  call.handle = &it->second;
  if (allows && !allows(call.handle->access)) call.error = err::kAccessDenied;
  return call;
}

uint32_t FakeFiles::Reported(const Node& node) const {
  uint32_t bits = node.attributes | (node.directory ? sys::attr::kDirectory : 0);
  return bits ? bits : sys::attr::kNormal;
}

FakeFiles::Node& FakeFiles::CreateNode(const FakePath& path, bool directory) {
  Node& node = nodes_[path.key];
  node = Node{};
  node.display = path.display;
  node.directory = directory;
  node.attributes = directory ? 0 : sys::attr::kArchive;
  uint64_t now = clock_.NowFileTime();
  node.times = {now, now, now};
  return node;
}

Error FakeFiles::Resize(Node& node, const FakePath& path, uint64_t newSize) {
  VolumeFacts* volume = VolumeOf(path);
  uint64_t room = volume ? volume->freeBytes + node.data.size() : UINT64_MAX;
  if (newSize > room) return err::kDiskFull;
  if (volume) volume->freeBytes = room - newSize;
  node.data.resize(newSize, '\0');
  return err::kSuccess;
}

Error FakeFiles::ResizeKey(const std::string& key, uint64_t newSize) {
  Node* node = NodeAt(key);
  auto path = Parse(node->display);
  return Resize(*node, path.value, newSize);
}

void FakeFiles::RemoveNode(const std::string& key) {
  Node* node = NodeAt(key);
  if (!node) return;
  if (!node->directory) ResizeKey(key, 0);
  nodes_.erase(key);
}

sys::Result<uint32_t> FakeFiles::GetAttributes(const std::string& path) {
  auto call = Begin(FileOp::GetAttributes, path);
  if (call.error) return {call.error};
  const Node* node = NodeAt(call.path.key);
  if (!node) return {MissingError(call.path)};
  return {sys::err::kSuccess, Reported(*node)};
}

Error FakeFiles::SetAttributes(const std::string& path, uint32_t attributes) {
  auto call = Begin(FileOp::SetAttributes, path);
  if (call.error) return call.error;
  Node* node = NodeAt(call.path.key);
  if (!node) return MissingError(call.path);
  if (VolumeFacts* volume = VolumeOf(call.path); volume && volume->readOnly) return err::kWriteProtect;
  node->attributes = attributes & ~(sys::attr::kNormal | sys::attr::kDirectory);
  return err::kSuccess;
}

sys::Result<sys::FileHandle> FakeFiles::Open(const std::string& path, FileAccess access, uint32_t shareMode,
                                             sys::Disposition disposition) {
  using sys::Disposition;
  auto call = Begin(FileOp::Open, path);
  if (call.error) return {call.error};
  const FakePath& where = call.path;
  if (Error e = ParentError(where)) return {e};
  VolumeFacts* volume = VolumeOf(where);
  Node* node = NodeAt(where.key);
  bool truncates = disposition == Disposition::CreateAlways || disposition == Disposition::TruncateExisting;

  if (node && node->directory) return {err::kAccessDenied};
  if (!node) {
    if (disposition == Disposition::OpenExisting || disposition == Disposition::TruncateExisting)
      return {err::kFileNotFound};
    if (volume->readOnly) return {err::kWriteProtect};
    node = &CreateNode(where, false);
  } else {
    if (disposition == Disposition::CreateNew) return {err::kFileExists};
    if ((Writes(access) || truncates) && volume->readOnly) return {err::kWriteProtect};
    if ((Writes(access) || truncates) && (node->attributes & kBlockingAttributes)) return {err::kAccessDenied};
    // Replacing a hidden or system file without naming those attributes is refused.
    if (disposition == Disposition::CreateAlways && (node->attributes & kHiddenOrSystem))
      return {err::kAccessDenied};
    if (Error e = ShareConflict(where.key, access, shareMode)) return {e};
    if (truncates) {
      Resize(*node, where, 0);
      node->times.lastWrite = clock_.NowFileTime();
    }
  }
  uint64_t id = nextHandle_++;
  handles_[id] = Handle{where.key, access, shareMode, 0, false};
  return {sys::err::kSuccess, sys::FileHandle{id}};
}

sys::Result<uint32_t> FakeFiles::Read(sys::FileHandle file, void* buffer, uint32_t size) {
  auto use = Use(FileOp::Read, file, Reads);
  if (use.error) return {use.error};
  const std::string& data = use.node->data;
  uint64_t left = data.size() > use.handle->position ? data.size() - use.handle->position : 0;
  uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(size, left));
  if (count) std::memcpy(buffer, data.data() + use.handle->position, count);
  use.handle->position += count;
  return {err::kSuccess, count};
}

sys::Result<uint32_t> FakeFiles::Write(sys::FileHandle file, const void* buffer, uint32_t size) {
  auto use = Use(FileOp::Write, file, Writes);
  if (use.error) return {use.error};
  uint64_t end = use.handle->position + size;
  if (end > use.node->data.size())
    if (Error e = ResizeKey(use.handle->key, end)) return {e};
  if (size) std::memcpy(use.node->data.data() + use.handle->position, buffer, size);
  use.handle->position = end;
  use.node->times.lastWrite = clock_.NowFileTime();
  use.node->attributes |= sys::attr::kArchive;
  return {err::kSuccess, size};
}

sys::Result<uint64_t> FakeFiles::Seek(sys::FileHandle file, int64_t offset, sys::SeekFrom from) {
  auto use = Use(FileOp::Seek, file);
  if (use.error) return {use.error};
  int64_t base = from == sys::SeekFrom::Begin     ? 0
                 : from == sys::SeekFrom::Current ? static_cast<int64_t>(use.handle->position)
                                                  : static_cast<int64_t>(use.node->data.size());
  if (base + offset < 0) return {errnum::kNegativeSeek};
  use.handle->position = static_cast<uint64_t>(base + offset);
  return {err::kSuccess, use.handle->position};
}

sys::Result<uint64_t> FakeFiles::GetSize(sys::FileHandle file) {
  auto use = Use(FileOp::GetSize, file);
  if (use.error) return {use.error};
  return {err::kSuccess, use.node->data.size()};
}

Error FakeFiles::SetEndOfFile(sys::FileHandle file) {
  auto use = Use(FileOp::SetEndOfFile, file, Writes);
  if (use.error) return use.error;
  if (Error e = ResizeKey(use.handle->key, use.handle->position)) return e;
  use.node->times.lastWrite = clock_.NowFileTime();
  return err::kSuccess;
}

sys::Result<sys::FileTimes> FakeFiles::GetTimes(sys::FileHandle file) {
  auto use = Use(FileOp::GetTimes, file);
  if (use.error) return {use.error};
  return {err::kSuccess, use.node->times};
}

Error FakeFiles::SetTimes(sys::FileHandle file, const sys::FileTimes& times) {
  auto use = Use(FileOp::SetTimes, file, Writes);
  if (use.error) return use.error;
  sys::FileTimes& kept = use.node->times;
  if (times.creation) kept.creation = times.creation;
  if (times.lastAccess) kept.lastAccess = times.lastAccess;
  if (times.lastWrite) kept.lastWrite = times.lastWrite;
  return err::kSuccess;
}

Error FakeFiles::Close(sys::FileHandle file) {
  Guard guard(mutex_);
  auto it = handles_.find(file.id);
  if (it == handles_.end() || it->second.foreign) return err::kInvalidHandle;
  Handle closed = it->second;
  handles_.erase(it);
  if (closed.deleteOnClose) RemoveNode(closed.key);
  return err::kSuccess;
}

sys::Result<sys::FileHandle> FakeFiles::CreateLockFile(const std::string& path) {
  Guard guard(mutex_);
  auto opened = Open(path, FileAccess::Write, sys::share::kNone, sys::Disposition::OpenAlways);
  if (opened.ok()) handles_[opened.value.id].deleteOnClose = true;
  return opened;
}

int FakeFiles::OpenHandleCount() const {
  return static_cast<int>(std::count_if(handles_.begin(), handles_.end(), [](const auto& h) { return !h.second.foreign; }));
}

}  // namespace fakes

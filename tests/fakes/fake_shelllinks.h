#pragma once
// Shortcut files of a pretend machine: the records in memory, each beside an empty file in
// the fake file system, so finding and deleting them go through the files.
#include <map>
#include <string>
#include <utility>

#include "fakes/fake_files.h"
#include "sys/paths.h"
#include "sys/shelllinks.h"

namespace fakes {

class FakeShellLinks : public sys::ShellLinks {
 public:
  static constexpr sys::Error kPathNotFound = 0x80070003;  // HRESULT_FROM_WIN32(3)
  static constexpr sys::Error kFailed = 0x80004005;        // E_FAIL: absent or of the other kind

  explicit FakeShellLinks(FakeFiles& files) : files_(files) {}

  sys::Result<sys::LinkRecord> Load(sys::LinkKind kind, const std::string& path) override {
    auto it = links_.find(sys::FoldedCopy(path));
    if (!files_.Exists(path) || it == links_.end() || it->second.first != kind) return {kFailed};
    return {sys::err::kSuccess, it->second.second};
  }
  // An internet shortcut keeps only its address and icon, as the real object does.
  sys::Error Save(sys::LinkKind kind, const std::string& path, const sys::LinkRecord& link) override {
    if (!files_.IsDirectory(sys::SplitAtLastBackslash(path).folder)) return kPathNotFound;
    files_.WriteText(path, "");
    sys::LinkRecord url{link.target, "", "", "", link.iconFile, link.iconIndex};
    links_[sys::FoldedCopy(path)] = {kind, kind == sys::LinkKind::Shell ? link : url};
    return sys::err::kSuccess;
  }

 private:
  FakeFiles& files_;
  std::map<std::string, std::pair<sys::LinkKind, sys::LinkRecord>> links_;  // by folded path
};

}  // namespace fakes

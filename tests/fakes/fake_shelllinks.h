#pragma once
// Shortcut files of a pretend machine: each is a small text file in the fake file system,
// so finding, deleting and listing them go through the files as on a real machine.
#include <sstream>
#include <string>

#include "fakes/fake_files.h"
#include "sys/paths.h"
#include "sys/shelllinks.h"

namespace fakes {

class FakeShellLinks : public sys::ShellLinks {
 public:
  // HRESULT_FROM_WIN32 of 2 and 3, and E_FAIL for a file of the other kind.
  static constexpr sys::Error kFileNotFound = 0x80070002;
  static constexpr sys::Error kPathNotFound = 0x80070003;
  static constexpr sys::Error kNotALink = 0x80004005;

  explicit FakeShellLinks(FakeFiles& files) : files_(files) {}

  sys::Result<sys::LinkRecord> Load(sys::LinkKind kind, const std::string& path) override {
    std::optional<std::string> text = files_.ReadText(path);
    if (!text) return {kFileNotFound};
    std::istringstream lines(*text);
    std::string tag;
    sys::LinkRecord link;
    std::string index, show;
    std::getline(lines, tag);
    if (tag != Tag(kind)) return {kNotALink};
    for (std::string* field : {&link.target, &link.arguments, &link.workingFolder, &link.description,
                               &link.iconFile, &index, &show})
      std::getline(lines, *field);
    link.iconIndex = std::stoi(index);
    link.showCommand = std::stoi(show);
    return {sys::err::kSuccess, link};
  }

  sys::Error Save(sys::LinkKind kind, const std::string& path, const sys::LinkRecord& link) override {
    if (!files_.IsDirectory(sys::SplitAtLastBackslash(path).folder)) return kPathNotFound;
    // An internet shortcut keeps only its address and icon, as the real object does.
    const bool shell = kind == sys::LinkKind::Shell;
    files_.WriteText(path, Tag(kind) + "\n" + link.target + "\n" + (shell ? link.arguments : "") + "\n" +
                               (shell ? link.workingFolder : "") + "\n" + (shell ? link.description : "") +
                               "\n" + link.iconFile + "\n" + std::to_string(link.iconIndex) + "\n" +
                               std::to_string(shell ? link.showCommand : 1) + "\n");
    return sys::err::kSuccess;
  }

 private:
  static std::string Tag(sys::LinkKind kind) { return kind == sys::LinkKind::Shell ? "[lnk]" : "[url]"; }
  FakeFiles& files_;
};

}  // namespace fakes

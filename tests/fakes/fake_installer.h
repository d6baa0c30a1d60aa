#pragma once
// The Windows Installer of a pretend machine: a package is a file whose text begins with
// "MSI"; installing it runs the scripted result and records the call.
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "sys/installer.h"

namespace fakes {

class FakeInstaller : public sys::Installer {
 public:
  static constexpr sys::Error kOpenPackageFailed = 1619;
  static constexpr sys::Error kInvalidPackage = 1620;

  explicit FakeInstaller(FakeFiles& files) : files_(files) {}

  sys::Error VerifyPackage(const std::string& path) override {
    if (!files_.Exists(path)) return kOpenPackageFailed;
    return files_.ReadText(path).value_or("").rfind("MSI", 0) == 0 ? sys::err::kSuccess : kInvalidPackage;
  }
  uint32_t SetInternalUi(uint32_t level) override {
    uint32_t previous = uiLevel;
    uiLevel = level;
    return previous;
  }
  sys::Error InstallProduct(const std::string& path, const std::string& commandLine) override {
    installs.push_back({path, commandLine, uiLevel});
    return installResult;
  }

  struct Install {
    std::string path;
    std::string commandLine;
    uint32_t uiLevel;
  };
  std::vector<Install> installs;
  uint32_t uiLevel = 5;  // INSTALLUILEVEL_FULL until the program sets its own
  sys::Error installResult = sys::err::kSuccess;

 private:
  FakeFiles& files_;
};

}  // namespace fakes

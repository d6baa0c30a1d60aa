#pragma once
// The Windows Installer of a pretend machine: a package is a file whose text begins with
// "MSI" (else 1620); installing records the call and answers `installResult`.
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "sys/installer.h"

namespace fakes {

class FakeInstaller : public sys::Installer {
 public:
  explicit FakeInstaller(FakeFiles& files) : files_(files) {}
  sys::Error VerifyPackage(const std::string& path) override {
    return files_.ReadText(path).value_or("").rfind("MSI", 0) == 0 ? sys::err::kSuccess : 1620;
  }
  uint32_t SetInternalUi(uint32_t level) override { return std::exchange(uiLevel, level); }
  sys::Error InstallProduct(const std::string& path, const std::string& commandLine) override {
    installs.push_back(path + " " + commandLine + " ui " + std::to_string(uiLevel));
    return installResult;
  }
  std::vector<std::string> installs;  // "path command-line ui level"
  uint32_t uiLevel = 5;               // the full interface until the program sets its own
  sys::Error installResult = sys::err::kSuccess;

 private:
  FakeFiles& files_;
};

}  // namespace fakes

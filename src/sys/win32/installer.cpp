#include "sys/win32/installer.h"

#include "sys/win32/winapi.h"
#include <msi.h>

namespace sys::win32 {

namespace {

class Win32InstallerImpl final : public Installer {
 public:
  Error VerifyPackage(const std::string& path) override { return MsiVerifyPackageA(path.c_str()); }
  uint32_t SetInternalUi(uint32_t level) override {
    return static_cast<uint32_t>(MsiSetInternalUI(static_cast<INSTALLUILEVEL>(level), nullptr));
  }
  Error InstallProduct(const std::string& path, const std::string& commandLine) override {
    return MsiInstallProductA(path.c_str(), commandLine.c_str());
  }
};

}  // namespace

Installer& Win32Installer() {
  static Win32InstallerImpl instance;
  return instance;
}

}  // namespace sys::win32

#pragma once
// The Windows Installer: checks a package and installs it without asking the user.
// Results are the installer's own numbers (0 success, 1619 the package cannot be
// opened, 1620 it is no valid package, 3010 a restart is needed ...).
#include <cstdint>
#include <string>

#include "sys/result.h"

namespace sys {

namespace installerui {
// The basic user interface without a Cancel button (INSTALLUILEVEL_BASIC | HIDECANCEL).
constexpr uint32_t kBasicWithoutCancel = 35;
}  // namespace installerui

class Installer {
 public:
  virtual ~Installer() = default;

  // MsiVerifyPackage: 0 when the file is a package the installer can open.
  virtual Error VerifyPackage(const std::string& path) = 0;
  // MsiSetInternalUI for this process; the previous level.
  virtual uint32_t SetInternalUi(uint32_t level) = 0;
  // MsiInstallProduct with the property settings of `commandLine`.
  virtual Error InstallProduct(const std::string& path, const std::string& commandLine) = 0;
};

}  // namespace sys

#pragma once
// Control ids of the settings dialog that the portable code names.
namespace settingsdialog {
constexpr int kProductLine = 1000;
constexpr int kRelease = 1001;
constexpr int kInstallMode = 1004;
constexpr int kSourceOrWebSite = 1006;  // the web site, or the network installation's path in modes 3, 4 and 6
constexpr int kInstallDir = 1007;
}  // namespace settingsdialog

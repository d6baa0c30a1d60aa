#pragma once
// The one process-wide settings record of a session and the run-result flags that the
// stages of a pass set and the driver reads afterwards. Plain records with one reset point.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "session/boundedtext.h"

// The per-user settings key below HKEY_CURRENT_USER and the INI file's one section.
constexpr std::string_view kSettingsKeyPath = "Software\\Molvex\\e-Halomir Plandrix";
constexpr std::string_view kSetupSection = "Setup";

// The eight install modes.
enum InstallMode : int32_t {
  kInternetWorkstation = 0,
  kInternetNetwork = 1,
  kInternetNetworkUpdate = 2,
  kLanWorkstation = 3,
  kLanWorkstationUpdate = 4,
  kCdCreation = 5,
  kCdWorkstation = 6,
  kCdNetwork = 7,
};

// When an update run installs its items: each as soon as it arrives, or all of them
// after every item has been downloaded into the cache.
enum UpdateMode : uint32_t {
  kUpdateDuringDownload = 0,
  kUpdateAfterDownload = 1,
};

constexpr std::size_t kPathCapacity = 260;

struct SessionSettings {
  int32_t installMode = kInternetWorkstation;
  BoundedText<20> productLine;
  BoundedText<20> release;
  BoundedText<128> releaseList;
  BoundedText<256> webSite;
  BoundedText<256> installDir;
  BoundedText<256> netDir;
  BoundedText<128> virtualDir;
  BoundedText<50> userName;
  BoundedText<50> password;
  BoundedText<50> domain;
  BoundedText<128> contact;
  BoundedText<128> email;
  BoundedText<128> phone;
  BoundedText<128> jobTitle;
  BoundedText<6> title;
  BoundedText<12> gender;
  BoundedText<3> language;
  BoundedText<3> country;
  int32_t websiteId = 0;
  uint32_t updateMode = kUpdateDuringDownload;
  int32_t help = 0;
  int32_t demo = 0;
  BoundedText<kPathCapacity> settingsIni;
  BoundedText<256> programDir;
  BoundedText<100> programBaseName;
  std::array<uint16_t, 4> programVersion{};
  BoundedText<100> captionText;
  int32_t osCode = 0;
  bool osUnsupported = false;  // the system is too old or unknown (the settings check refuses it)
  bool isNtFamily = false;
  bool noSettingsDialog = false;
  bool unattended = false;
  bool silent = false;
  bool uninstallRequested = false;
  bool rebootResume = false;
  bool noCheck = false;
  bool debugStatistics = false;
  bool cleanReinstall = false;
  bool repairOnly = false;
  bool repairOnlyOffered = false;
  bool productLineEditable = true;
  bool releaseEditable = true;
  bool hasAdminRights = false;
  bool canWriteMachineKeys = false;
};

// What a pass of the settings loop leaves for the driver.
struct RunResults {
  bool returnToSettings = false;
  bool runCompleted = false;
  bool nothingInstalled = false;
  bool copyIncomplete = false;
  bool registrationFailed = false;
  bool rebootNeeded = false;
  bool convertedProductLine = false;
  bool convertedOnWorkstation = false;
  BoundedText<20> previousProductLine;
  bool previousRunUnfinished = false;
  bool netDllsUnregistered = false;
  bool registerAllKinds = false;
  bool outlook64Bit = false;
  bool runCleanReinstall = false;
  bool isWorkstation = false;
  BoundedText<64> productTitle;
  BoundedText<32> mainExecutableCode;
  // Bytes per cluster of the installation folder's and the temporary folder's volumes,
  // recorded before each run; the analysis rounds file sizes up to them.
  uint64_t installClusterSize = 1;
  uint64_t tempClusterSize = 1;
};

SessionSettings& Session();
RunResults& Results();
// Incremented by Cancel; every loop of a run and the download callback test it.
extern std::atomic<int> cancelRequested;

// Puts the session record and the run results back to their start values (tests, new process).
void ResetSessionState();

// Mode groups that recur throughout the program.
bool IsWorkstationMode(int32_t mode);     // 0, 3, 4, 6
bool IsInternetMode(int32_t mode);        // 0, 1, 2, 5
bool IsSourceMode(int32_t mode);          // 3, 4, 6, 7: fed from a network installation or CD
bool IsNetworkMode(int32_t mode);         // 1, 2, 7
bool IsLanWorkstationMode(int32_t mode);  // 3, 4
// 0, 1, 2: the internet modes that install or update from the site itself.
bool IsSiteInstallMode(int32_t mode);

#include "session/session.h"

#include <algorithm>
#include <initializer_list>

namespace {
SessionSettings settings;
RunResults results;

bool IsModeOneOf(int32_t mode, std::initializer_list<InstallMode> modes) {
  return std::find(modes.begin(), modes.end(), mode) != modes.end();
}
}  // namespace

std::atomic<int> cancelRequested{0};

SessionSettings& Session() { return settings; }
RunResults& Results() { return results; }

void ResetSessionState() {
  settings = SessionSettings{};
  results = RunResults{};
  cancelRequested = 0;
}

bool IsWorkstationMode(int32_t mode) {
  return IsModeOneOf(mode, {kInternetWorkstation, kLanWorkstation, kLanWorkstationUpdate, kCdWorkstation});
}
bool IsInternetMode(int32_t mode) {
  return IsModeOneOf(mode, {kInternetWorkstation, kInternetNetwork, kInternetNetworkUpdate, kCdCreation});
}
bool IsSourceMode(int32_t mode) {
  return IsModeOneOf(mode, {kLanWorkstation, kLanWorkstationUpdate, kCdWorkstation, kCdNetwork});
}
bool IsNetworkMode(int32_t mode) { return IsModeOneOf(mode, {kInternetNetwork, kInternetNetworkUpdate, kCdNetwork}); }
bool IsLanWorkstationMode(int32_t mode) { return IsModeOneOf(mode, {kLanWorkstation, kLanWorkstationUpdate}); }
bool IsSiteInstallMode(int32_t mode) {
  return IsModeOneOf(mode, {kInternetWorkstation, kInternetNetwork, kInternetNetworkUpdate});
}

#include "session/session.h"

namespace {
SessionSettings settings;
RunResults results;
}  // namespace

std::atomic<int> cancelRequested{0};

SessionSettings& Session() { return settings; }
RunResults& Results() { return results; }

void ResetSessionState() {
  settings = SessionSettings{};
  results = RunResults{};
  cancelRequested = 0;
}

bool IsWorkstationMode(int32_t mode) { return mode == 0 || mode == 3 || mode == 4 || mode == 6; }
bool IsInternetMode(int32_t mode) { return mode == 0 || mode == 1 || mode == 2 || mode == 5; }
bool IsSourceMode(int32_t mode) { return mode == 3 || mode == 4 || mode == 6 || mode == 7; }
bool IsNetworkMode(int32_t mode) { return mode == 1 || mode == 2 || mode == 7; }
bool IsLanWorkstationMode(int32_t mode) { return mode == 3 || mode == 4; }

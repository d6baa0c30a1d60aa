#pragma once
// The notices a pass shows before it runs: the release thresholds of the older lines,
// the conversion of NHVW and WENZLORPRO, the 64-bit mail client and the Spanish line's
// permissions. Each decides whether the pass may go on.

// Notice dialogs by resource number and the answers that let a pass go on.
namespace notice {
constexpr int kRelease380 = 1049;
constexpr int kConversion = 123;
constexpr int kRelease395 = 1057;
constexpr int kMailClient64 = 1071;
constexpr int kPermissions = 121;
constexpr int kBrowserSetting = 116;
constexpr int kAnswerYes = 6;
constexpr int kAnswerOk = 1;
constexpr int kMailClientContinue = 1069;
}  // namespace notice

// Runs the notices in their order; false when one was declined (or could not be shown).
// Accepting the conversion switches the session to QS2003E.
bool PassNotices();

// The notice about the browser setting that breaks the web products; it cannot be
// declined, so the answer is always true.
bool ShowBrowserSettingNotice();

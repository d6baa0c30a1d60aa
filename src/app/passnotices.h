#pragma once
// The notices a pass shows before it runs: the release thresholds of the older lines,
// the conversion of NHVW and WENZLORPRO, the 64-bit mail client and the Spanish line's
// permissions. Each decides whether the pass may go on.
#include "app/noticeids.h"

// Notice dialogs by resource number and the answers that let a pass go on.
namespace notice {
constexpr int kRelease380 = NOTICE_RELEASE_380;
constexpr int kConversion = NOTICE_CONVERSION;
constexpr int kRelease395 = NOTICE_RELEASE_395;
constexpr int kMailClient64 = NOTICE_MAIL_CLIENT;
constexpr int kPermissions = NOTICE_PERMISSIONS;
constexpr int kBrowserSetting = NOTICE_BROWSER_SETTING;
constexpr int kAnswerYes = NOTICE_YES;
constexpr int kAnswerOk = NOTICE_OK;
constexpr int kMailClientContinue = NOTICE_CONTINUE;
}  // namespace notice

// Runs the notices in their order; false when one was declined (or could not be shown).
// Accepting the conversion switches the session to QS2003E.
bool PassNotices();

// The notice about the browser setting that breaks the web products; it cannot be
// declined, so the answer is always true.
bool ShowBrowserSettingNotice();

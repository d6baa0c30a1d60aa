#pragma once
// What the notice dialogs say and answer, apart from their windows: the texts a notice
// takes from the string table when it opens, the answer each button gives, the help
// and details links. The dialog procedure (app/win32/noticedialog) only applies this.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/noticeids.h"
#include "sys/desktop.h"

// The maker's public web site and its customer portal: the details documents live there.
inline constexpr std::string_view kMakerSite = "https://www.molvex.example";
inline constexpr std::string_view kCustomerPortal = "https://portal.molvex.example";

// The texts a notice sets when it opens; an empty caption keeps the template's.
struct NoticeTexts {
  std::string caption;
  std::vector<std::pair<int, std::string>> controls;  // control id, text
};
NoticeTexts OpeningNoticeTexts(int dialogId);

// Acts on a command of notice `dialogId` shown in `window`: the answer that ends the
// notice, or nothing when it stays open (Help and Details open their page first).
std::optional<int> AnswerNoticeCommand(int dialogId, int command, sys::WindowId window);
// The answer of a notice closed from its caption or system menu.
int ClosedNoticeAnswer(int dialogId);

// The document behind a notice's Details button; empty for a notice without one.
std::string NoticeDetailsLink(int dialogId);
// Opens `link` in the default browser with `owner` as the owner window; a failure is
// not looked at, as the notice stays open and can be answered anyway.
void OpenNoticeDetails(sys::WindowId owner, const std::string& link);

#include "app/notices.h"

#include <algorithm>
#include <array>

#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/processes.h"

namespace {

// The link text is built in a buffer of 512 bytes.
constexpr std::size_t kLinkCapacity = 511;

// `count` consecutive texts from string-table entry `firstEntry` on go to the controls
// from `firstControl` on.
struct TextRun {
  int firstControl;
  int firstEntry;
  int count;
};

struct Answer {
  int command;
  int answer;
};

struct NoticeForm {
  int dialogId;
  // The string-table texts replace the template's only when the first run's first
  // entry is non-empty; 0 runs for a notice without them.
  std::array<TextRun, 4> texts;
  int captionEntry;  // 0: none
  std::array<Answer, 3> answers;
  // The answer to any other command; 0 leaves the notice open.
  int otherAnswer;
  int closedAnswer;
  // Details: the entry that holds the link (or, with `entryIsSite`, the site before
  // `path`) and the site that stands in for an empty entry. No path: no Details.
  int linkEntry;
  bool entryIsSite;
  std::string_view site;
  std::string_view path;
};

constexpr int kNoEntry = 0;

constexpr std::array<NoticeForm, 6> kNotices = {{
    // The browser setting cannot be declined: every way out answers OK.
    {NOTICE_BROWSER_SETTING, {}, kNoEntry, {{{NOTICE_OK, NOTICE_OK}, {NOTICE_CANCEL, NOTICE_OK}}}, 0, NOTICE_OK, kNoEntry,
     false, {}, {}},
    {NOTICE_PERMISSIONS, {}, kNoEntry, {{{NOTICE_OK, NOTICE_OK}, {NOTICE_CANCEL, NOTICE_CANCEL}}}, 0, NOTICE_CANCEL,
     kNoEntry, false, {}, {}},
    {NOTICE_RELEASE_380,
     {{{NOTICE_RELEASE_380_TEXT, 500, 5}, {NOTICE_YES, 506, 2}, {NOTICE_DETAILS, 508, 1}}},
     509,
     {{{NOTICE_YES, NOTICE_YES}, {NOTICE_NO, NOTICE_NO}, {NOTICE_CANCEL, NOTICE_CANCEL}}},
     0,
     NOTICE_CANCEL,
     505,
     true,
     kMakerSite,
     "/docs/DocView.aspx?Action=View&DocumentID={40B4BC84-3696-48BB-9D8E-2791D775E86C}"},
    {NOTICE_RELEASE_395,
     {{{NOTICE_RELEASE_395_TEXT, 610, 5}, {NOTICE_YES, 616, 2}, {NOTICE_DETAILS, 618, 1}}},
     619,
     {{{NOTICE_YES, NOTICE_YES}, {NOTICE_NO, NOTICE_NO}, {NOTICE_CANCEL, NOTICE_CANCEL}}},
     0,
     NOTICE_CANCEL,
     615,
     false,
     kCustomerPortal,
     "/docs/DocView.aspx?DocumentID={c8a80df8-d407-4d65-90b8-3411c26247ff}"},
    // Continue and Abort answer as Yes and No do elsewhere.
    {NOTICE_CONVERSION,
     {{{NOTICE_CONVERSION_TEXT, 620, 4}, {NOTICE_CONTINUE, 624, 2}, {NOTICE_DETAILS, 626, 1}}},
     628,
     {{{NOTICE_CONTINUE, NOTICE_YES}, {NOTICE_ABORT, NOTICE_NO}, {NOTICE_CANCEL, NOTICE_CANCEL}}},
     0,
     NOTICE_CANCEL,
     627,
     false,
     kCustomerPortal,
     "/docs/DocView.aspx?DocumentID={18fb3bff-153b-4f83-a066-dc3778d0bd91}"},
    // Only Continue goes on; as it is not the default button, Enter declines too.
    {NOTICE_MAIL_CLIENT,
     {{{NOTICE_MAIL_CLIENT_TEXT, 629, 4}, {NOTICE_DETAILS, 634, 1}, {NOTICE_CONTINUE, 635, 2}}},
     637,
     {{{NOTICE_CONTINUE, NOTICE_CONTINUE}}},
     NOTICE_CANCEL,
     NOTICE_CANCEL,
     633,
     false,
     kCustomerPortal,
     "/docs/DocView.aspx?DocumentID={21cc8a24-3188-4db2-9dbd-3284acb5b48d}"},
}};

const NoticeForm* FindNotice(int dialogId) {
  auto found = std::find_if(kNotices.begin(), kNotices.end(),
                            [dialogId](const NoticeForm& form) { return form.dialogId == dialogId; });
  return found == kNotices.end() ? nullptr : &*found;
}

std::string Text(int entry) { return LoadText(static_cast<uint32_t>(entry)); }

}  // namespace

NoticeTexts OpeningNoticeTexts(int dialogId) {
  NoticeTexts texts;
  if (dialogId == NOTICE_BROWSER_SETTING) texts.caption = Session().captionText.str();
  const NoticeForm* form = FindNotice(dialogId);
  if (form == nullptr || form->texts[0].count == 0 || Text(form->texts[0].firstEntry).empty()) return texts;
  for (const TextRun& run : form->texts) {
    for (int i = 0; i < run.count; ++i) texts.controls.emplace_back(run.firstControl + i, Text(run.firstEntry + i));
  }
  texts.caption = Text(form->captionEntry);
  return texts;
}

std::optional<int> AnswerNoticeCommand(int dialogId, int command, sys::WindowId window) {
  const NoticeForm* form = FindNotice(dialogId);
  if (form == nullptr) return NOTICE_CANCEL;
  for (const Answer& answer : form->answers) {
    if (answer.command != 0 && answer.command == command) return answer.answer;
  }
  if (dialogId == NOTICE_BROWSER_SETTING && command == NOTICE_HELP) {
    OpenHelp(window);
    return std::nullopt;
  }
  if (!form->path.empty() && command == NOTICE_DETAILS) {
    OpenNoticeDetails(window, NoticeDetailsLink(dialogId));
    return std::nullopt;
  }
  if (form->otherAnswer != 0) return form->otherAnswer;
  return std::nullopt;
}

int ClosedNoticeAnswer(int dialogId) {
  const NoticeForm* form = FindNotice(dialogId);
  return form == nullptr ? NOTICE_CANCEL : form->closedAnswer;
}

std::string NoticeDetailsLink(int dialogId) {
  const NoticeForm* form = FindNotice(dialogId);
  if (form == nullptr || form->path.empty()) return {};
  std::string entry = Text(form->linkEntry);
  std::string link;
  if (entry.empty()) {
    link = std::string(form->site) + std::string(form->path);
  } else {
    link = form->entryIsSite ? entry + std::string(form->path) : entry;
  }
  if (link.size() > kLinkCapacity) link.resize(kLinkCapacity);
  return link;
}

void OpenNoticeDetails(sys::WindowId owner, const std::string& link) {
  sys::Processes* processes = sys::os().processes;
  if (processes == nullptr) return;
  // The default verb: the shell picks what the link's kind opens with.
  processes->ShellExecute(owner, "", link, "", "", sys::show::kNormal);
}

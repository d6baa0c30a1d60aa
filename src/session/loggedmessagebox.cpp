// The logged message box: the text always goes to the log, the answer whenever the box
// offered a choice. A silent run shows nothing and takes the caller's default answer.
#include "session/log.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/os.h"

namespace {

constexpr uint32_t kButtonBits = 0xF;

const char* AnswerLine(int answer) {
  switch (answer) {
    case sys::answer::kOk: return "--> Ok";
    case sys::answer::kCancel: return "--> Cancel";
    case sys::answer::kAbort: return "--> Abort";
    case sys::answer::kRetry: return "--> Retry";
    case sys::answer::kIgnore: return "--> Ignore";
    case sys::answer::kYes: return "--> Yes";
    case sys::answer::kNo: return "--> No";
    default: return nullptr;
  }
}

}  // namespace

int LoggedMessageBox(sys::WindowId owner, const std::string& text, const std::string& caption, uint32_t type,
                     int defaultAnswer) {
  // The text is logged verbatim: it may hold '%' from a path, so it is never a format.
  WriteLog("%s", text.c_str());

  int answer = defaultAnswer;
  sys::Desktop* desktop = sys::os().desktop;
  if (!Session().silent && desktop != nullptr) {
    answer = desktop->MessageBox(owner, text, caption, type);
    // A box the system could not show must not leave a retry question looping.
    if (answer == 0) answer = defaultAnswer;
  }

  if ((type & kButtonBits) == 0) return answer;
  if (const char* line = AnswerLine(answer)) WriteLog("%s", line);
  return answer;
}

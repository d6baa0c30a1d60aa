// Applies app/notices to the real dialog: the opening texts, then each command's answer.
// The notice's resource number rides in the dialog's user data.
#include "app/win32/noticedialog.h"

#include "app/notices.h"
#include "app/stages.h"
#include "session/log.h"

namespace {

HINSTANCE programInstance = nullptr;

sys::WindowId Id(HWND window) { return static_cast<sys::WindowId>(reinterpret_cast<uintptr_t>(window)); }

int NoticeOf(HWND window) { return static_cast<int>(GetWindowLongPtrA(window, DWLP_USER)); }

void ApplyOpeningTexts(HWND window, int dialogId) {
  NoticeTexts texts = OpeningNoticeTexts(dialogId);
  if (!texts.caption.empty()) SetWindowTextA(window, texts.caption.c_str());
  for (const auto& [control, text] : texts.controls) SetDlgItemTextA(window, control, text.c_str());
}

INT_PTR CALLBACK NoticeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      ApplyOpeningTexts(window, static_cast<int>(lParam));
      return TRUE;  // the focus goes to the first button in the tab order
    case WM_COMMAND:
      if (std::optional<int> answer = AnswerNoticeCommand(NoticeOf(window), LOWORD(wParam), Id(window))) {
        EndDialog(window, *answer);
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, ClosedNoticeAnswer(NoticeOf(window)));
      return TRUE;
    default:
      return FALSE;
  }
}

int ShowNotice(int dialogId) {
  INT_PTR answer = DialogBoxParamA(programInstance, MAKEINTRESOURCEA(dialogId), nullptr, NoticeProcedure,
                                   static_cast<LPARAM>(dialogId));
  if (answer == -1) {
    WriteLog("Notice %d could not be shown, error %lu", dialogId, GetLastError());
  } else {
    WriteLog("Notice %d answered %d", dialogId, static_cast<int>(answer));
  }
  return static_cast<int>(answer);
}

}  // namespace

void InstallNoticeDialogs(HINSTANCE instance) {
  programInstance = instance;
  Stages().showNotice = ShowNotice;
}

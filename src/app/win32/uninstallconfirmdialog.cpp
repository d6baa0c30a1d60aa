#include "app/win32/uninstallconfirmdialog.h"

#include "app/stages.h"
#include "app/uninstallconfirm.h"
#include "app/win32/dialogwindow.h"
#include "session/log.h"
#include "session/session.h"

namespace {

HINSTANCE programInstance = nullptr;

INT_PTR CALLBACK UninstallConfirmProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  DialogWindow controls(window, programInstance);
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextA(window, Results().productTitle.c_str());
      SendDlgItemMessageA(window, confirm117::kQuestionIcon, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_QUESTION)), 0);
      OpenUninstallConfirm(controls);
      return TRUE;
    case WM_COMMAND:
      AnswerUninstallConfirm(controls, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, confirm117::kNo);
      return TRUE;
    default:
      return FALSE;
  }
}

int ConfirmUninstall() {
  INT_PTR answer = DialogBoxParamA(programInstance, MAKEINTRESOURCEA(confirm117::kDialog), nullptr,
                                   UninstallConfirmProc, 0);
  if (answer == -1) WriteLog("The uninstall confirmation could not be shown, error %lu", GetLastError());
  return static_cast<int>(answer);
}

}  // namespace

void InstallUninstallConfirmDialog(HINSTANCE instance) {
  programInstance = instance;
  Stages().confirmUninstall = ConfirmUninstall;
}

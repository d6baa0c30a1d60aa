// The settings dialog's procedure: it applies what the model in app/settingsdialog decides
// to the real controls and forwards the user's commands to it.
#include "app/win32/settingsdialog.h"

#include <string>

#include "app/dialogcontrols.h"
#include "app/win32/dialogwindow.h"
#include "app/settingsdialog.h"
#include "app/settingsdialogids.h"
#include "app/stages.h"
#include "session/log.h"
#include "session/session.h"

namespace {

constexpr const char* kBrowseTitle = "Select installation directory";
constexpr COLORREF kNoticeColour = RGB(255, 0, 0);

HINSTANCE programInstance = nullptr;

// The button pictures drawn on light grey, which becomes the button face.
void SetButtonPicture(HWND dialog, int button, int bitmap) {
  HANDLE picture = LoadImageA(programInstance, MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
  SendDlgItemMessageA(dialog, button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void OnInitDialog(HWND dialog) {
  SetWindowTextA(dialog, Session().captionText.c_str());
  HICON icon = LoadIconA(programInstance, MAKEINTRESOURCEA(ICON_PROGRAM));
  SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  DialogWindow controls(dialog, programInstance);
  OpenSettingsDialog(controls);
  SetButtonPicture(dialog, CTL_BROWSE, BMP_BROWSE);
  SetButtonPicture(dialog, CTL_REFRESH, BMP_REFRESH);
}

// The shell's folder browser; a chosen folder goes into the installation directory.
void BrowseForInstallDir(HWND dialog) {
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = dialog;
  info.pszDisplayName = display;
  info.lpszTitle = kBrowseTitle;
  info.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (chosen == nullptr) return;
  char path[MAX_PATH] = {};
  if (SHGetPathFromIDListA(chosen, path)) SetDlgItemTextA(dialog, CTL_INSTALL_DIR, path);
  CoTaskMemFree(chosen);
}

void OnCommand(HWND dialog, int id, int notification) {
  DialogWindow controls(dialog, programInstance);
  if (id == CTL_INSTALL_MODE && notification == CBN_SELENDOK) {
    InstallModeChosen(controls);
  } else if (notification == BN_CLICKED) {
    if (id == CTL_BROWSE) {
      BrowseForInstallDir(dialog);
    } else {
      SettingsDialogCommand(controls, id);
    }
  }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      // The status notice alone is drawn in red on the dialog's face.
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != CTL_STATUS_NOTICE) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), kNoticeColour);
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_3DFACE));
    case WM_DESTROY:
      EndDialog(dialog, CTL_CANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

bool RunSettingsDialog() {
  INT_PTR result = DialogBoxParamA(programInstance, MAKEINTRESOURCEA(DLG_SETTINGS), nullptr, SettingsDialogProc, 0);
  if (result == -1) WriteLog("The settings dialog could not be shown (error %lu)", GetLastError());
  if (result == SETTINGS_REGISTRY_TOO_SMALL) WriteLog("The settings dialog ended: the registry is too small");
  return result == CTL_OK;
}

}  // namespace

void InstallSettingsDialog(HINSTANCE instance) {
  programInstance = instance;
  Stages().settingsDialog = RunSettingsDialog;
}

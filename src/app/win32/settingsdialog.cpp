// The settings dialog's procedure: it applies what the model in app/settingsdialog decides
// to the real controls and forwards the user's commands to it.
#include "app/win32/settingsdialog.h"

#include <string>

#include "app/dialogcontrols.h"
#include "app/settingsdialog.h"
#include "app/settingsdialogids.h"
#include "app/stages.h"
#include "session/log.h"
#include "session/session.h"

namespace {

constexpr const char* kBrowseTitle = "Select installation directory";
constexpr COLORREF kNoticeColour = RGB(255, 0, 0);

HINSTANCE programInstance = nullptr;

// The controls of one dialog window, as the model drives them.
class DialogWindow : public DialogControls {
 public:
  explicit DialogWindow(HWND dialog) : dialog_(dialog) {}

  sys::WindowId Window() const override { return static_cast<sys::WindowId>(reinterpret_cast<uintptr_t>(dialog_)); }
  std::string Text(int id) const override {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return {};
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(GetDlgItemTextA(dialog_, id, text.data(), static_cast<int>(text.size())));
    return text;
  }
  void SetText(int id, std::string_view text) override { SetDlgItemTextA(dialog_, id, std::string(text).c_str()); }
  void Show(int id, bool visible) override { ShowWindow(GetDlgItem(dialog_, id), visible ? SW_SHOW : SW_HIDE); }
  void Enable(int id, bool enabled) override { EnableWindow(GetDlgItem(dialog_, id), enabled); }
  void SetReadOnly(int id, bool readOnly) override { Send(id, EM_SETREADONLY, readOnly, 0); }
  bool Checked(int id) const override { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
  void SetChecked(int id, bool checked) override { CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

  void AddItem(int id, std::string_view text) override {
    std::string item(text);
    Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  void ClearItems(int id) override { Send(id, CB_RESETCONTENT, 0, 0); }
  int FindItem(int id, std::string_view text) const override {
    std::string item(text);
    LRESULT position = Send(id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
    return position == CB_ERR ? -1 : static_cast<int>(position);
  }
  int Selection(int id) const override {
    LRESULT position = Send(id, CB_GETCURSEL, 0, 0);
    return position == CB_ERR ? -1 : static_cast<int>(position);
  }
  void Select(int id, int position) override { Send(id, CB_SETCURSEL, static_cast<WPARAM>(position), 0); }
  // A combo box keeps the kind it was created with (Wine's ignores a later style change
  // and then shows nothing), so the list is made anew in the same place and tab order.
  // It is called before any entry is added.
  void MakeDropDownList(int id) override {
    HWND combo = GetDlgItem(dialog_, id);
    if (combo == nullptr) return;
    // The dropped rectangle is the whole box with its list, as the template sized it.
    RECT place;
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&place));
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&place), 2);
    auto style = static_cast<DWORD>(GetWindowLongPtrA(combo, GWL_STYLE));
    style = (style & ~static_cast<DWORD>(CBS_DROPDOWN | CBS_SIMPLE)) | CBS_DROPDOWNLIST;
    HWND list = CreateWindowExA(static_cast<DWORD>(GetWindowLongPtrA(combo, GWL_EXSTYLE)), "ComboBox", "", style,
                                place.left, place.top, place.right - place.left, place.bottom - place.top, dialog_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance, nullptr);
    if (list == nullptr) return;
    SendMessageA(list, WM_SETFONT, SendMessageA(combo, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(list, combo, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(combo);
  }

  void Focus(int id) override { SetFocus(GetDlgItem(dialog_, id)); }
  void End(int result) override { EndDialog(dialog_, result); }

 private:
  LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
  }
  HWND dialog_;
};

// The button pictures drawn on light grey, which becomes the button face.
void SetButtonPicture(HWND dialog, int button, int bitmap) {
  HANDLE picture = LoadImageA(programInstance, MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
  SendDlgItemMessageA(dialog, button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void OnInitDialog(HWND dialog) {
  SetWindowTextA(dialog, Session().captionText.c_str());
  HICON icon = LoadIconA(programInstance, MAKEINTRESOURCEA(ICON_PROGRAM));
  SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  DialogWindow controls(dialog);
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
  DialogWindow controls(dialog);
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

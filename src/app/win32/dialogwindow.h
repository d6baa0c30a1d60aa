#pragma once
// A real dialog window behind the portable DialogControls: the models of the settings
// dialog and the uninstall confirmation drive it.
#include <string>
#include <string_view>

#include "app/dialogcontrols.h"
#include "sys/win32/winapi.h"

// The controls of one dialog window, as the model drives them.
class DialogWindow : public DialogControls {
 public:
  DialogWindow(HWND dialog, HINSTANCE instance) : dialog_(dialog), instance_(instance) {}

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
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
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
  HINSTANCE instance_;  // owner of the controls made anew
};


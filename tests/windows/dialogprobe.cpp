// Waits for a dialog by its caption and writes its controls to a file, one line each:
// "<id> <shown> <enabled> <text>", a combo box followed by "<id> items <selected> <a>|<b>|…",
// then "<id> at <x> <y>" (the control's centre on the screen, to click it) and last
// "focus <id>" (the control that has the keyboard focus).
// Usage: dialogprobe CAPTION OUTPUT. Runs on the program's desktop (wine explorer /desktop),
// which starts it and returns at once: OUTPUT appears when the list is complete.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Texts of another process's controls come through the wide messages only.
std::string Narrow(const wchar_t* text) {
  char narrow[512] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

BOOL CALLBACK WriteControl(HWND control, LPARAM file) {
  FILE* out = reinterpret_cast<FILE*>(file);
  wchar_t text[512] = {};
  char kind[32] = {};
  SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  GetClassNameA(control, kind, sizeof kind);
  int id = GetDlgCtrlID(control);
  std::fprintf(out, "%d %d %d %s\n", id, IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0,
               Narrow(text).c_str());
  RECT place{};
  GetWindowRect(control, &place);
  std::fprintf(out, "%d at %ld %ld\n", id, (place.left + place.right) / 2, (place.top + place.bottom) / 2);
  if (lstrcmpiA(kind, "ComboBox") != 0) return TRUE;
  std::string items;
  LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items += (i > 0 ? "|" : "") + Narrow(text);
  }
  std::fprintf(out, "%d items %d %s\n", id, static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0)), items.c_str());
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HWND dialog = nullptr;
  for (int tries = 0; tries < 300 && dialog == nullptr; ++tries, Sleep(100)) dialog = FindWindowA("#32770", argv[1]);
  if (dialog == nullptr) return 1;
  Sleep(500);  // the dialog has filled itself by now
  // Written aside and renamed: the file appears complete or not at all.
  std::string partial = std::string(argv[2]) + ".part";
  FILE* out = std::fopen(partial.c_str(), "wb");  // lines end in LF only
  if (out == nullptr) return 3;
  EnumChildWindows(dialog, WriteControl, reinterpret_cast<LPARAM>(out));
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
  std::fprintf(out, "focus %d\n", thread.hwndFocus != nullptr ? GetDlgCtrlID(thread.hwndFocus) : 0);
  std::fclose(out);
  return MoveFileExA(partial.c_str(), argv[2], MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}

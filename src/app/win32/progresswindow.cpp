// The window procedure only applies the portable frame layout and forwards Cancel; every
// decision about what to show lives in ui/progresspainter.
#include "app/win32/progresswindow.h"

#include <atomic>
#include <thread>

#include "session/log.h"
#include "session/session.h"
#include "app/stages.h"
#include "platform/services.h"
#include "ui/progresspainter.h"
#include "session/progressstate.h"
#include "session/textids.h"
#include "updaterun/updaterun.h"

#include <objbase.h>

namespace {

constexpr const char* kWindowClass = "HalomirInstaller";
constexpr int kCancelId = 2;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 20;
constexpr int kLineRight = kProgressWidth - 10;
constexpr int kRowHeight = 15;

HINSTANCE programInstance = nullptr;
HFONT font = nullptr;
HWND cancelButton = nullptr;
std::thread worker;

HWND Window() { return reinterpret_cast<HWND>(ProgressWindow()); }

void UpdateWorkerMain() {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  RunUpdate();
  PostMessageA(Window(), WM_CLOSE, 0, 0);
  if (SUCCEEDED(com)) CoUninitialize();
}

// Shows the window when hidden and paints it before returning; called by the worker.
void RefreshWindow() {
  HWND window = Window();
  if (window == nullptr) return;
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
}

void OnCreate(HWND window) {
  font = CreateFontA(-8, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
  RECT client;
  GetClientRect(window, &client);
  cancelButton = CreateWindowA("BUTTON", LoadText(text::kCancel).c_str(), WS_CHILD | WS_VISIBLE,
                               (client.right - kButtonWidth) / 2, client.bottom - kButtonHeight - 10, kButtonWidth,
                               kButtonHeight, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
                               programInstance, nullptr);
  PostMessageA(cancelButton, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SetProgressWindow(reinterpret_cast<sys::WindowId>(window));
  if (worker.joinable()) worker.join();
  worker = std::thread(UpdateWorkerMain);
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  COLORREF face = GetSysColor(COLOR_3DFACE);
  SetBkColor(dc, face);
  SetBkMode(dc, OPAQUE);
  HGDIOBJ oldFont = SelectObject(dc, font);
  HBRUSH background = GetSysColorBrush(COLOR_3DFACE);
  ProgressFrame frame = LayOutProgress(Progress(), GetTickCount(), Session().debugStatistics);
  if (frame.clearWholeWindow) {
    RECT all{kProgressLeft, 10, kProgressWidth, kProgressHeight};
    FillRect(dc, &all, background);
  }
  for (const ProgressRow& row : frame.rows) {
    RECT rect{kProgressLeft, row.top, kLineRight, row.top + kRowHeight};
    if (row.fill) FillRect(dc, &rect, background);
    if (row.style == RowStyle::PlainText) {
      TextOutA(dc, kProgressLeft, row.top, row.text.c_str(), static_cast<int>(row.text.size()));
      continue;
    }
    UINT format = DT_SINGLELINE | DT_NOPREFIX | (row.style == RowStyle::PathEllipsis ? DT_PATH_ELLIPSIS : 0);
    std::string text = row.text;  // DrawText may shorten the text it is given
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, format);
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

void OnCancel(HWND window) {
  WriteLog("Canceled by user, %s", LocalTimeText().c_str());
  ShowWindow(cancelButton, SW_HIDE);
  ControlServices(true);
  ++cancelRequested;
  PostMessageA(window, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelId) OnCancel(window);
      return 0;
    case WM_CLOSE:
      if (font != nullptr) DeleteObject(font);
      font = nullptr;
      DestroyWindow(window);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateProgressWindow() {
  WNDCLASSA windowClass{};
  windowClass.style = CS_NOCLOSE;
  windowClass.lpfnWndProc = ProgressWindowProc;
  windowClass.hInstance = programInstance;
  windowClass.hIcon = LoadIconA(programInstance, MAKEINTRESOURCEA(102));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  return CreateWindowExA(0, kWindowClass, Session().captionText.c_str(), 0x004A0000,
                         (desktop.right - kProgressWidth) / 2, (desktop.bottom - kProgressHeight) / 2, kProgressWidth,
                         kProgressHeight, nullptr, nullptr, programInstance, nullptr);
}

void RunProgressWindow() {
  if (CreateProgressWindow() == nullptr) {
    WriteLog("The progress window could not be created (error %lu); nothing was installed",
             static_cast<unsigned long>(GetLastError()));
    return;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  // After a cancel the worker stops at its next test; the driver must not work beside it.
  if (worker.joinable()) worker.join();
}

}  // namespace

void InstallProgressWindow(HINSTANCE instance) {
  programInstance = instance;
  SetProgressRefresher(RefreshWindow);
  Stages().runProgressWindow = RunProgressWindow;
}

// The window procedure applies the portable frame layout, forwards Cancel and serves the
// worker's repaint requests; every decision about what to show lives in ui/progresspainter.
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
#include "uninstall/uninstall.h"
#include "updaterun/transferahead.h"
#include "updaterun/updaterun.h"

#include <objbase.h>

namespace {

constexpr const char* kWindowClass = "HalomirInstaller";
constexpr int kCancelId = 2;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 20;
constexpr int kLineRight = kProgressWidth - 10;
constexpr int kRowHeight = 15;
// The worker's one message to the window: show yourself if hidden and repaint.
constexpr UINT kRepaintAsked = WM_APP + 1;

HINSTANCE programInstance = nullptr;
HFONT font = nullptr;
HWND cancelButton = nullptr;
std::thread worker;
ProgressPainter painter;
// Set while a repaint request waits in the queue, so a fast worker does not flood it.
std::atomic<bool> repaintPending{false};

// The seam keeps a window as a 64-bit number; a handle is as wide as a pointer.
HWND Window() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(ProgressWindow())); }

// One window, two workers: the update, or the uninstall when /UNINSTALL: asked for it.
void WorkerMain() {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (Session().uninstallRequested)
    RunUninstall();
  else
    RunUpdate();
  if (HWND window = Window()) PostMessageA(window, WM_CLOSE, 0, 0);
  if (SUCCEEDED(com)) CoUninitialize();
}

// Called by the worker: only asks, as the window belongs to its own thread. The paint
// that follows reads the record as it is then, so one request covers many steps.
void AskForRepaint() {
  HWND window = Window();
  if (window == nullptr || repaintPending.exchange(true)) return;
  if (!PostMessageA(window, kRepaintAsked, 0, 0)) repaintPending = false;
}

void OnRepaintAsked(HWND window) {
  repaintPending = false;
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
  InvalidateRect(window, nullptr, FALSE);
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
  repaintPending = false;  // a request left over from an earlier window died with it
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  COLORREF face = GetSysColor(COLOR_3DFACE);
  SetBkColor(dc, face);
  SetBkMode(dc, OPAQUE);
  HGDIOBJ oldFont = SelectObject(dc, font);
  HBRUSH background = GetSysColorBrush(COLOR_3DFACE);
  ProgressFrame frame = painter.LayOut(ProgressSnapshot(), GetTickCount(), Session().debugStatistics);
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
  ++cancelRequested;  // first: a stop the run has not begun yet is not begun at all
  StartServicesAgain();
  PostMessageA(window, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case kRepaintAsked: OnRepaintAsked(window); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelId) OnCancel(window);
      return 0;
    case WM_CLOSE:
      if (font != nullptr) DeleteObject(font);
      font = nullptr;
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      SetProgressWindow(0);  // later message boxes of the run have no owner rather than a stale one
      PostQuitMessage(0);
      return 0;
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

// A run started at log-on may meet a desktop that is not ready yet: the window is tried
// a few times before the run gives up.
HWND CreateProgressWindowPatiently() {
  constexpr int kAttempts = 5;
  for (int attempt = 1;; ++attempt) {
    if (HWND window = CreateProgressWindow()) return window;
    WriteLog("The progress window could not be created (error %lu)%s", static_cast<unsigned long>(GetLastError()),
             attempt < kAttempts ? "; trying again" : "; nothing was installed");
    if (attempt == kAttempts) return nullptr;
    Sleep(1000);
  }
}

void RunProgressWindow() {
  HWND window = CreateProgressWindowPatiently();
  if (window == nullptr) return;
  // The worker starts once the window exists: it never works beside a window that is
  // still being made, nor outlives one that never was.
  SetProgressWindow(static_cast<sys::WindowId>(reinterpret_cast<uintptr_t>(window)));
  if (worker.joinable()) worker.join();
  worker = std::thread(WorkerMain);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  // After a cancel the worker stops at its next test; the driver must not work beside it.
  if (worker.joinable()) worker.join();
}

}  // namespace

void InstallProgressWindow(HINSTANCE instance) {
  programInstance = instance;
  SetProgressRefresher(AskForRepaint);
  // The worker keeps the next item's transfer going on a thread of its own.
  SetTransferAheadMode(AheadMode::Thread);
  Stages().runProgressWindow = RunProgressWindow;
}

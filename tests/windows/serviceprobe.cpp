// A Windows service for the end-to-end tests. It appends "<service> started" and
// "<service> stopped" to C:\services.log and, while it runs, holds the file named on its
// command line open, sharing only reading, the way a service holds its program's files.
// Asked to stop while C:\<service>.cancel exists, it presses Cancel in the installer's
// progress window first.
// Usage (as the service's program): serviceprobe [FILE]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string service;
const char* heldPath = nullptr;
HANDLE held = INVALID_HANDLE_VALUE;
SERVICE_STATUS_HANDLE statusHandle;
HANDLE stopped;

void Log(const char* event) {
  if (FILE* log = std::fopen("C:\\services.log", "a"))
    std::fprintf(log, "%s %s\n", service.c_str(), event), std::fclose(log);
}

void Report(DWORD state) {
  SERVICE_STATUS status{};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  SetServiceStatus(statusHandle, &status);
}

void PressCancel() {
  // Services run on a window station of their own; the progress window is on the user's.
  SetProcessWindowStation(OpenWindowStationA("WinSta0", FALSE, WINSTA_ALL_ACCESS));
  SetThreadDesktop(OpenDesktopA("Default", 0, FALSE, GENERIC_ALL));
  PostMessageA(FindWindowA("HalomirInstaller", nullptr), WM_COMMAND, IDCANCEL, 0);
}

// All of the stop happens before the request returns: Wine's net.exe does not wait for the
// stopped state, and the run that asked must find the file free.
DWORD WINAPI OnControl(DWORD control, DWORD, void*, void*) {
  if (control != SERVICE_CONTROL_STOP) return NO_ERROR;
  if (GetFileAttributesA(("C:\\" + service + ".cancel").c_str()) != INVALID_FILE_ATTRIBUTES) PressCancel();
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  Log("stopped");
  Report(SERVICE_STOPPED);
  SetEvent(stopped);
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, char** argv) {
  service = argv[0];
  statusHandle = RegisterServiceCtrlHandlerExA(argv[0], OnControl, nullptr);
  if (heldPath) held = CreateFileA(heldPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  Log(held != INVALID_HANDLE_VALUE || !heldPath ? "started" : "started without its file");
  Report(SERVICE_RUNNING);
  WaitForSingleObject(stopped, INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) heldPath = argv[1];
  stopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SERVICE_TABLE_ENTRYA services[] = {{const_cast<char*>(""), ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(services) ? 0 : 1;
}

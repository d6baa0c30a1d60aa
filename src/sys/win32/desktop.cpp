#include "sys/win32/desktop.h"

#include "sys/commandline.h"

namespace sys::win32 {

namespace {

constexpr int kLongestString = 4096;       // a string-table entry and its NUL
constexpr DWORD kUserNameCapacity = 257;   // UNLEN + 1
constexpr DWORD kComputerNameCapacity = MAX_COMPUTERNAME_LENGTH + 1;
constexpr DWORD kErrorTextCapacity = 1024;
constexpr DWORD kPlatformNt = 2;

// A folder from one of the Get…Directory functions that take (buffer, size).
template <class Getter>
std::string FolderFrom(Getter get) {
  char buffer[MAX_PATH + 1] = {};
  UINT length = get(buffer, static_cast<UINT>(sizeof buffer));
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

class Win32DesktopImpl final : public Desktop {
 public:
  explicit Win32DesktopImpl(HINSTANCE instance) : instance_(instance) {}

  int MessageBox(WindowId owner, const std::string& text, const std::string& caption, uint32_t type) override {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(owner));
    return MessageBoxA(window, text.c_str(), caption.c_str(), type);
  }

  Result<std::string> GetSpecialFolder(int csidl) override {
    char path[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) return Result<std::string>::Fail(err::kFileNotFound);
    return Result<std::string>::Ok(path);
  }

  std::string GetWindowsFolder() override {
    return FolderFrom([](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); });
  }

  std::string GetSystemFolder() override {
    return FolderFrom([](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); });
  }

  std::string GetTempFolder() override {
    return FolderFrom([](char* buffer, UINT size) { return static_cast<UINT>(GetTempPathA(size, buffer)); });
  }

  std::string GetUserName() override {
    char name[kUserNameCapacity] = {};
    DWORD size = kUserNameCapacity;
    return GetUserNameA(name, &size) ? std::string(name) : std::string();
  }

  std::string GetComputerName() override {
    char name[kComputerNameCapacity] = {};
    DWORD size = kComputerNameCapacity;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
  }

  OsVersion GetOsVersion() override {
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return version;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
    version.platformId = info.dwPlatformId;
    version.servicePack = info.szCSDVersion;
    version.servicePackMajor = info.wServicePackMajor;
    version.productType = info.wProductType;
    version.suiteMask = info.wSuiteMask;
    return version;
  }

  std::string GetProgramPath() override {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
  }

  std::string GetCommandLine() override { return ArgumentsAfterProgramName(GetCommandLineA()); }

  std::string GetErrorText(Error error) override {
    char text[kErrorTextCapacity] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  kErrorTextCapacity, nullptr);
    return std::string(text, length);
  }

  Error RestartSystem() override {
    // The NT family restarts only for a process that holds the shutdown privilege.
    if (GetOsVersion().platformId == kPlatformNt) {
      HANDLE token = nullptr;
      if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return static_cast<Error>(GetLastError());
      UniqueHandle owned(token);
      TOKEN_PRIVILEGES privileges = {};
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      if (!LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        return static_cast<Error>(GetLastError());
      AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
      if (Error error = static_cast<Error>(GetLastError())) return error;  // ERROR_NOT_ALL_ASSIGNED as well
    }
    if (!ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_FLAG_PLANNED))
      return static_cast<Error>(GetLastError());
    return err::kSuccess;
  }

  std::string LoadString(uint32_t id) override {
    char text[kLongestString];
    int length = LoadStringA(instance_, id, text, kLongestString);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
  }

 private:
  HINSTANCE instance_;
};

}  // namespace

Desktop& Win32Desktop(HINSTANCE instance) {
  static Win32DesktopImpl desktop(instance);
  return desktop;
}

}  // namespace sys::win32

#include "sys/win32/processes.h"

#include <vector>

#include "sys/win32/winapi.h"

namespace sys::win32 {

namespace {

// ShellExecute answers a number above 32 on success; at or below, an error (0: out of memory).
constexpr uintptr_t kShellSuccessAbove = 32;

HANDLE Native(ProcessHandle process) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(process.id)); }

Error LastError() { return static_cast<Error>(GetLastError()); }

class Win32ProcessesImpl final : public Processes {
 public:
  Result<ProcessHandle> Create(const std::string& commandLine, const StartOptions& options) override {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (options.showState != show::kDefault) {
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = static_cast<WORD>(options.showState);
    }
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION started = {};
    DWORD flags = options.noConsoleWindow ? CREATE_NO_WINDOW : 0;
    const char* folder = options.workingFolder.empty() ? nullptr : options.workingFolder.c_str();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, options.inheritHandles, flags, nullptr, folder,
                        &startup, &started))
      return Result<ProcessHandle>::Fail(LastError());
    CloseHandle(started.hThread);
    return Result<ProcessHandle>::Ok(ProcessHandle{static_cast<uint64_t>(reinterpret_cast<uintptr_t>(started.hProcess))});
  }

  Error Wait(ProcessHandle process, uint32_t milliseconds) override {
    switch (WaitForSingleObject(Native(process), milliseconds)) {
      case WAIT_OBJECT_0: return err::kSuccess;
      case WAIT_TIMEOUT: return err::kWaitTimeout;
      default: return LastError();
    }
  }

  Result<uint32_t> GetExitCode(ProcessHandle process) override {
    DWORD code = 0;
    if (!GetExitCodeProcess(Native(process), &code)) return Result<uint32_t>::Fail(LastError());
    return Result<uint32_t>::Ok(code);
  }

  Error Close(ProcessHandle process) override { return CloseHandle(Native(process)) ? err::kSuccess : LastError(); }

  Error ShellExecute(WindowId owner, const std::string& verb, const std::string& file, const std::string& parameters,
                     const std::string& folder, int showState) override {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(owner));
    auto answer = reinterpret_cast<uintptr_t>(
        ShellExecuteA(window, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), folder.empty() ? nullptr : folder.c_str(),
                      showState));
    if (answer > kShellSuccessAbove) return err::kSuccess;
    return answer == 0 ? err::kNotEnoughMemory : static_cast<Error>(answer);
  }

  Result<std::vector<std::string>> ListProcessNames() override {
    using R = Result<std::vector<std::string>>;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return R::Fail(LastError());
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::vector<std::string> names;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
      names.emplace_back(entry.szExeFile);
    return R::Ok(std::move(names));
  }

  std::optional<WindowId> FindTopLevelWindow(const std::string& className, const std::string& title) override {
    HWND window = FindWindowA(className.empty() ? nullptr : className.c_str(), title.empty() ? nullptr : title.c_str());
    if (window == nullptr) return std::nullopt;
    return static_cast<WindowId>(reinterpret_cast<uintptr_t>(window));
  }

  uint32_t SetErrorMode(uint32_t mode) override { return ::SetErrorMode(mode); }
};

}  // namespace

Processes& Win32Processes() {
  static Win32ProcessesImpl processes;
  return processes;
}

}  // namespace sys::win32

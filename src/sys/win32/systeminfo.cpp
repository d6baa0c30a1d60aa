// Functions that older systems lack are found by name, so the program still starts there.
#include "sys/win32/systeminfo.h"

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <string>

namespace sys::win32 {

namespace {

// The performance-data library's types, as far as this file needs them.
using PdhStatus = LONG;
using PdhHandle = HANDLE;

struct CounterPathElements {
  LPSTR machineName;
  LPSTR objectName;
  LPSTR instanceName;
  LPSTR parentInstance;
  DWORD instanceIndex;
  LPSTR counterName;
};

struct RawCounter {
  DWORD status;
  FILETIME timeStamp;
  LONGLONG firstValue;
  LONGLONG secondValue;
  DWORD multiCount;
};
// The 64-bit values are 8-aligned in the library's layout, in the 32-bit build as well.
static_assert(offsetof(RawCounter, firstValue) == 16 && sizeof(RawCounter) == 40);

using PdhOpenQueryFn = PdhStatus(WINAPI*)(LPCSTR, DWORD_PTR, PdhHandle*);
using PdhMakeCounterPathFn = PdhStatus(WINAPI*)(CounterPathElements*, LPSTR, LPDWORD, DWORD);
using PdhAddCounterFn = PdhStatus(WINAPI*)(PdhHandle, LPCSTR, DWORD_PTR, PdhHandle*);
using PdhCollectQueryDataFn = PdhStatus(WINAPI*)(PdhHandle);
using PdhGetRawCounterValueFn = PdhStatus(WINAPI*)(PdhHandle, LPDWORD, RawCounter*);
using PdhCloseQueryFn = PdhStatus(WINAPI*)(PdhHandle);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
using GetSystemWindowsDirectoryFn = UINT(WINAPI*)(LPSTR, UINT);

// Waiting for a hung window must not hang the installer.
constexpr UINT kBroadcastTimeoutMs = 5000;

template <class Function>
Function Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel == nullptr ? nullptr : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

template <class Function>
Function LibraryFunction(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Unloads the library when the lookup is done.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* name) : module_(LoadLibraryA(name)) {}
  ~LoadedLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

std::string LocaleText(LCTYPE type, const char* fallback) {
  char text[16] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) == 0) return fallback;
  return text;
}

class Win32SystemInfoAdapter : public SystemInfo {
 public:
  Result<bool> IsWow64Process() override {
    auto isWow64 = Kernel32Function<IsWow64ProcessFn>("IsWow64Process");
    if (isWow64 == nullptr) return Result<bool>::Fail(err::kProcNotFound);
    BOOL wow64 = FALSE;
    if (!isWow64(GetCurrentProcess(), &wow64)) return Result<bool>::Fail(GetLastError());
    return Result<bool>::Ok(wow64 != FALSE);
  }

  Result<RegistryQuota> QueryRegistryQuota() override {
    LoadedLibrary pdh("pdh.dll");
    if (pdh.get() == nullptr) return Result<RegistryQuota>::Fail(err::kModuleNotFound);
    auto openQuery = LibraryFunction<PdhOpenQueryFn>(pdh.get(), "PdhOpenQueryA");
    auto makePath = LibraryFunction<PdhMakeCounterPathFn>(pdh.get(), "PdhMakeCounterPathA");
    auto addCounter = LibraryFunction<PdhAddCounterFn>(pdh.get(), "PdhAddCounterA");
    auto collect = LibraryFunction<PdhCollectQueryDataFn>(pdh.get(), "PdhCollectQueryData");
    auto rawValue = LibraryFunction<PdhGetRawCounterValueFn>(pdh.get(), "PdhGetRawCounterValue");
    auto closeQuery = LibraryFunction<PdhCloseQueryFn>(pdh.get(), "PdhCloseQuery");
    if (!openQuery || !makePath || !addCounter || !collect || !rawValue || !closeQuery) {
      return Result<RegistryQuota>::Fail(err::kProcNotFound);
    }
    char object[] = "System";
    char counterName[] = "% Registry Quota In Use";
    CounterPathElements elements{nullptr, object, nullptr, nullptr, 1, counterName};
    char path[MAX_PATH * 2] = {};
    DWORD pathSize = sizeof path;
    if (PdhStatus status = makePath(&elements, path, &pathSize, 0); status != 0) {
      return Result<RegistryQuota>::Fail(static_cast<Error>(status));
    }
    PdhHandle query = nullptr;
    if (PdhStatus status = openQuery(nullptr, 0, &query); status != 0) {
      return Result<RegistryQuota>::Fail(static_cast<Error>(status));
    }
    Result<RegistryQuota> result = ReadQuota(query, path, addCounter, collect, rawValue);
    closeQuery(query);
    return result;
  }

  Result<uint64_t> FreeBytesAvailable(const std::string& root) override {
    auto freeSpace = Kernel32Function<GetDiskFreeSpaceExFn>("GetDiskFreeSpaceExA");
    if (freeSpace == nullptr) return Result<uint64_t>::Fail(err::kProcNotFound);
    ULARGE_INTEGER toCaller{}, total{}, totalFree{};
    if (!freeSpace(root.c_str(), &toCaller, &total, &totalFree)) return Result<uint64_t>::Fail(GetLastError());
    return Result<uint64_t>::Ok(toCaller.QuadPart);
  }

  Result<std::string> SystemWindowsFolder() override {
    auto windowsFolder = Kernel32Function<GetSystemWindowsDirectoryFn>("GetSystemWindowsDirectoryA");
    if (windowsFolder == nullptr) return Result<std::string>::Fail(err::kProcNotFound);
    char folder[MAX_PATH + 1] = {};
    UINT length = windowsFolder(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return Result<std::string>::Fail(GetLastError());
    return Result<std::string>::Ok(std::string(folder, length));
  }

  std::string FormatNumber(const std::string& number, uint32_t decimals) override {
    std::string decimalSeparator = LocaleText(LOCALE_SDECIMAL, ".");
    std::string thousandSeparator = LocaleText(LOCALE_STHOUSAND, ",");
    NUMBERFMTA format{};
    format.NumDigits = decimals;
    format.LeadingZero = LocaleText(LOCALE_ILZERO, "1") == "1" ? 1 : 0;
    // "3;0" and "3" both mean groups of three, which is all this program shows.
    format.Grouping = static_cast<UINT>(std::atoi(LocaleText(LOCALE_SGROUPING, "3").c_str()));
    format.lpDecimalSep = decimalSeparator.data();
    format.lpThousandSep = thousandSeparator.data();
    format.NegativeOrder = static_cast<UINT>(std::atoi(LocaleText(LOCALE_INEGNUMBER, "1").c_str()));
    char text[96] = {};
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, number.c_str(), &format, text, sizeof text) == 0) return number;
    return text;
  }

  void BroadcastFontChange() override {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &ignored);
  }

  void BroadcastSettingChange(const std::string& area) override {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area.c_str()),
                        SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &ignored);
  }

 private:
  static Result<RegistryQuota> ReadQuota(PdhHandle query, const char* path, PdhAddCounterFn addCounter,
                                         PdhCollectQueryDataFn collect, PdhGetRawCounterValueFn rawValue) {
    PdhHandle counter = nullptr;
    if (PdhStatus status = addCounter(query, path, 0, &counter); status != 0) {
      return Result<RegistryQuota>::Fail(static_cast<Error>(status));
    }
    if (PdhStatus status = collect(query); status != 0) return Result<RegistryQuota>::Fail(static_cast<Error>(status));
    DWORD type = 0;
    RawCounter raw{};
    if (PdhStatus status = rawValue(counter, &type, &raw); status != 0) {
      return Result<RegistryQuota>::Fail(static_cast<Error>(status));
    }
    RegistryQuota quota;
    quota.inUse = raw.firstValue > 0 ? static_cast<uint64_t>(raw.firstValue) : 0;
    quota.limit = raw.secondValue > 0 ? static_cast<uint64_t>(raw.secondValue) : 0;
    return Result<RegistryQuota>::Ok(quota);
  }
};

}  // namespace

SystemInfo& Win32SystemInfo() {
  static Win32SystemInfoAdapter adapter;
  return adapter;
}

}  // namespace sys::win32

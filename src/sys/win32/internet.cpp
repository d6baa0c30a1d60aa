#include "sys/win32/internet.h"

#include "sys/win32/winapi.h"
// Needs <windows.h> first.
#include <urlmon.h>
#include <wininet.h>

#include <algorithm>
#include <vector>

#include "sys/win32/downloadcallback.h"

namespace sys::win32 {

namespace {

constexpr DWORD kMessageCapacity = 256;
// "bytes " and three numbers of up to 20 digits fit many times over.
constexpr DWORD kContentRangeCapacity = 128;

HINTERNET Native(InternetHandle handle) { return reinterpret_cast<HINTERNET>(static_cast<uintptr_t>(handle.id)); }

Result<InternetHandle> Wrapped(HINTERNET handle) {
  if (handle == nullptr) return Result<InternetHandle>::Fail(GetLastError());
  return Result<InternetHandle>::Ok({static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle))});
}

// Hands a text option over in a zero-padded buffer of at least `length` bytes.
Error SetTextOption(InternetHandle request, DWORD option, const std::string& text, uint32_t length) {
  std::vector<char> buffer(std::max<std::size_t>(length, text.size() + 1), '\0');
  std::copy(text.begin(), text.end(), buffer.begin());
  if (!InternetSetOptionA(Native(request), option, buffer.data(), length)) return GetLastError();
  return err::kSuccess;
}

class Win32InternetImpl final : public Internet {
 public:
  Result<InternetHandle> OpenSession(const std::string& agent) override {
    return Wrapped(InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  }

  Result<InternetHandle> OpenUrl(InternetHandle session, const std::string& url, uint32_t flags,
                                 const std::string& headers) override {
    return Wrapped(InternetOpenUrlA(Native(session), url.c_str(), headers.empty() ? nullptr : headers.c_str(),
                                    static_cast<DWORD>(headers.size()), flags, 0));
  }

  Error SendRequest(InternetHandle request) override {
    if (!HttpSendRequestA(Native(request), nullptr, 0, nullptr, 0)) return GetLastError();
    return err::kSuccess;
  }

  Result<uint32_t> QueryStatusCode(InternetHandle request) override {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(Native(request), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
      return Result<uint32_t>::Fail(GetLastError());
    }
    return Result<uint32_t>::Ok(status);
  }

  Result<uint64_t> QueryContentLength(InternetHandle request) override {
    DWORD length = 0;
    DWORD size = sizeof length;
    if (!HttpQueryInfoA(Native(request), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr)) {
      return Result<uint64_t>::Fail(GetLastError());
    }
    return Result<uint64_t>::Ok(length);
  }

  Result<std::string> QueryContentRange(InternetHandle request) override {
    char text[kContentRangeCapacity] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(Native(request), HTTP_QUERY_CONTENT_RANGE, text, &size, nullptr))
      return Result<std::string>::Fail(GetLastError());
    return Result<std::string>::Ok(std::string(text, size));
  }

  Error SetUserName(InternetHandle request, const std::string& userName, uint32_t length) override {
    return SetTextOption(request, INTERNET_OPTION_USERNAME, userName, length);
  }

  Error SetPassword(InternetHandle request, const std::string& password, uint32_t length) override {
    return SetTextOption(request, INTERNET_OPTION_PASSWORD, password, length);
  }

  uint32_t ErrorDialog(InternetHandle request, Error error, uint32_t flags) override {
    return InternetErrorDlg(GetDesktopWindow(), Native(request), error, flags, nullptr);
  }

  Result<uint32_t> Read(InternetHandle request, void* buffer, uint32_t size) override {
    DWORD read = 0;
    if (!InternetReadFile(Native(request), buffer, size, &read)) return Result<uint32_t>::Fail(GetLastError());
    return Result<uint32_t>::Ok(read);
  }

  Error CloseHandle(InternetHandle handle) override {
    if (!InternetCloseHandle(Native(handle))) return GetLastError();
    return err::kSuccess;
  }

  Result<uint32_t> LastResponseLength() override {
    DWORD code = 0;
    DWORD length = 0;
    if (InternetGetLastResponseInfoA(&code, nullptr, &length)) return Result<uint32_t>::Ok(0);
    Error error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return Result<uint32_t>::Fail(error);
    return Result<uint32_t>::Ok(length);
  }

  Result<std::string> LastResponseText(uint32_t length) override {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    DWORD code = 0;
    DWORD size = length + 1;
    if (!InternetGetLastResponseInfoA(&code, buffer.data(), &size)) return Result<std::string>::Fail(GetLastError());
    return Result<std::string>::Ok(std::string(buffer.data()));
  }

  std::string ErrorText(Error code) override {
    char text[kMessageCapacity + 1] = {};
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, GetModuleHandleA("wininet.dll"),
                       code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, kMessageCapacity, nullptr);
    return std::string(text, length);
  }

  CacheDownload DownloadToCacheFile(const std::string& url, uint32_t capacity, uint32_t reserved,
                                    DownloadListener* listener) override {
    CacheDownload outcome;
    std::vector<char> path(std::max<uint32_t>(capacity, 1), '\0');
    DownloadCallback* callback = listener != nullptr ? DownloadCallback::Create(listener) : nullptr;
    outcome.result =
        URLDownloadToCacheFileA(nullptr, url.c_str(), path.data(), capacity, reserved,
                                callback != nullptr ? static_cast<IBindStatusCallback*>(callback) : nullptr);
    if (callback != nullptr) callback->Release();
    path.back() = '\0';
    if (outcome.ok()) outcome.path = path.data();
    return outcome;
  }

  Error DeleteCacheEntry(const std::string& url) override {
    if (!DeleteUrlCacheEntryA(url.c_str())) return GetLastError();
    return err::kSuccess;
  }
};

}  // namespace

Internet& Win32Internet() {
  static Win32InternetImpl internet;
  return internet;
}

}  // namespace sys::win32

#pragma once
// The update site as the system reaches it: WinINet for an authenticated session and
// plain reads, the URL-moniker download into the internet cache for lists and items.
// The shape and numbers are Win32's: error numbers from WinINet (12xxx), HTTP status
// codes as numbers, download results as HRESULT values (negative on failure).
#include <cstdint>
#include <string>

#include "sys/result.h"

namespace sys {

// A WinINet handle, opaque above the seam. 0 is never a valid handle.
struct InternetHandle {
  uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
};

namespace inet {
// InternetOpenUrl flags, same numbers.
constexpr uint32_t kFlagReload = 0x80000000;
constexpr uint32_t kFlagKeepConnection = 0x00400000;
// InternetErrorDlg flags, same numbers.
constexpr uint32_t kDialogFilterForErrors = 0x1;
constexpr uint32_t kDialogChangeOptions = 0x2;
constexpr uint32_t kDialogGenerateData = 0x4;
// WinINet error numbers the program branches on.
constexpr Error kExtendedError = 12003;     // the server's response text says more
constexpr Error kIncorrectPassword = 12014;
constexpr Error kForceRetry = 12032;        // the error dialog's "send the request again"
constexpr Error kHeaderNotFound = 12150;
}  // namespace inet

// HRESULT values of the download and of its callback.
namespace hr {
constexpr int32_t kOk = 0;
constexpr int32_t kAbort = static_cast<int32_t>(0x80004004);
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002);
constexpr int32_t kInvalidArg = static_cast<int32_t>(0x80070057);
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);
}  // namespace hr

// What the download's authentication question is answered with.
struct AuthenticateReply {
  // True: hand the desktop window back and leave the names alone, so the system asks.
  bool letSystemAsk = false;
  std::string userName;  // ANSI; the adapter converts to wide text
  std::string password;
};

// The program's side of a cache download: progress with the chance to abort, and
// the credentials when the site asks for them. Called on the downloading thread.
class DownloadListener {
 public:
  virtual ~DownloadListener() = default;
  // hr::kOk goes on; hr::kAbort ends the download, which then fails with that result.
  virtual int32_t OnProgress(uint32_t progress, uint32_t maximum) = 0;
  virtual AuthenticateReply Authenticate() = 0;
};

// The outcome of a download into the internet cache.
struct CacheDownload {
  int32_t result = hr::kFail;  // HRESULT; negative is a failure
  std::string path;            // the cache file, when the download succeeded
  bool ok() const { return result >= 0; }
};

class Internet {
 public:
  virtual ~Internet() = default;

  // InternetOpen with the system's preconfigured access, no proxy, no bypass list, no flags.
  virtual Result<InternetHandle> OpenSession(const std::string& agent) = 0;
  // InternetOpenUrl; `headers` are extra request lines, each ending in CR LF ("" for none).
  // The request is sent by opening it.
  virtual Result<InternetHandle> OpenUrl(InternetHandle session, const std::string& url, uint32_t flags,
                                         const std::string& headers) = 0;
  // HttpSendRequest again on an opened URL, with no headers and no body.
  virtual Error SendRequest(InternetHandle request) = 0;
  // HttpQueryInfo of the status code as a number.
  virtual Result<uint32_t> QueryStatusCode(InternetHandle request) = 0;
  // HttpQueryInfo of the announced body length; 12150 when the reply announces none.
  virtual Result<uint64_t> QueryContentLength(InternetHandle request) = 0;
  // HttpQueryInfo of the reply's Content-Range text ("bytes 100-199/200"); 12150 when none.
  virtual Result<std::string> QueryContentRange(InternetHandle request) = 0;
  // InternetSetOption of the user name or password; `length` is the buffer length handed
  // to the system (the text is zero-padded up to it).
  virtual Error SetUserName(InternetHandle request, const std::string& userName, uint32_t length) = 0;
  virtual Error SetPassword(InternetHandle request, const std::string& password, uint32_t length) = 0;
  // InternetErrorDlg over the desktop window: the dialog's answer (kForceRetry asks for the
  // request to be sent again; 1223 or 0 otherwise).
  virtual uint32_t ErrorDialog(InternetHandle request, Error error, uint32_t flags) = 0;
  // InternetReadFile: bytes read; 0 at the end of the body.
  virtual Result<uint32_t> Read(InternetHandle request, void* buffer, uint32_t size) = 0;
  virtual Error CloseHandle(InternetHandle handle) = 0;

  // InternetGetLastResponseInfo: the length of the server's last response text (0: none),
  // then the text itself.
  virtual Result<uint32_t> LastResponseLength() = 0;
  virtual Result<std::string> LastResponseText(uint32_t length) = 0;
  // The system's message text for a WinINet error number (at most 256 characters);
  // empty when there is none.
  virtual std::string ErrorText(Error code) = 0;

  // URLDownloadToCacheFile with no caller object: the listener (may be null) sees progress
  // and answers authentication; `capacity` bounds the returned path as the system's buffer.
  virtual CacheDownload DownloadToCacheFile(const std::string& url, uint32_t capacity, uint32_t reserved,
                                            DownloadListener* listener) = 0;
  // DeleteUrlCacheEntry: 2 when the URL has no entry.
  virtual Error DeleteCacheEntry(const std::string& url) = 0;
};

}  // namespace sys

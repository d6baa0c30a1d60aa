#pragma once
// An update site in memory: scripted replies per URL for the WinINet side (status codes
// in order, a body, failures by error number) and for the cache downloads (a body per
// attempt, a failing result, a site that asks for credentials). Records what the program
// sent: URLs, credentials with their buffer lengths, dialog calls, authentication answers.
// Cache files are written through the installed file system into `cacheFolder`.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/internet.h"

namespace fakes {

enum class InternetOp {
  OpenSession,
  OpenUrl,
  SendRequest,
  QueryStatus,
  SetOption,
  Read,
  LastResponse,
  DeleteCacheEntry
};

struct SiteReply {
  // What successive status queries of one opened URL answer: the first after opening,
  // the next after each new send; the last one repeats.
  std::vector<uint32_t> statuses{200};
  std::string body;
  sys::Error readError = 0;  // a read fails with this once `readFailAfter` bytes went
  uint32_t readFailAfter = 0;
  int32_t downloadResult = 0;    // a negative HRESULT fails the cache download
  bool asksCredentials = false;  // the cache download asks the listener to authenticate
  // The body length the reply announces: -1 the body's own, -2 none at all.
  int64_t announcedLength = -1;
};

class FakeInternet : public sys::Internet {
 public:
  // From now on both channels of `url` answer `body` with status 200 (earlier replies go).
  void Serve(const std::string& url, const std::string& body);
  // The WinINet side of `url`; several calls queue replies for successive opens.
  void ServePage(const std::string& url, const SiteReply& reply);
  // The cache side of `url`; several calls queue replies for successive downloads.
  void ServeDownload(const std::string& url, const SiteReply& reply);

  // --- script ---
  // Failures by error number; OpenUrl, Read and DeleteCacheEntry rules may name a URL.
  Faults<InternetOp> faults;
  std::deque<uint32_t> dialogAnswers;  // ErrorDialog answers; 1223 (cancelled) when empty
  std::string acceptedUserName;        // credentials a download that asks accepts
  std::string acceptedPassword;
  std::string lastResponse;             // InternetGetLastResponseInfo
  std::string cacheFolder = "C:\\Cache";
  // Runs after every progress report of a download (a Cancel click mid-transfer).
  std::function<void(uint32_t done)> duringDownload;

  // --- record ---
  struct OptionCall {
    std::string text;
    uint32_t length;
  };
  std::vector<std::string> openedUrls;
  std::vector<std::string> downloadedUrls;
  std::vector<uint32_t> downloadFlags;
  std::vector<bool> downloadHadListener;
  std::vector<OptionCall> userNames;
  std::vector<OptionCall> passwords;
  std::vector<sys::Error> dialogErrors;
  std::vector<uint32_t> dialogFlags;
  std::vector<std::string> deletedCacheEntries;
  int sessionsOpened = 0;
  int sends = 0;
  int handlesClosed = 0;
  int openHandles() const { return static_cast<int>(handles_.size()); }

  // --- sys::Internet ---
  sys::Result<sys::InternetHandle> OpenSession(const std::string& agent) override;
  sys::Result<sys::InternetHandle> OpenUrl(sys::InternetHandle session, const std::string& url,
                                           uint32_t flags) override;
  sys::Error SendRequest(sys::InternetHandle request) override;
  sys::Result<uint32_t> QueryStatusCode(sys::InternetHandle request) override;
  sys::Result<uint64_t> QueryContentLength(sys::InternetHandle request) override;
  sys::Error SetUserName(sys::InternetHandle request, const std::string& userName, uint32_t length) override;
  sys::Error SetPassword(sys::InternetHandle request, const std::string& password, uint32_t length) override;
  uint32_t ErrorDialog(sys::InternetHandle request, sys::Error error, uint32_t flags) override;
  sys::Result<uint32_t> Read(sys::InternetHandle request, void* buffer, uint32_t size) override;
  sys::Error CloseHandle(sys::InternetHandle handle) override;
  sys::Result<uint32_t> LastResponseLength() override;
  sys::Result<std::string> LastResponseText(uint32_t length) override;
  std::string ErrorText(sys::Error code) override;
  sys::CacheDownload DownloadToCacheFile(const std::string& url, uint32_t capacity, uint32_t reserved,
                                         sys::DownloadListener* listener) override;
  sys::Error DeleteCacheEntry(const std::string& url) override;

  std::string lastAgent;

 private:
  struct OpenRequest {
    bool isSession = false;
    SiteReply reply;
    std::size_t statusIndex = 0;
    std::size_t readOffset = 0;
    std::string url;
  };
  struct Queued {
    SiteReply reply;
    bool served = false;
  };
  // Replies in order; the last one stays for every later request until a newer one is
  // queued behind it.
  using Queue = std::deque<Queued>;
  static SiteReply Next(Queue& queue);
  bool Authenticated(sys::DownloadListener* listener);
  bool WriteCacheFile(const std::string& path, const std::string& body);

  std::map<std::string, Queue> pages_;
  std::map<std::string, Queue> downloads_;
  std::map<uint64_t, OpenRequest> handles_;
  std::map<std::string, std::string> cacheEntries_;
  uint64_t nextHandle_ = 0x100;
  int nextCacheFile_ = 0;
};

}  // namespace fakes

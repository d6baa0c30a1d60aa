#pragma once
// An update site in memory: scripted replies per URL for the WinINet side (status codes
// in order, a body, failures by error number) and for the cache downloads (a body per
// attempt, a failing result). Records what the program sent: URLs, credentials with
// their buffer lengths, dialog calls. Cache files are written through the installed
// file system into C:\Cache.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/files.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace fakes {

enum class InternetOp { OpenUrl };

struct SiteReply {
  // What successive status queries of one opened URL answer: the first after opening,
  // the next after each new send; the last one repeats.
  std::vector<uint32_t> statuses{200};
  std::string body;
  std::string contentRange{};  // the Content-Range header; none when empty
  sys::Error readError = 0;  // a read fails with this once `readFailAfter` bytes went
  uint32_t readFailAfter = 0;
  int32_t downloadResult = 0;  // a negative HRESULT fails the cache download
};

class FakeInternet : public sys::Internet {
 public:
  // From now on both channels of `url` answer `body` with status 200 (earlier replies go).
  void Serve(const std::string& url, const std::string& body) {
    pages_[url] = {{SiteReply{.body = body}}};
    downloads_[url] = {{SiteReply{.body = body}}};
  }
  // Several calls queue replies for successive opens (downloads); the last one stays.
  void ServePage(const std::string& url, const SiteReply& reply) { pages_[url].push_back({reply}); }
  void ServeDownload(const std::string& url, const SiteReply& reply) { downloads_[url].push_back({reply}); }

  Faults<InternetOp> faults;
  std::deque<uint32_t> dialogAnswers;   // ErrorDialog answers; 1223 (cancelled) when empty
  std::string lastResponse;             // InternetGetLastResponseInfo
  std::function<void(uint32_t done)> duringDownload;  // after each progress report (a Cancel click)
  std::function<void(const std::string& url)> duringRead;  // before each read of an opened URL

  struct OptionCall {
    std::string text;
    uint32_t length;
  };
  std::string lastAgent;
  std::vector<std::string> openedUrls;
  std::vector<std::string> openedHeaders;  // the extra request lines of each open
  std::vector<std::string> downloadedUrls;
  std::vector<uint32_t> downloadFlags;
  std::vector<OptionCall> userNames;
  std::vector<OptionCall> passwords;
  std::vector<sys::Error> dialogErrors;
  std::vector<uint32_t> dialogFlags;
  std::vector<std::string> deletedCacheEntries;
  int sessionsOpened = 0;
  int sends = 0;
  int openHandles() const { return static_cast<int>(handles_.size()); }

  sys::Result<sys::InternetHandle> OpenSession(const std::string& agent) override {
    lastAgent = agent;
    ++sessionsOpened;
    handles_[nextHandle_].isSession = true;
    return {sys::err::kSuccess, {nextHandle_++}};
  }
  sys::Result<sys::InternetHandle> OpenUrl(sys::InternetHandle session, const std::string& url, uint32_t,
                                           const std::string& headers) override {
    openedUrls.push_back(url);
    openedHeaders.push_back(headers);
    auto owner = handles_.find(session.id);
    if (owner == handles_.end() || !owner->second.isSession) return {sys::err::kInvalidHandle};
    if (sys::Error error = faults.Check(InternetOp::OpenUrl, url)) return {error};
    auto page = pages_.find(url);
    handles_[nextHandle_] = {false, page == pages_.end() ? SiteReply{{404}, "Not found"} : Next(page->second), url};
    return {sys::err::kSuccess, {nextHandle_++}};
  }
  sys::Error SendRequest(sys::InternetHandle request) override {
    Request* open = RequestOf(request);
    if (!open) return sys::err::kInvalidHandle;
    ++sends;
    ++open->statusIndex;
    open->readOffset = 0;
    return sys::err::kSuccess;
  }
  sys::Result<uint32_t> QueryStatusCode(sys::InternetHandle request) override {
    Request* open = RequestOf(request);
    if (!open) return {sys::err::kInvalidHandle};
    const std::vector<uint32_t>& statuses = open->reply.statuses;
    return {sys::err::kSuccess, statuses[std::min(open->statusIndex, statuses.size() - 1)]};
  }
  sys::Result<uint64_t> QueryContentLength(sys::InternetHandle request) override {
    Request* open = RequestOf(request);
    if (!open) return {sys::err::kInvalidHandle};
    return {sys::err::kSuccess, open->reply.body.size()};
  }
  sys::Result<std::string> QueryContentRange(sys::InternetHandle request) override {
    Request* open = RequestOf(request);
    if (!open || open->reply.contentRange.empty()) return {open ? sys::inet::kHeaderNotFound : sys::err::kInvalidHandle};
    return {sys::err::kSuccess, open->reply.contentRange};
  }
  sys::Error SetUserName(sys::InternetHandle request, const std::string& userName, uint32_t length) override {
    return SetOption(request, userNames, {userName, length});
  }
  sys::Error SetPassword(sys::InternetHandle request, const std::string& password, uint32_t length) override {
    return SetOption(request, passwords, {password, length});
  }
  uint32_t ErrorDialog(sys::InternetHandle, sys::Error error, uint32_t flags) override {
    dialogErrors.push_back(error);
    dialogFlags.push_back(flags);
    if (dialogAnswers.empty()) return sys::err::kCancelled;
    uint32_t answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
  }
  sys::Result<uint32_t> Read(sys::InternetHandle request, void* buffer, uint32_t size) override {
    Request* open = RequestOf(request);
    if (!open) return {sys::err::kInvalidHandle};
    if (duringRead) duringRead(open->url);
    const SiteReply& reply = open->reply;
    std::size_t end = reply.body.size();
    if (reply.readError != 0) {
      if (open->readOffset >= reply.readFailAfter) return {reply.readError};
      end = std::min<std::size_t>(end, reply.readFailAfter);
    }
    std::size_t count = std::min<std::size_t>(size, end - std::min(end, open->readOffset));
    std::memcpy(buffer, reply.body.data() + open->readOffset, count);
    open->readOffset += count;
    return {sys::err::kSuccess, static_cast<uint32_t>(count)};
  }
  sys::Error CloseHandle(sys::InternetHandle handle) override {
    return handles_.erase(handle.id) ? sys::err::kSuccess : sys::err::kInvalidHandle;
  }
  sys::Result<uint32_t> LastResponseLength() override {
    return {sys::err::kSuccess, lastResponse.empty() ? 0u : static_cast<uint32_t>(lastResponse.size() + 1)};
  }
  sys::Result<std::string> LastResponseText(uint32_t length) override {
    if (length <= lastResponse.size()) return {sys::err::kInsufficientBuffer};
    return {sys::err::kSuccess, lastResponse};
  }
  std::string ErrorText(sys::Error code) override {
    return code == 12029 ? "A connection with the server could not be established" : "";
  }
  sys::CacheDownload DownloadToCacheFile(const std::string& url, uint32_t capacity, uint32_t reserved,
                                         sys::DownloadListener* listener) override {
    downloadedUrls.push_back(url);
    downloadFlags.push_back(reserved);
    auto queue = downloads_.find(url);
    if (queue == downloads_.end()) return {static_cast<int32_t>(0x800C0005), {}};  // the resource is not found
    SiteReply reply = Next(queue->second);
    if (reply.downloadResult < 0) return {reply.downloadResult, {}};
    auto size = static_cast<uint32_t>(reply.body.size());
    for (uint32_t done = 0;; done = std::min(size, done + 1024)) {
      if (listener && listener->OnProgress(done, size) == sys::hr::kAbort) return {sys::hr::kAbort, {}};
      if (duringDownload) duringDownload(done);
      if (done == size) break;
    }
    std::string path = "C:\\Cache\\entry" + std::to_string(++nextCacheFile_) + ".txt";
    if (path.size() >= capacity) return {static_cast<int32_t>(0x8007007A), {}};  // the caller's buffer is too small
    if (!WriteCacheFile(path, reply.body)) return {sys::hr::kFail, {}};
    cacheEntries_[url] = path;
    return {sys::hr::kOk, path};
  }
  sys::Error DeleteCacheEntry(const std::string& url) override {
    deletedCacheEntries.push_back(url);
    return cacheEntries_.erase(url) ? sys::err::kSuccess : sys::err::kFileNotFound;
  }

 private:
  struct Request {
    bool isSession = false;
    SiteReply reply;
    std::string url;
    std::size_t statusIndex = 0;
    std::size_t readOffset = 0;
  };
  struct Queued {
    SiteReply reply;
    bool served = false;
  };
  // Replies in order; the last one stays for every later request until a newer one is queued.
  static SiteReply Next(std::deque<Queued>& queue) {
    while (queue.size() > 1 && queue.front().served) queue.pop_front();
    queue.front().served = true;
    SiteReply reply = queue.front().reply;
    if (queue.size() > 1) queue.pop_front();
    return reply;
  }
  Request* RequestOf(sys::InternetHandle handle) {
    auto it = handles_.find(handle.id);
    return it == handles_.end() || it->second.isSession ? nullptr : &it->second;
  }
  sys::Error SetOption(sys::InternetHandle request, std::vector<OptionCall>& record, const OptionCall& call) {
    if (!handles_.count(request.id)) return sys::err::kInvalidHandle;
    record.push_back(call);
    return sys::err::kSuccess;
  }
  bool WriteCacheFile(const std::string& path, const std::string& body) {
    sys::Files* files = sys::os().files;
    if (!files) return false;
    files->CreateDirectory("C:\\Cache");  // 183 once it is there
    auto opened = files->Open(path, sys::FileAccess::Write, sys::share::kNone, sys::Disposition::CreateAlways);
    if (!opened.ok()) return false;
    sys::OwnedFile owned(*files, opened.value);
    return body.empty() || files->Write(owned.get(), body.data(), static_cast<uint32_t>(body.size())).ok();
  }

  std::map<std::string, std::deque<Queued>> pages_;
  std::map<std::string, std::deque<Queued>> downloads_;
  std::map<uint64_t, Request> handles_;
  std::map<std::string, std::string> cacheEntries_;
  uint64_t nextHandle_ = 0x100;
  int nextCacheFile_ = 0;
};

}  // namespace fakes

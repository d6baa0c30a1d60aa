#include "fakes/fake_internet.h"

#include <algorithm>
#include <cstring>

#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace fakes {

namespace {
constexpr uint32_t kStatusNotFound = 404;
constexpr sys::Error kCancelledAnswer = 1223;
constexpr int32_t kResourceNotFound = static_cast<int32_t>(0x800C0005);
constexpr int32_t kAccessDenied = static_cast<int32_t>(0x80070005);
constexpr uint32_t kProgressStep = 1024;
}  // namespace

void FakeInternet::Serve(const std::string& url, const std::string& body) {
  SiteReply reply;
  reply.body = body;
  pages_.erase(url);
  downloads_.erase(url);
  ServePage(url, reply);
  ServeDownload(url, reply);
}

void FakeInternet::ServePage(const std::string& url, const SiteReply& reply) { pages_[url].push_back({reply}); }

void FakeInternet::ServeDownload(const std::string& url, const SiteReply& reply) { downloads_[url].push_back({reply}); }

SiteReply FakeInternet::Next(Queue& queue) {
  while (queue.size() > 1 && queue.front().served) queue.pop_front();
  queue.front().served = true;
  SiteReply reply = queue.front().reply;
  if (queue.size() > 1) queue.pop_front();
  return reply;
}

sys::Result<sys::InternetHandle> FakeInternet::OpenSession(const std::string& agent) {
  lastAgent = agent;
  if (sys::Error error = faults.Check(InternetOp::OpenSession)) return {error};
  ++sessionsOpened;
  uint64_t id = nextHandle_++;
  handles_[id].isSession = true;
  return {sys::err::kSuccess, {id}};
}

sys::Result<sys::InternetHandle> FakeInternet::OpenUrl(sys::InternetHandle session, const std::string& url,
                                                       uint32_t /*flags*/) {
  openedUrls.push_back(url);
  auto owner = handles_.find(session.id);
  if (owner == handles_.end() || !owner->second.isSession) return {sys::err::kInvalidHandle};
  if (sys::Error error = faults.Check(InternetOp::OpenUrl, url)) return {error};
  OpenRequest request;
  request.url = url;
  auto page = pages_.find(url);
  if (page == pages_.end() || page->second.empty()) {
    request.reply.statuses = {kStatusNotFound};
    request.reply.body = "Not found";
  } else {
    request.reply = Next(page->second);
  }
  uint64_t id = nextHandle_++;
  handles_[id] = request;
  return {sys::err::kSuccess, {id}};
}

sys::Error FakeInternet::SendRequest(sys::InternetHandle request) {
  auto it = handles_.find(request.id);
  if (it == handles_.end() || it->second.isSession) return sys::err::kInvalidHandle;
  if (sys::Error error = faults.Check(InternetOp::SendRequest, it->second.url)) return error;
  ++sends;
  ++it->second.statusIndex;
  it->second.readOffset = 0;
  return sys::err::kSuccess;
}

sys::Result<uint32_t> FakeInternet::QueryStatusCode(sys::InternetHandle request) {
  auto it = handles_.find(request.id);
  if (it == handles_.end() || it->second.isSession) return {sys::err::kInvalidHandle};
  if (sys::Error error = faults.Check(InternetOp::QueryStatus, it->second.url)) return {error};
  const std::vector<uint32_t>& statuses = it->second.reply.statuses;
  if (statuses.empty()) return {sys::err::kSuccess, 200};
  std::size_t index = std::min(it->second.statusIndex, statuses.size() - 1);
  return {sys::err::kSuccess, statuses[index]};
}

sys::Result<uint64_t> FakeInternet::QueryContentLength(sys::InternetHandle request) {
  auto it = handles_.find(request.id);
  if (it == handles_.end() || it->second.isSession) return {sys::err::kInvalidHandle};
  const SiteReply& reply = it->second.reply;
  if (reply.announcedLength == -2) return {sys::inet::kHeaderNotFound};
  if (reply.announcedLength == -1) return {sys::err::kSuccess, reply.body.size()};
  return {sys::err::kSuccess, static_cast<uint64_t>(reply.announcedLength)};
}

sys::Error FakeInternet::SetUserName(sys::InternetHandle request, const std::string& userName, uint32_t length) {
  if (!handles_.count(request.id)) return sys::err::kInvalidHandle;
  if (sys::Error error = faults.Check(InternetOp::SetOption)) return error;
  userNames.push_back({userName, length});
  return sys::err::kSuccess;
}

sys::Error FakeInternet::SetPassword(sys::InternetHandle request, const std::string& password, uint32_t length) {
  if (!handles_.count(request.id)) return sys::err::kInvalidHandle;
  if (sys::Error error = faults.Check(InternetOp::SetOption)) return error;
  passwords.push_back({password, length});
  return sys::err::kSuccess;
}

uint32_t FakeInternet::ErrorDialog(sys::InternetHandle /*request*/, sys::Error error, uint32_t flags) {
  dialogErrors.push_back(error);
  dialogFlags.push_back(flags);
  if (dialogAnswers.empty()) return kCancelledAnswer;
  uint32_t answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  return answer;
}

sys::Result<uint32_t> FakeInternet::Read(sys::InternetHandle request, void* buffer, uint32_t size) {
  auto it = handles_.find(request.id);
  if (it == handles_.end() || it->second.isSession) return {sys::err::kInvalidHandle};
  OpenRequest& open = it->second;
  if (sys::Error error = faults.Check(InternetOp::Read, open.url)) return {error};
  const SiteReply& reply = open.reply;
  std::size_t end = reply.body.size();
  if (reply.readError != 0) {
    if (open.readOffset >= reply.readFailAfter) return {reply.readError};
    end = std::min<std::size_t>(end, reply.readFailAfter);
  }
  std::size_t count = std::min<std::size_t>(size, end - std::min(end, open.readOffset));
  std::memcpy(buffer, reply.body.data() + open.readOffset, count);
  open.readOffset += count;
  return {sys::err::kSuccess, static_cast<uint32_t>(count)};
}

sys::Error FakeInternet::CloseHandle(sys::InternetHandle handle) {
  if (handles_.erase(handle.id) == 0) return sys::err::kInvalidHandle;
  ++handlesClosed;
  return sys::err::kSuccess;
}

sys::Result<uint32_t> FakeInternet::LastResponseLength() {
  if (sys::Error error = faults.Check(InternetOp::LastResponse)) return {error};
  return {sys::err::kSuccess, lastResponse.empty() ? 0u : static_cast<uint32_t>(lastResponse.size() + 1)};
}

sys::Result<std::string> FakeInternet::LastResponseText(uint32_t length) {
  if (sys::Error error = faults.Check(InternetOp::LastResponse)) return {error};
  if (length <= lastResponse.size()) return {sys::err::kInsufficientBuffer};
  return {sys::err::kSuccess, lastResponse};
}

std::string FakeInternet::ErrorText(sys::Error code) {
  static const std::map<sys::Error, std::string> texts = {
      {12002, "The operation timed out"},
      {12007, "The server name or address could not be resolved"},
      {12029, "A connection with the server could not be established"},
      {12003, "An extended error was returned from the server."}};
  auto it = texts.find(code);
  return it == texts.end() ? std::string() : it->second;
}

bool FakeInternet::Authenticated(sys::DownloadListener* listener) {
  if (listener == nullptr) return false;
  sys::AuthenticateReply reply = listener->Authenticate();
  if (reply.letSystemAsk) return true;  // the user answers the system's prompt
  return reply.userName == acceptedUserName && reply.password == acceptedPassword;
}

bool FakeInternet::WriteCacheFile(const std::string& path, const std::string& body) {
  sys::Files* files = sys::os().files;
  if (files == nullptr) return false;
  files->CreateDirectory(cacheFolder);  // 183 once it is there
  auto opened = files->Open(path, sys::FileAccess::Write, sys::share::kNone, sys::Disposition::CreateAlways);
  if (!opened.ok()) return false;
  bool written = body.empty() || files->Write(opened.value, body.data(), static_cast<uint32_t>(body.size())).ok();
  files->Close(opened.value);
  return written;
}

sys::CacheDownload FakeInternet::DownloadToCacheFile(const std::string& url, uint32_t capacity, uint32_t reserved,
                                                     sys::DownloadListener* listener) {
  downloadedUrls.push_back(url);
  downloadFlags.push_back(reserved);
  downloadHadListener.push_back(listener != nullptr);
  auto queue = downloads_.find(url);
  if (queue == downloads_.end() || queue->second.empty()) return {kResourceNotFound};
  SiteReply reply = Next(queue->second);
  if (reply.downloadResult < 0) return {reply.downloadResult};
  if (reply.asksCredentials && !Authenticated(listener)) return {kAccessDenied};

  uint32_t size = static_cast<uint32_t>(reply.body.size());
  for (uint32_t done = 0;; done = std::min(size, done + kProgressStep)) {
    if (listener != nullptr && listener->OnProgress(done, size) == sys::hr::kAbort) return {sys::hr::kAbort};
    if (duringDownload) duringDownload(done);
    if (done == size) break;
  }

  std::string path = sys::JoinPath(cacheFolder, "entry" + std::to_string(++nextCacheFile_) + ".txt");
  if (path.size() >= capacity) return {static_cast<int32_t>(0x8007007A)};  // the caller's buffer is too small
  if (!WriteCacheFile(path, reply.body)) return {sys::hr::kFail};
  cacheEntries_[url] = path;
  return {sys::hr::kOk, path};
}

sys::Error FakeInternet::DeleteCacheEntry(const std::string& url) {
  if (sys::Error error = faults.Check(InternetOp::DeleteCacheEntry, url)) return error;
  deletedCacheEntries.push_back(url);
  if (cacheEntries_.erase(url) == 0) return sys::err::kFileNotFound;
  return sys::err::kSuccess;
}

}  // namespace fakes

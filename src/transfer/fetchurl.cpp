#include "transfer/fetchurl.h"

#include <optional>
#include <vector>

#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/clock.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "transfer/byterange.h"
#include "transfer/itemprogress.h"
#include "transfer/sitesession.h"

namespace {

// Reads ask for up to 64 KB at once: small reads cost a round through the system each,
// and the window shows the counters at its own pace anyway (see ShowItemProgress).
constexpr uint32_t kChunkSize = 64 * 1024;
constexpr const char* kTempPrefix = "_sy";
constexpr uint32_t kOpenFlags = sys::inet::kFlagReload | sys::inet::kFlagKeepConnection;
constexpr uint32_t kStatusOk = 200;
constexpr uint32_t kStatusPartial = 206;
// A dropped transfer is asked for again as long as the attempts bring bytes; this many
// in a row that bring none mean the site is not going to deliver.
constexpr int kFruitlessAttempts = 5;
// Each fruitless attempt waits this much longer before the next, for a site that restarts.
constexpr uint32_t kPauseStepMs = 500;

// The session's temporary folder; the system's own until the places are resolved.
std::string TempFolder() {
  if (!Places().tempFolder.empty()) return Places().tempFolder;
  sys::Desktop* desktop = sys::os().desktop;
  return desktop != nullptr ? desktop->GetTempFolder() : std::string();
}

unsigned long long Shown(uint64_t bytes) { return static_cast<unsigned long long>(bytes); }

// One body arriving over one or more requests into the temporary file: a dropped
// reply is continued from the bytes on disk when the site answers with exactly their
// rest, or started over once when it sends the whole body again.
class BodyTransfer {
 public:
  BodyTransfer(const std::string& url, const std::string& tempPath, sys::FileHandle file, TransferObserver* observer)
      : url_(url), tempPath_(tempPath), file_(file), observer_(observer), internet_(*sys::os().internet),
        files_(*sys::os().files) {}

  bool Run() {
    auto request = internet_.OpenUrl(Site().session, url_, kOpenFlags, "");
    if (!request.ok()) return false;
    auto announced = internet_.QueryContentLength(request.value);
    if (announced.ok()) total_ = announced.value;
    bool complete = Receive(request.value);
    if (observer_ == nullptr) ShowItemProgressEnd(static_cast<int32_t>(written_));
    return complete;
  }

 private:
  enum class Ending { Complete, Dropped, Stopped };

  // Reads the reply, and the next one for as long as a dropped reply is continued.
  bool Receive(sys::InternetHandle request) {
    for (;;) {
      Ending ending = Read(request);
      internet_.CloseHandle(request);
      if (ending != Ending::Dropped) return ending == Ending::Complete;
      std::optional<sys::InternetHandle> next = Continue();
      if (!next) return false;
      request = *next;
    }
  }

  void Note(const std::string& line) {
    if (observer_ != nullptr)
      observer_->Note(line);
    else
      WriteLog("%s", line.c_str());
  }

  // The reply's body onto the end of the file. Dropped: it ended before the announced
  // length, as a dropped connection can read as a clean end, or a read failed.
  Ending Read(sys::InternetHandle request) {
    std::vector<char> chunk(kChunkSize);
    uint64_t before = written_;
    for (;;) {
      auto read = internet_.Read(request, chunk.data(), kChunkSize);
      if (!read.ok() || read.value == 0) {
        if (read.ok() && (!total_ || written_ >= *total_)) return Ending::Complete;
        if (!total_ || written_ >= *total_) return Ending::Stopped;  // nothing known to be missing
        std::string line;
        AppendFormat(line, "The transfer of %s ended after %llu of %llu bytes", url_.c_str(), Shown(written_),
                     Shown(*total_));
        if (!read.ok()) AppendFormat(line, " (error %lu)", static_cast<unsigned long>(read.error));
        Note(line);
        fruitless_ = written_ > before ? 0 : fruitless_ + 1;
        return Ending::Dropped;
      }
      if (!files_.Write(file_, chunk.data(), read.value).ok()) {
        // A full disk must not pass for a complete transfer; the caller's size check would
        // catch it too, but the log says why.
        Note("Failed to write " + tempPath_);
        return Ending::Stopped;
      }
      written_ += read.value;
      if (observer_ == nullptr)
        ShowItemProgress(static_cast<int32_t>(written_));
      else if (!observer_->Written(written_))
        return Ending::Stopped;
    }
  }

  // The request for the rest of the body, or nothing when the transfer ends here.
  std::optional<sys::InternetHandle> Continue() {
    while (fruitless_ < kFruitlessAttempts) {
      if (sys::os().clock != nullptr) sys::os().clock->Sleep(kPauseStepMs * fruitless_);
      if (cancelRequested.load() != 0) return std::nullopt;
      std::string line;
      Note(AppendFormat(line, "Resuming the transfer of %s at byte %llu", url_.c_str(), Shown(written_)));
      auto request = internet_.OpenUrl(Site().session, url_, kOpenFlags, RangeRequestLine(written_));
      if (!request.ok()) {
        ++fruitless_;
        continue;
      }
      if (Trusted(request.value)) return request.value;
      internet_.CloseHandle(request.value);
      return std::nullopt;
    }
    std::string line;
    Note(AppendFormat(line, "The transfer of %s is given up after %d attempts without new bytes", url_.c_str(),
                      kFruitlessAttempts));
    return std::nullopt;
  }

  // A reply that continues the file: exactly its rest, or the whole body once, which
  // then replaces what the file held.
  bool Trusted(sys::InternetHandle request) {
    auto status = internet_.QueryStatusCode(request);
    auto range = internet_.QueryContentRange(request);
    if (status.ok() && status.value == kStatusPartial && range.ok() && IsRestOfBody(range.value, written_, *total_))
      return true;
    std::string line;
    if (status.ok() && status.value == kStatusOk && !restarted_ && StartOver()) {
      auto announced = internet_.QueryContentLength(request);
      total_ = announced.ok() ? std::optional<uint64_t>(announced.value) : std::nullopt;
      Note(AppendFormat(line, "The site sent all of %s again: the transfer starts over", url_.c_str()));
      return true;
    }
    Note(AppendFormat(line, "The site did not resume %s (status %lu, range '%s')", url_.c_str(),
                      static_cast<unsigned long>(status.value), range.value.c_str()));
    return false;
  }

  bool StartOver() {
    restarted_ = true;
    if (!files_.Seek(file_, 0, sys::SeekFrom::Begin).ok() || files_.SetEndOfFile(file_) != sys::err::kSuccess)
      return false;
    written_ = 0;
    return true;
  }

  const std::string& url_;
  const std::string& tempPath_;
  sys::FileHandle file_;
  TransferObserver* observer_;
  sys::Internet& internet_;
  sys::Files& files_;
  std::optional<uint64_t> total_;  // the body's length as the site announced it
  uint64_t written_ = 0;
  int fruitless_ = 0;  // attempts in a row that brought no byte
  bool restarted_ = false;
};

}  // namespace

bool FetchUrlToTempFile(const std::string& url, std::string& tempPath, TransferObserver* observer) {
  sys::Files* files = sys::os().files;
  tempPath.clear();
  if (files == nullptr || sys::os().internet == nullptr) return false;

  auto made = files->CreateTempFile(TempFolder(), kTempPrefix);
  if (!made.ok()) return false;
  tempPath = made.value;
  auto opened = files->OpenOwned(tempPath, sys::FileAccess::Write, sys::share::kNone, sys::Disposition::CreateAlways);
  if (!opened.ok()) return false;
  const sys::OwnedFile& file = opened.value;  // closed however the transfer ends

  return BodyTransfer(url, tempPath, file.get(), observer).Run();
}

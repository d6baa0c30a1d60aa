#include <cstdlib>
#include <string_view>

#include "install/placefile.h"
#include "install/placementstate.h"
#include "session/log.h"
#include "session/textids.h"
#include "session/session.h"
#include "sys/clock.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "transfer/fetchurl.h"
#include "transfer/transferstatistics.h"
#include "session/progressstate.h"
#include "updaterun/expandcabinet.h"
#include "filelist/fileversion.h"
#include "updaterun/installentries.h"

namespace {

constexpr int kMaxSizeRetries = 5;
constexpr std::string_view kSizesReply = "_ItemAttachmentSizes_\r\n";
constexpr std::string_view kSiteRefusal = "__ERROR__";
constexpr uint32_t kReplyPeek = 256;
constexpr uint32_t kQuestion = mb::kAbortRetryIgnore | mb::kIconStop | mb::kSetForeground;

sys::Files& Fs() { return *sys::os().files; }

// An item left out here was not updated, so the run ends with the notice that not all
// files have been updated, as for a file that could not be copied.
int Ask(const std::string& text) {
  int answer = LoggedMessageBox(ProgressWindow(), text, Session().captionText, kQuestion, sys::answer::kIgnore);
  if (answer == sys::answer::kAbort) return kItemAborted;
  if (answer == sys::answer::kRetry) return -1;
  Results().copyIncomplete = true;
  return kItemIgnored;
}

// The first bytes of a reply; empty when it cannot be read.
std::string PeekReply(const std::string& path) {
  sys::Result<sys::FileHandle> file = Fs().Open(path, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!file.ok()) return "";
  std::string bytes(kReplyPeek, '\0');
  sys::Result<uint32_t> got = Fs().Read(file.value, bytes.data(), kReplyPeek);
  Fs().Close(file.value);
  bytes.resize(got.ok() ? got.value : 0);
  return bytes;
}

// "_ItemAttachmentSizes_" CR LF size TAB cabinet size: the sizes the site has for the item.
bool ReadSizesReply(const std::string& reply, int32_t& size, int32_t& cabSize) {
  if (reply.size() <= 25 || reply.compare(0, kSizesReply.size(), kSizesReply) != 0) return false;
  std::size_t tab = reply.find('\t', kSizesReply.size());
  if (tab == std::string::npos) return false;
  size = static_cast<int32_t>(std::strtol(reply.c_str() + kSizesReply.size(), nullptr, 10));
  cabSize = static_cast<int32_t>(std::strtol(reply.c_str() + tab + 1, nullptr, 10));
  return true;
}

// The transfer, its size check and the site's second thoughts about sizes.
class ItemFetch {
 public:
  ItemFetch(const std::string& source, FileEntry& entry, int pass)
      : source_(source), entry_(entry), pass_(pass), size_(entry.size), cabSize_(entry.cabSize),
        isCabinet_(entry.cabSize != 0) {}

  ~ItemFetch() { DropDownload(); }

  // kItemOk with the prepared file, or the item's result.
  int Transfer(std::string& prepared) {
    if (!started_) Progress().itemBase = Progress().totalDone;  // once: retries start from here
    started_ = true;
    while (true) {
      Progress().itemDone = 0;  // a new attempt counts its bytes from the item's start again
      url_.clear();
      AppendFormat(url_, "%s&Size=%ld&CabSize=%ld", source_.c_str(), static_cast<long>(size_), static_cast<long>(cabSize_));
      DropDownload();
      bool rate = Session().debugStatistics;
      if (rate) BeginTransferRateWindow(sys::os().clock->TickCount());
      FetchUrlToTempFile(url_, downloaded_);
      if (rate) EndTransferRateWindow(sys::os().clock->TickCount());
      prepared = downloaded_;
      int32_t expected = cabSize_ > 0 ? cabSize_ : size_;
      sys::Result<sys::FileHandle> file =
          Fs().Open(prepared, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
      int verdict;
      if (!file.ok()) {
        std::string text;
        AppendFormat(text, "%s: '%s'\r\nError: %ld", LoadText(text::kFailedToOpenFile).c_str(), prepared.c_str(), static_cast<long>(file.error));
        verdict = Ask(text);
      } else {
        sys::Result<uint64_t> got = Fs().GetSize(file.value);
        Fs().Close(file.value);
        if (got.ok() && got.value == static_cast<uint64_t>(expected)) return kItemOk;
        verdict = WrongSize(prepared);
        if (verdict == kSizesAgain) continue;
      }
      if (verdict != -1) return verdict;
      ForgetCacheEntry();
    }
  }

  bool isCabinet() const { return isCabinet_ && pass_ != 1; }
  const std::string& url() const { return url_; }
  const std::string& downloaded() const { return downloaded_; }
  void ForgetCacheEntry() {
    if (sys::os().internet != nullptr && !url_.empty()) sys::os().internet->DeleteCacheEntry(url_);
  }
  void DropDownload() {
    if (!downloaded_.empty()) Fs().DeleteFile(downloaded_);
    downloaded_.clear();
  }
  void KeepDownload() { downloaded_.clear(); }

 private:
  static constexpr int kSizesAgain = -2;

  int WrongSize(const std::string& prepared) {
    std::string reply = PeekReply(prepared);
    bool sizesReply = ReadSizesReply(reply, size_, cabSize_);
    if (sizesReply) isCabinet_ = cabSize_ > 0;
    if (sizesReply && sizeRetries_ < kMaxSizeRetries) {
      ++sizeRetries_;
      ForgetCacheEntry();
      return kSizesAgain;
    }
    std::string text;
    AppendFormat(text, "%s: %s", LoadText(text::kFailedToDownload).c_str(), url_.c_str());
    if (reply.compare(0, kSiteRefusal.size(), kSiteRefusal) == 0)
      AppendFormat(text, " \r\n%s.", reply.substr(std::min<std::size_t>(9, reply.size())).c_str());
    else
      AppendFormat(text, " (%s).", LoadText(text::kIncorrectByteCount).c_str());
    return Ask(text);
  }

  const std::string& source_;
  FileEntry& entry_;
  int pass_;
  int32_t size_;
  int32_t cabSize_;
  bool isCabinet_;
  int sizeRetries_ = 0;
  bool started_ = false;
  std::string url_;
  std::string downloaded_;
};

}  // namespace

int FetchItem(const std::string& source, std::string& target, const std::string& targetFolder, FileEntry& entry,
              int pass) {
  int32_t mode = Session().installMode;
  std::string expansion;
  if (IsInternetMode(mode) && pass != 1) {
    sys::Result<std::string> made = Fs().CreateTempFile(targetFolder + "\\", "_sy");
    if (made.ok())
      expansion = made.value;
    else
      WriteLog("No temporary file for the expansion in %s: %ld", targetFolder.c_str(), static_cast<long>(made.error));
  }
  // The expansion file goes unless it is kept for the restart or handed back to be run.
  bool keepExpansion = false;
  struct ExpansionCleanup {
    const std::string& path;
    const bool& keep;
    ~ExpansionCleanup() {
      if (!path.empty() && !keep) sys::os().files->DeleteFile(path);
    }
  } cleanup{expansion, keepExpansion};

  ItemFetch fetch(source, entry, pass);
  std::string prepared;
  bool fromSource = pass == 2 || IsSourceMode(mode);
  while (true) {
    if (fromSource) {
      prepared = source;
    } else {
      if (pass == 1 && !entry.downloadNeeded) return kItemOk;  // the cache copy is current
      int result = fetch.Transfer(prepared);
      if (result != kItemOk) return result;
    }
    bool cabinet = fromSource ? (pass == 2 && entry.cabSize != 0 && !IsSourceMode(mode)) : fetch.isCabinet();
    if (!cabinet) break;
    // Without its expansion file a cabinet cannot be expanded; it is never placed as it came.
    if (!expansion.empty() && ExpandCabinet(prepared, expansion)) {
      prepared = expansion;
      break;
    }
    if (Placement().installDirOnFat) return kItemOk;
    std::string text;
    AppendFormat(text, "%s: '%s'", LoadText(text::kFailedToExpandCabinet).c_str(), prepared.c_str());
    int answer = Ask(text);
    if (answer != -1) return answer;
    if (!fromSource) fetch.ForgetCacheEntry();
  }

  if (target.empty()) {  // a program to run: the caller needs the prepared file
    target = prepared;
    keepExpansion = prepared == expansion;
    if (prepared == fetch.downloaded()) fetch.KeepDownload();
    return kItemOk;
  }
  if (entry.protectedTarget && TargetNotOlder(prepared, target)) {
    if (IsSourceMode(mode)) Progress().totalDone += entry.size;
    return kItemOk;
  }
  PlaceRequest request{prepared, target, source, fromSource ? kSourceCopied : kSourceDownloaded,
                       !expansion.empty() && prepared == expansion};
  bool keepPrepared = false;
  int result = PlaceFile(request, entry, keepPrepared);
  keepExpansion = keepPrepared && prepared == expansion;
  fetch.ForgetCacheEntry();
  return result;
}

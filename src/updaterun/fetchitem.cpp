#include <cstdlib>
#include <optional>
#include <string_view>

#include "install/placefile.h"
#include "install/placementstate.h"
#include "session/log.h"
#include "session/textids.h"
#include "session/session.h"
#include "sys/clock.h"
#include "sys/hashing.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "transfer/fetchurl.h"
#include "transfer/sitereplies.h"
#include "transfer/transferstatistics.h"
#include "session/progressstate.h"
#include "updaterun/expandcabinet.h"
#include "filelist/fileversion.h"
#include "updaterun/installentries.h"
#include "updaterun/transferahead.h"

namespace {

constexpr int kMaxSizeRetries = 5;
constexpr std::string_view kSizesReply = "_ItemAttachmentSizes_\r\n";
constexpr uint32_t kReplyPeek = 256;
constexpr uint32_t kQuestion = mb::kAbortRetryIgnore | mb::kIconStop | mb::kSetForeground;

sys::Files& Fs() { return *sys::os().files; }

// The answer to an item's question: nothing when the user chose Retry. An item left out
// here was not updated, so the run ends with the notice that not all files have been
// updated, as for a file that could not be copied.
std::optional<ItemOutcome> Ask(const std::string& text, int silentAnswer = sys::answer::kIgnore) {
  int answer = LoggedMessageBox(ProgressWindow(), text, Session().captionText, kQuestion, silentAnswer);
  if (answer == sys::answer::kAbort) return ItemOutcome::Aborted;
  if (answer == sys::answer::kRetry) return std::nullopt;
  Results().copyIncomplete = true;
  return ItemOutcome::Ignored;
}

// The first bytes of a reply; empty when it cannot be read.
std::string PeekReply(const std::string& path) {
  sys::Result<sys::OwnedFile> file =
      Fs().OpenOwned(path, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!file.ok()) return "";
  std::string bytes(kReplyPeek, '\0');
  sys::Result<uint32_t> got = Fs().Read(file.value.get(), bytes.data(), kReplyPeek);
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

  // Ok with the transfer in downloaded(), or how the item ended.
  ItemOutcome Transfer() {
    if (!started_)  // once: retries start from here
      UpdateProgress([](ProgressState& progress) { progress.itemBase = progress.totalDone; });
    started_ = true;
    while (true) {
      // A new attempt counts its bytes from the item's start again.
      UpdateProgress([](ProgressState& progress) { progress.itemDone = 0; });
      url_ = ItemTransferUrl(source_, size_, cabSize_);
      DropDownload();
      FetchOrTakeAhead();
      std::optional<ItemOutcome> outcome = CheckTransfer();
      if (outcome == ItemOutcome::Ok) StartTransferAhead();  // the next item while this one is placed
      if (outcome) return *outcome;
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
  // The transfer, or the one started ahead for this URL, with the rate bookkeeping of
  // a run with the DEBUG option.
  void FetchOrTakeAhead() {
    bool rate = Session().debugStatistics;
    std::optional<uint32_t> aheadStart = TransferAheadStart(url_);
    if (rate) BeginTransferRateWindow(aheadStart.value_or(sys::os().clock->TickCount()));
    std::optional<AheadTransfer> ahead = aheadStart ? TakeTransferAhead() : std::nullopt;
    if (ahead) {
      downloaded_ = ahead->path;
      if (rate) EndTransferRateWindow(ahead->endTick);
      return;
    }
    FetchUrlToTempFile(url_, downloaded_);
    if (rate) EndTransferRateWindow(sys::os().clock->TickCount());
  }

  // The transfer's size against the expected one; nothing when it is to be done again.
  std::optional<ItemOutcome> CheckTransfer() {
    int32_t expected = cabSize_ > 0 ? cabSize_ : size_;
    sys::Result<sys::OwnedFile> file =
        Fs().OpenOwned(downloaded_, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
    if (!file.ok()) {
      std::string text;
      AppendFormat(text, "%s: '%s'\r\nError: %ld", LoadText(text::kFailedToOpenFile).c_str(), downloaded_.c_str(), static_cast<long>(file.error));
      return AskOrForget(text);
    }
    sys::Result<uint64_t> got = Fs().GetSize(file.value.get());
    file.value.Close();
    if (got.ok() && got.value == static_cast<uint64_t>(expected)) return CheckDigest();
    return WrongSize();
  }

  // A transfer of the right size whose bytes are not the ones the release was published
  // with was altered on the way or on the site: it is never expanded or placed, and a
  // silent run stops rather than install the rest of the release without it.
  std::optional<ItemOutcome> CheckDigest() {
    if (entry_.digest.empty()) return ItemOutcome::Ok;
    sys::Result<std::string> digest = sys::os().hashing->FileSha256(downloaded_);
    if (digest.ok() && sys::EqualsNoCase(digest.value, entry_.digest.str())) return ItemOutcome::Ok;
    WriteLog("Digest of %s: %s, the file list has %s", url_.c_str(), digest.ok() ? digest.value.c_str() : "none",
             entry_.digest.c_str());
    std::string text;
    AppendFormat(text, "%s: %s (%s).", LoadText(text::kFailedToDownload).c_str(), url_.c_str(),
                 LoadText(text::kItemDigestMismatch).c_str());
    return AskOrForget(text, sys::answer::kAbort);
  }

  std::optional<ItemOutcome> AskOrForget(const std::string& text, int silentAnswer = sys::answer::kIgnore) {
    std::optional<ItemOutcome> answer = Ask(text, silentAnswer);
    if (!answer) ForgetCacheEntry();
    return answer;
  }

  // A reply of the wrong size: the site's corrected sizes are asked for again, up to five
  // times; anything else is asked about.
  std::optional<ItemOutcome> WrongSize() {
    std::string reply = PeekReply(downloaded_);
    bool sizesReply = ReadSizesReply(reply, size_, cabSize_);
    if (sizesReply) isCabinet_ = cabSize_ > 0;
    if (sizesReply && sizeRetries_ < kMaxSizeRetries) {
      ++sizeRetries_;
      ForgetCacheEntry();
      return std::nullopt;
    }
    std::string text;
    AppendFormat(text, "%s: %s", LoadText(text::kFailedToDownload).c_str(), url_.c_str());
    if (IsSiteRefusal(reply))
      AppendFormat(text, " \r\n%s.", reply.substr(kSiteRefusal.size()).c_str());
    else
      AppendFormat(text, " (%s).", LoadText(text::kIncorrectByteCount).c_str());
    return AskOrForget(text);
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

// The "_sy" file a cabinet expands into, made in the target's folder on the passes that
// expand. It goes unless it is kept for the restart or handed back to be run.
class ExpansionFile {
 public:
  ExpansionFile(const std::string& targetFolder, int pass) {
    if (!IsInternetMode(Session().installMode) || pass == 1) return;
    sys::Result<std::string> made = Fs().CreateTempFile(targetFolder + "\\", "_sy");
    if (made.ok())
      path_ = made.value;
    else
      WriteLog("No temporary file for the expansion in %s: %ld", targetFolder.c_str(), static_cast<long>(made.error));
  }
  ~ExpansionFile() {
    if (!path_.empty() && !keep_) Fs().DeleteFile(path_);
  }
  ExpansionFile(const ExpansionFile&) = delete;
  ExpansionFile& operator=(const ExpansionFile&) = delete;

  const std::string& path() const { return path_; }
  bool Holds(const std::string& prepared) const { return !path_.empty() && prepared == path_; }
  void KeepIf(bool keep) { keep_ = keep; }

 private:
  std::string path_;
  bool keep_ = false;
};

// The file that is ready to be placed or run, or how the item ended before that.
struct Preparation {
  std::optional<ItemOutcome> ended;
  std::string prepared;
};

// The source itself or its transfer; a cabinet is expanded, and one that does not expand
// is asked about (Retry transfers it again).
Preparation Prepare(ItemFetch& fetch, const ExpansionFile& expansion, const std::string& source,
                    const FileEntry& entry, int pass) {
  int32_t mode = Session().installMode;
  bool fromSource = pass == 2 || IsSourceMode(mode);
  while (true) {
    std::string prepared = source;
    if (!fromSource) {
      if (pass == 1 && !entry.downloadNeeded) return {ItemOutcome::Ok, ""};  // the cache copy is current
      ItemOutcome transfer = fetch.Transfer();
      if (transfer != ItemOutcome::Ok) return {transfer, ""};
      prepared = fetch.downloaded();
    }
    bool cabinet = fromSource ? (pass == 2 && entry.cabSize != 0 && !IsSourceMode(mode)) : fetch.isCabinet();
    if (!cabinet) return {std::nullopt, prepared};
    // Without its expansion file a cabinet cannot be expanded; it is never placed as it came.
    if (!expansion.path().empty() && ExpandCabinet(prepared, expansion.path())) return {std::nullopt, expansion.path()};
    if (Placement().installDirOnFat) return {ItemOutcome::Ok, ""};
    std::string text;
    AppendFormat(text, "%s: '%s'", LoadText(text::kFailedToExpandCabinet).c_str(), prepared.c_str());
    if (std::optional<ItemOutcome> answer = Ask(text)) return {*answer, ""};
    if (!fromSource) fetch.ForgetCacheEntry();
  }
}

}  // namespace

std::string ItemTransferUrl(const std::string& source, int32_t size, int32_t cabSize) {
  std::string url;
  return AppendFormat(url, "%s&Size=%ld&CabSize=%ld", source.c_str(), static_cast<long>(size), static_cast<long>(cabSize));
}

FetchResult FetchItem(const std::string& source, const std::string& target, const std::string& targetFolder,
                      FileEntry& entry, int pass) {
  ExpansionFile expansion(targetFolder, pass);
  ItemFetch fetch(source, entry, pass);
  Preparation preparation = Prepare(fetch, expansion, source, entry, pass);
  if (preparation.ended) return {*preparation.ended, ""};
  const std::string& prepared = preparation.prepared;

  if (target.empty()) {  // a program to run: the caller needs the prepared file
    expansion.KeepIf(expansion.Holds(prepared));
    if (prepared == fetch.downloaded()) fetch.KeepDownload();
    return {ItemOutcome::Ok, prepared};
  }
  bool fromSource = pass == 2 || IsSourceMode(Session().installMode);
  if (entry.protectedTarget && TargetNotOlder(prepared, target)) {
    if (IsSourceMode(Session().installMode))
      UpdateProgress([&](ProgressState& progress) { progress.totalDone += entry.size; });
    return {ItemOutcome::Ok, ""};
  }
  PlaceRequest request{prepared, target, source, fromSource ? SourceKind::Copied : SourceKind::Downloaded,
                       expansion.Holds(prepared)};
  PlaceResult placed = PlaceFile(request, entry);
  expansion.KeepIf(placed.keepPrepared && expansion.Holds(prepared));
  fetch.ForgetCacheEntry();
  return {ItemOutcomeOf(placed.outcome), ""};
}

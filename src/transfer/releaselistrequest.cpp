#include "transfer/releaselistrequest.h"

#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"
#include "transfer/filelistrequest.h"
#include "transfer/requestmessages.h"
#include "transfer/sitereplies.h"
#include "transfer/sitesession.h"
#include "transfer/siteurls.h"

namespace {

constexpr std::size_t kReplyReadLimit = 1024;
constexpr uint32_t kDownloadFlags = 0;
constexpr const char* kReleaseListValue = "ReleaseList";

// The interactive request's outcome on the dialog, and the end of its own session.
class Outcome {
 public:
  Outcome(ReleaseListDialog* dialog, bool quiet) : dialog_(quiet ? nullptr : dialog), quiet_(quiet) {}
  ~Outcome() {
    if (!quiet_) CloseSiteSession();
  }
  bool quiet() const { return quiet_; }
  sys::WindowId window() const { return dialog_ != nullptr ? dialog_->Window() : 0; }
  void Status(const std::string& text) {
    if (dialog_ != nullptr) dialog_->SetStatusText(text);
  }
  void Releases(const std::vector<std::string>& releases) {
    if (dialog_ != nullptr) dialog_->ShowReleases(releases);
  }

 private:
  ReleaseListDialog* dialog_;
  bool quiet_;
};

void StoreReleaseList(const std::string& line) {
  Session().releaseList = line;
  sys::Registry* registry = sys::os().registry;
  if (registry == nullptr) return;
  std::string key(kSettingsKeyPath);
  if (registry->CreateKey(sys::Hive::CurrentUser, key) != sys::err::kSuccess) return;
  sys::SetString(sys::Hive::CurrentUser, key, kReleaseListValue, line);
}

}  // namespace

void RequestReleaseList(ReleaseListDialog* dialog, bool quiet) {
  sys::Internet* internet = sys::os().internet;
  if (internet == nullptr) return;
  const SessionSettings& session = Session();

  if (!quiet && !OpenSiteSession(TimestampUrl(session.webSite))) {
    if (dialog != nullptr) dialog->SetStatusText("");
    return;
  }
  Outcome outcome(dialog, quiet);

  std::string url = ReleaseListUrl(session.webSite, session.productLine);
  sys::CacheDownload download = internet->DownloadToCacheFile(url, kCachePathCapacity, kDownloadFlags, nullptr);
  if (!download.ok()) {
    if (outcome.quiet()) return;
    LoggedMessageBox(0, FailedDownloadText(url, download.result), session.captionText, mb::kSetForeground,
                     sys::answer::kOk);
    return;
  }

  std::string reply;
  if (!ReadFileStart(download.path, kReplyReadLimit, reply)) {
    if (outcome.quiet()) return;
    LoggedMessageBox(outcome.window(), FailedToOpenText(download.path), session.captionText, mb::kSetForeground,
                     sys::answer::kOk);
    return;
  }

  std::string line = FirstLineWithCr(reply);
  bool unchanged = sys::EqualsNoCase(line, session.releaseList.str());
  bool isReleaseList = !line.empty() && line[0] == '\t';
  if (isReleaseList && line.size() > kReleaseListMaxLength) {
    // More than the stored list can hold: cutting it would lose releases and its line end.
    WriteLog("The release list of %s is longer than %lu characters and was not taken", url.c_str(),
             static_cast<unsigned long>(kReleaseListMaxLength));
    isReleaseList = false;
  }
  if (unchanged || !isReleaseList) {
    outcome.Status("");
    return;
  }

  outcome.Releases(SplitReleaseList(line));
  outcome.Status(LoadText(text::kNewReleasesAvailable));
  StoreReleaseList(line);
}

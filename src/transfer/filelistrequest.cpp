#include "transfer/filelistrequest.h"

#include "session/log.h"
#include "session/session.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "transfer/listsignature.h"
#include "transfer/requestmessages.h"
#include "transfer/sitedownloadlistener.h"
#include "transfer/sitereplies.h"
#include "transfer/sitesession.h"
#include "transfer/siteurls.h"
#include "session/progressstate.h"
#include "session/textids.h"

namespace {

// The site is asked for its time stamp this often before the request gives up.
constexpr int kTimestampAttempts = 11;
// A time stamp reply is read this far; anything longer is not one.
constexpr std::size_t kTimestampReadLimit = 30;
// The reserved argument of the downloads: the time stamp is asked with 16, the list with 0.
constexpr uint32_t kTimestampDownloadFlags = 16;
constexpr uint32_t kListDownloadFlags = 0;

// The run's messages: owned by the progress window, under the session's caption.
void ShowRunMessage(const std::string& message) {
  LoggedMessageBox(ProgressWindow(), message, Session().captionText, mb::kSetForeground, sys::answer::kOk);
}

// The long diagnosis of a time stamp that could not be fetched at all: usually a wrong
// site address or wrong credentials, so the run goes back to the settings.
void ReportUnreachableSite(const std::string& url, int32_t result) {
  const SessionSettings& session = Session();
  std::string message;
  AppendFormat(message, "%s:\r\n\r\nURL:\t\t%s\r\n", LoadText(text::kInternetDownloadFailed).c_str(), url.c_str());
  AppendFormat(message, "%s:\t%s\r\n", LoadText(text::kLabelWebSite).c_str(), session.webSite.c_str());
  AppendFormat(message, "%s:\t%s\r\n", LoadText(text::kLabelUserName).c_str(), session.userName.c_str());
  AppendFormat(message, "%s:\t%s\r\n", LoadText(text::kLabelDomain).c_str(), session.domain.c_str());
  AppendFormat(message, "%s:\t\t0x%lx\r\n\r\n", LoadText(text::kError).c_str(),
               static_cast<unsigned long>(static_cast<uint32_t>(result)));
  AppendFormat(message, "%s", LoadText(text::kCheckSiteAndCredentials).c_str());
  ShowRunMessage(message);
  if (!session.silent) Results().returnToSettings = true;
}

// Asks for the time stamp until a proper one arrives; false after a failure or a cancel.
bool FetchServerTimestamp(sys::Internet& internet, const std::string& url) {
  SiteState& site = Site();
  int32_t lastResult = sys::hr::kOk;
  for (int attempt = 0;; ++attempt) {
    sys::CacheDownload download =
        internet.DownloadToCacheFile(url, kCachePathCapacity, kTimestampDownloadFlags, site.callback.get());
    lastResult = download.result;
    if (cancelRequested.load() != 0) return false;
    if (!download.ok()) {
      ReportUnreachableSite(url, download.result);
      CloseSiteSession();
      return false;
    }
    std::string reply;
    if (!ReadFileStart(download.path, kTimestampReadLimit, reply)) {
      ShowRunMessage(FailedToOpenText(download.path));
      return false;
    }
    if (IsServerTimestamp(reply)) {
      site.listTimestamp = reply;
      return true;
    }
    if (attempt == kTimestampAttempts - 1) {
      WriteLog("The site answered the time stamp request with %lu bytes", static_cast<unsigned long>(reply.size()));
      ShowRunMessage(FailedDownloadText(url, lastResult));
      return false;
    }
  }
}

}  // namespace

bool RequestFileList(std::string& listPath) {
  listPath.clear();
  sys::Internet* internet = sys::os().internet;
  if (internet == nullptr) return false;
  SiteState& site = Site();
  site.callback = std::make_unique<SiteDownloadListener>();
  site.listTimestamp.clear();

  const SessionSettings& session = Session();
  std::string timestampUrl = TimestampUrl(session.webSite);
  if (!OpenSiteSession(timestampUrl)) {
    CloseSiteSession();
    return false;
  }
  if (!FetchServerTimestamp(*internet, timestampUrl)) return false;

  std::string listUrl = FileListUrl(session);
  UpdateProgress([](ProgressState& progress) { progress.listDownloadActive = true; });
  sys::CacheDownload download =
      internet->DownloadToCacheFile(listUrl, kCachePathCapacity, kListDownloadFlags, site.callback.get());
  UpdateProgress([](ProgressState& progress) { progress.listDownloadActive = false; });

  if (cancelRequested.load() != 0) return false;
  if (!download.ok()) {
    ShowRunMessage(FailedDownloadText(listUrl, download.result));
    return false;
  }
  // The signature covers the bytes as the site sent them, before the last line is completed.
  if (!CheckListSignature(*internet, download.path)) return false;
  listPath = download.path;
  TerminateLastLine(listPath);
  return true;
}

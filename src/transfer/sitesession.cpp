// The site session and its authentication loop.
#include "transfer/sitesession.h"

#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "transfer/interneterror.h"
#include "transfer/sitedownloadlistener.h"

namespace {

SiteState state;

constexpr uint32_t kStatusUnauthorized = 401;
constexpr uint32_t kStatusProxyAuthentication = 407;
constexpr uint32_t kOpenFlags = sys::inet::kFlagReload | sys::inet::kFlagKeepConnection;
constexpr uint32_t kPasswordDialogFlags =
    sys::inet::kDialogFilterForErrors | sys::inet::kDialogChangeOptions | sys::inet::kDialogGenerateData;
// The option buffer lengths the site's credentials are handed over with.
constexpr uint32_t kDomainUserLength = 256;
constexpr uint32_t kUserLength = 50;
constexpr uint32_t kPasswordLength = 50;

// Hands the session's credentials to the request; an empty password becomes the
// placeholder first, in the session itself.
void GiveCredentials(sys::Internet& internet, sys::InternetHandle request) {
  SessionSettings& session = Session();
  uint32_t userLength = session.domain.empty() ? kUserLength : kDomainUserLength;
  internet.SetUserName(request, SiteUserName(session.domain, session.userName), userLength);
  if (session.password.empty()) session.password = kPlaceholderPassword;
  internet.SetPassword(request, session.password, kPasswordLength);
}

// The system's password dialog; true when the user asked to send the request again.
// A silent run shows nothing, so it takes the refusal as the dialog's Cancel would.
bool UserRetriesWithDialog(sys::Internet& internet, sys::InternetHandle request, const std::string& url) {
  if (Session().silent) {
    WriteLog("The site refused the credentials for %s", url.c_str());
    return false;
  }
  return internet.ErrorDialog(request, sys::inet::kIncorrectPassword, kPasswordDialogFlags) == sys::inet::kForceRetry;
}

}  // namespace

SiteState& Site() { return state; }

void ResetSiteState() { state = SiteState{}; }

std::string SiteUserName(std::string_view domain, std::string_view userName) {
  if (domain.empty()) return std::string(userName);
  std::string name(domain);
  name += '\\';
  name += userName;
  return name;
}

bool OpenSiteSession(const std::string& url) {
  sys::Internet* internet = sys::os().internet;
  if (internet == nullptr) return false;

  auto session = internet->OpenSession(std::string(kSiteUserAgent));
  if (!session.ok()) {
    ReportInternetError(session.error, "InternetOpen");
    return false;
  }
  state.session = session.value;  // an older session is replaced, not closed

  auto request = internet->OpenUrl(state.session, url, kOpenFlags, "");
  if (!request.ok()) {
    ReportInternetError(request.error, "InternetOpenUrl");
    return false;
  }
  state.url = request.value;

  bool requestSent = true;  // opening the URL sent it
  bool credentialsPending = true;
  for (;;) {
    if (!requestSent) internet->SendRequest(state.url);
    auto status = internet->QueryStatusCode(state.url);
    if (!status.ok()) {
      ReportInternetError(status.error, "HttpQueryInfo");
      return false;
    }
    if (status.value == kStatusUnauthorized) {
      if (credentialsPending) {
        GiveCredentials(*internet, state.url);
        credentialsPending = false;
        requestSent = false;
        continue;
      }
      // The stored credentials were refused: the system asks the user.
      if (!UserRetriesWithDialog(*internet, state.url, url)) return false;
      state.credentialsPrompted = true;
      requestSent = false;
      continue;
    }
    if (status.value == kStatusProxyAuthentication) {
      if (!UserRetriesWithDialog(*internet, state.url, url)) return false;
      requestSent = false;
      continue;
    }
    return true;  // every other status, 404 and 500 too: the request's own reply decides
  }
}

void CloseSiteSession() {
  sys::Internet* internet = sys::os().internet;
  if (state.url) {
    if (internet != nullptr) internet->CloseHandle(state.url);
    state.url = {};
  }
  if (state.session) {
    if (internet != nullptr) internet->CloseHandle(state.session);
    state.session = {};
  }
}

void ReleaseDownloadCallback() { state.callback.reset(); }

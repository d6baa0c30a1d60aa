#pragma once
// The authenticated session with the update site: opened on a URL, answered with the
// session's credentials when the site asks, kept open for the whole run.
#include <memory>
#include <string>
#include <string_view>

#include "sys/internet.h"

class SiteDownloadListener;

// The user agent the site sees.
constexpr std::string_view kSiteUserAgent = "Mozilla/4.0 (compatible; MSIE 7.0b; Windows NT 6.0)";
// Stands in for an empty session password, and is stored back into the session, so the
// settings saved after the run carry it.
constexpr std::string_view kPlaceholderPassword = "px";

// The site session of the process.
struct SiteState {
  sys::InternetHandle session;
  sys::InternetHandle url;
  // The user confirmed the system's password dialog: from now on downloads let the
  // system ask instead of answering with the stored credentials. Never cleared.
  bool credentialsPrompted = false;
  // Made by the file-list request and handed to every cache download of that run.
  std::unique_ptr<SiteDownloadListener> callback;
  // The server time stamp of the list, "DD-MM-YYYY hh:mm:ss" (at most 30 characters).
  std::string listTimestamp;
};

SiteState& Site();
// Forgets the handles without closing them, drops the callback and clears the marks
// (tests and a new process).
void ResetSiteState();

// Opens the session and `url`, answering 401 and 407 until the site lets us in. True
// when the URL was opened and did not end in a refused authentication.
bool OpenSiteSession(const std::string& url);
void CloseSiteSession();
// Lets go of the file-list request's download callback (the driver, at exit).
void ReleaseDownloadCallback();

// The user name as the site expects it: "domain\user" with a domain, else the user.
std::string SiteUserName(std::string_view domain, std::string_view userName);

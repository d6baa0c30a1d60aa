#pragma once
// The site's answers to the installer's requests below /docs/, on top of the HTTP
// server: authentication, faults, and the pages of the update site.
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "faults.h"
#include "registrationlog.h"
#include "siteindex.h"
#include "users.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace updatesite {

struct SiteConfig {
  std::filesystem::path root;
  std::optional<std::vector<UserEntry>> users;  // nothing: no authentication
  std::filesystem::path faultFile;              // empty: no faults
  std::filesystem::path accessLog;              // empty: no access log
};

class SiteHandler {
 public:
  explicit SiteHandler(SiteConfig config);
  // Routes every GET to this handler and logs each request when asked to.
  void Attach(httplib::Server& server);

  void Handle(const httplib::Request& request, httplib::Response& response);

 private:
  void Dispatch(const std::string& page, const Query& query, const std::string& user,
                const httplib::Request& request, httplib::Response& response, const std::optional<Fault>& fault);
  void AnswerFileList(const Query& query, const std::string& user, const httplib::Request& request,
                      httplib::Response& response, const std::optional<Fault>& fault);
  void AnswerItem(const Query& query, httplib::Response& response, const std::optional<Fault>& fault);
  void LogAccess(const httplib::Request& request, const httplib::Response& response);

  SiteConfig config_;
  SiteIndex index_;
  RegistrationLog registrations_;
  std::unique_ptr<FaultBook> faults_;
  std::mutex accessMutex_;
};

}  // namespace updatesite

#include "sitehandler.h"

#include <strings.h>

#include <httplib.h>

#include <charconv>
#include <chrono>
#include <ctime>
#include <fstream>
#include <thread>

#include "listdate.h"
#include "registrationlog.h"
#include "replies.h"

namespace updatesite {
namespace {

constexpr char kRealm[] = "Basic realm=\"Plandrix update site\"";
constexpr char kText[] = "text/plain";
constexpr char kHtml[] = "text/html";
constexpr size_t kChunk = 64 * 1024;
constexpr auto kSlowTick = std::chrono::milliseconds(100);
constexpr char kFaultPage[] =
    "<HTML><HEAD><TITLE>Server Error</TITLE></HEAD><BODY><H1>Server Error in '/docs' Application.</H1>"
    "<P>Runtime Error</P></BODY></HTML>\r\n";

bool SameText(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

std::optional<int64_t> WholeNumber(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec != std::errc{} || end != text->data() + text->size()) return std::nullopt;
  return value;
}

// Where a reply's bytes come from: a text made here, or a published file.
struct Body {
  std::shared_ptr<const std::string> text;
  std::filesystem::path file;
  uint64_t size = 0;
};

// Sends a body, shaped by a fault: cut short, dropped midway, or throttled. A client
// that goes away makes the sink refuse, which ends the transfer and frees the file.
void SendBody(httplib::Response& response, Body body, const char* type, const std::optional<Fault>& fault) {
  uint64_t declared = body.size, sendLimit = body.size, rate = 0;
  if (fault && fault->kind == FaultKind::Short) declared = sendLimit = std::min<uint64_t>(body.size, fault->first);
  if (fault && fault->kind == FaultKind::Cut) sendLimit = std::min<uint64_t>(body.size, fault->first);
  if (fault && fault->kind == FaultKind::Slow) rate = static_cast<uint64_t>(fault->first);
  if (!body.file.empty() || declared != sendLimit || rate != 0 || declared != body.size) {
    auto stream = std::make_shared<std::ifstream>();
    if (!body.file.empty()) stream->open(body.file, std::ios::binary);
    response.set_content_provider(
        declared, type,
        [body, stream, sendLimit, rate](size_t offset, size_t length, httplib::DataSink& sink) {
          if (offset >= sendLimit) return false;  // the announced rest never comes
          size_t chunk = std::min<uint64_t>({length, kChunk, sendLimit - offset});
          if (rate != 0) {
            chunk = std::min<uint64_t>(chunk, std::max<uint64_t>(1, rate / 10));
            std::this_thread::sleep_for(kSlowTick);
          }
          std::string buffer;
          if (body.text) {
            buffer = body.text->substr(offset, chunk);
          } else {
            buffer.resize(chunk);
            stream->seekg(static_cast<std::streamoff>(offset));
            if (!stream->read(buffer.data(), static_cast<std::streamsize>(chunk))) return false;
          }
          return sink.write(buffer.data(), buffer.size());
        });
    return;
  }
  response.set_content(*body.text, type);
}

void SendText(httplib::Response& response, std::string text, const std::optional<Fault>& fault,
              const char* type = kText) {
  Body body;
  body.size = text.size();
  body.text = std::make_shared<const std::string>(std::move(text));
  SendBody(response, std::move(body), type, fault);
}

void Challenge(httplib::Response& response) {
  response.status = 401;
  response.set_header("WWW-Authenticate", kRealm);
  response.set_content(HtmlPage("401 Unauthorized", "Credentials are required for this site."), kHtml);
}

bool IsPublicPage(const std::string& page) { return SameText(page, "SysHelp.aspx") || SameText(page, "DocView.aspx"); }

// Faults that replace the answer altogether; the ones that shape a body pass on.
bool AnswerFault(httplib::Response& response, const Fault& fault) {
  switch (fault.kind) {
    case FaultKind::Html: response.set_content(kFaultPage, kHtml); return true;
    case FaultKind::Error: response.set_content(ErrorReply(fault.text), kText); return true;
    case FaultKind::Status:
      response.status = static_cast<int>(fault.first);
      response.set_content(HtmlPage("Status " + std::to_string(fault.first), "Injected by the site's fault file."),
                           kHtml);
      return true;
    case FaultKind::Sizes: response.set_content(SizesReply(fault.first, fault.second), kText); return true;
    default: return false;
  }
}

ListRequest ListRequestOf(const Query& query) {
  ListRequest list;
  list.assortment = query.Get("AssortmentCode").value_or("");
  list.release = query.Get("Release").value_or("");
  list.help = query.Get("help").value_or("0") == "1";
  list.demo = query.Get("Demo").value_or("0") == "1";
  return list;
}

}  // namespace

SiteHandler::SiteHandler(SiteConfig config)
    : config_(std::move(config)), index_(config_.root), registrations_(config_.root / "registrations.log") {
  if (!config_.faultFile.empty()) faults_ = std::make_unique<FaultBook>(config_.faultFile);
}

void SiteHandler::Attach(httplib::Server& server) {
  server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) { Handle(request, response); });
  if (!config_.accessLog.empty())
    server.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      LogAccess(request, response);
    });
}

void SiteHandler::LogAccess(const httplib::Request& request, const httplib::Response& response) {
  std::string line = site::ListDateText(std::time(nullptr)) + "\t" + request.remote_addr + "\t" +
                     std::to_string(response.status) + "\t" + PlainLogText(request.target);
  if (request.has_header("Range")) line += "\tRange: " + PlainLogText(request.get_header_value("Range"));
  line += "\n";
  std::lock_guard lock(accessMutex_);
  std::ofstream out(config_.accessLog, std::ios::binary | std::ios::app);
  out << line;
}

void SiteHandler::Handle(const httplib::Request& request, httplib::Response& response) {
  if (strncasecmp(request.path.c_str(), "/docs/", 6) != 0) {
    response.status = 404;
    response.set_content(HtmlPage("404 Not Found", "There is no such page on this site."), kHtml);
    return;
  }
  // Replies change from one request to the next (a new time stamp, a new release); the
  // installer's downloads may keep a copy, but must ask again each time.
  response.set_header("Cache-Control", "no-cache");
  Query query = ParseQuery(request.target);
  if (!query.ok()) {
    response.status = 400;
    response.set_content(ErrorReply("Request refused: " + query.error), kText);
    return;
  }
  std::string page = PageOf(request.path);
  if (faults_ && faults_->Take(page, query, true)) return Challenge(response);

  std::string user;
  if (config_.users && !IsPublicPage(page)) {
    auto authorized = AuthorizedUser(*config_.users, request.get_header_value("Authorization"));
    if (!authorized) return Challenge(response);
    user = *authorized;
  }
  std::optional<Fault> fault = faults_ ? faults_->Take(page, query, false) : std::nullopt;
  if (fault && AnswerFault(response, *fault)) return;
  // The server cuts a reply to the asked range after the handler; a site that knows no
  // ranges is one whose request never had any.
  if (fault && fault->kind == FaultKind::NoRange) const_cast<httplib::Request&>(request).ranges.clear();
  Dispatch(page, query, user, request, response, fault);
}

void SiteHandler::Dispatch(const std::string& page, const Query& query, const std::string& user,
                           const httplib::Request& request, httplib::Response& response,
                           const std::optional<Fault>& fault) {
  if (SameText(page, "LogItemAttachUpDnLoad.aspx")) {
    std::string action = query.Get("Action").value_or("");
    if (action == "10") return SendText(response, TimestampReply(std::time(nullptr)), fault);
    if (action == "3") {
      auto releases = index_.Releases(query.Get("AssortmentCode").value_or(""));
      if (!releases) return SendText(response, ErrorReply("Unknown assortment"), fault);
      return SendText(response, ReleaseListReply(*releases), fault);
    }
    if (action == "1") return AnswerFileList(query, user, request, response, fault);
    if (action == "11") {  // the list's signature: no registration, as it follows a list request
      std::string error;
      auto signature = index_.ListSignature(ListRequestOf(query), error);
      return SendText(response, signature ? std::move(*signature) : ErrorReply(error), fault);
    }
    return SendText(response, ErrorReply("Unknown action"), fault);
  }
  if (SameText(page, "LogItemAttachment.aspx")) return AnswerItem(query, response, fault);
  if (SameText(page, "SysHelp.aspx")) {
    std::string text = "Topic " + query.Get("Topic").value_or("(release notes)") + ", filter " +
                       query.Get("TopicFilter").value_or("") + ", language " + query.Get("Language").value_or("");
    return SendText(response, HtmlPage("Plandrix help", text), fault, kHtml);
  }
  if (SameText(page, "DocView.aspx"))
    return SendText(response, HtmlPage("Plandrix document", "Document " + query.Get("DocumentID").value_or("")),
                    fault, kHtml);
  response.status = 404;
  response.set_content(HtmlPage("404 Not Found", "There is no such page on this site."), kHtml);
}

void SiteHandler::AnswerFileList(const Query& query, const std::string& user, const httplib::Request& request,
                                 httplib::Response& response, const std::optional<Fault>& fault) {
  ListRequest list = ListRequestOf(query);

  std::vector<std::pair<std::string, std::string>> record = {{"user", user}, {"from", request.remote_addr}};
  for (const char* key : {"AssortmentCode", "Release", "help", "Demo", "Language", "Country", "ContactName", "Email",
                          "Phone", "JobTitle", "Title", "Gender"})
    if (auto value = query.Get(key)) record.emplace_back(key, *value);
  registrations_.Append(record);

  std::string error;
  auto text = index_.FileList(list, error);
  SendText(response, text ? std::move(*text) : ErrorReply(error), fault);
}

void SiteHandler::AnswerItem(const Query& query, httplib::Response& response, const std::optional<Fault>& fault) {
  std::string error;
  auto item = index_.FindItem(query.Get("Release").value_or(""), query.Get("Item").value_or(""), error);
  if (!item) return SendText(response, ErrorReply(error), fault);
  auto size = query.Get("Size"), cabSize = query.Get("CabSize");
  if ((size || cabSize) && (WholeNumber(size) != item->size || WholeNumber(cabSize) != item->cabSize))
    return SendText(response, SizesReply(item->size, item->cabSize), fault);

  std::error_code ec;
  Body body;
  body.file = item->path;
  body.size = std::filesystem::file_size(item->path, ec);
  if (ec) return SendText(response, ErrorReply("Item " + query.Get("Item").value_or("") + " cannot be read"), fault);
  SendBody(response, std::move(body), "application/octet-stream", fault);
}

}  // namespace updatesite

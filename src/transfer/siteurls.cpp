#include "transfer/siteurls.h"

#include "session/log.h"
#include "productline/productline.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/paths.h"

namespace {

constexpr std::string_view kAllLanguages = "  ";

// The lines whose lists come in languages and countries.
bool IsMultilingualLine(std::string_view productLine) {
  return IsLineOneOf(productLine,
                     {line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE, line::kNHVW, line::kQF2003});
}

void AppendKey(std::string& url, std::string_view key, std::string_view value) {
  url += '&';
  url += key;
  url += '=';
  url += value;
}

}  // namespace

std::string TimestampUrl(std::string_view webSite) {
  return std::string(webSite) + "/docs/LogItemAttachUpDnLoad.aspx?Action=10";
}

std::string ReleaseListUrl(std::string_view webSite, std::string_view productLine) {
  return std::string(webSite) +
         "/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=" + AssortmentCode(productLine);
}

std::string ItemUrl(std::string_view webSite, std::string_view itemCode, std::string_view itemRelease) {
  std::string url(webSite);
  url += "/docs/LogItemAttachment.aspx?Item=";
  url += itemCode;
  url += "&Release=";
  url += itemRelease;
  url += "&Action=2";
  return url;
}

std::string ReleaseQueryValue(std::string_view release) {
  std::string value(release);
  std::size_t plus = value.find('+');
  if (plus != std::string::npos) value.replace(plus, 1, "%2B");
  return value;
}

std::string GenderQueryValue(std::string_view gender) {
  if (gender.empty()) return {};  // never "M" because a string-table entry is missing
  if (sys::EqualsNoCase(gender, LoadText(text::kGenderMale))) return "M";
  if (sys::EqualsNoCase(gender, LoadText(text::kGenderFemale))) return "F";
  return {};
}

bool SendsLanguageKeys(std::string_view productLine, int32_t mode, std::string_view language) {
  return IsInternetMode(mode) && IsMultilingualLine(productLine) && !sys::EqualsNoCase(language, kAllLanguages);
}

namespace {

// A request about one release's list: the action, then the keys that choose its records.
std::string ListRequestUrl(const SessionSettings& session, const char* action) {
  std::string url(session.webSite.str());
  url += "/docs/LogItemAttachUpDnLoad.aspx?Action=";
  url += action;
  AppendKey(url, "AssortmentCode", AssortmentCode(session.productLine));
  AppendKey(url, "Release", ReleaseQueryValue(session.release));
  AppendKey(url, "help", session.help != 0 ? "1" : "0");
  if (DemoChoiceOffered(session.productLine, session.installMode)) AppendKey(url, "Demo", session.demo != 0 ? "1" : "0");
  return url;
}

}  // namespace

std::string FileListUrl(const SessionSettings& session) {
  std::string url = ListRequestUrl(session, "1&Install=0");
  if (SendsLanguageKeys(session.productLine, session.installMode, session.language)) {
    AppendKey(url, "Language", session.language);
    AppendKey(url, "Country", session.country);
  }
  AppendKey(url, "ContactName", session.contact);
  AppendKey(url, "Email", session.email);
  AppendKey(url, "Phone", session.phone);
  AppendKey(url, "JobTitle", session.jobTitle);
  AppendKey(url, "Title", session.title);
  AppendKey(url, "Gender", GenderQueryValue(session.gender));
  return url;
}

std::string ListSignatureUrl(const SessionSettings& session) { return ListRequestUrl(session, "11"); }

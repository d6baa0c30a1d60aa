#pragma once
// The addresses of the site's requests. Values go in as they stand (the site expects
// them unescaped), except the "+" of a release.
#include <cstdint>
#include <string>
#include <string_view>

struct SessionSettings;

std::string TimestampUrl(std::string_view webSite);
std::string ReleaseListUrl(std::string_view webSite, std::string_view productLine);
// The file list of the session's release with the registration data; the keys depend on
// the product line and the install mode.
std::string FileListUrl(const SessionSettings& session);
// The publisher's signature of that list: the keys that choose the list's text.
std::string ListSignatureUrl(const SessionSettings& session);
// One item of the list; the item installation appends its sizes.
std::string ItemUrl(std::string_view webSite, std::string_view itemCode, std::string_view itemRelease);

// The release with its first "+" written as "%2B".
std::string ReleaseQueryValue(std::string_view release);
// "M", "F" or empty, by the session's gender text against the strings "Male" and "Female".
std::string GenderQueryValue(std::string_view gender);

// Whether the file-list request carries the "Language" and "Country" keys.
bool SendsLanguageKeys(std::string_view productLine, int32_t mode, std::string_view language);

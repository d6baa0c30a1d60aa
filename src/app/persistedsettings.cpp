#include "app/persistedsettings.h"

#include "session/log.h"
#include "productline/productline.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/os.h"
#include "sys/registry_helpers.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Molvex\\e-Halomir Plandrix";
constexpr const char* kDefaultUserKey = ".DEFAULT\\Software\\Molvex\\Molvex for Windows\\4.0";
constexpr std::size_t kLanguageCapacity = 8;

void PutString(const char* name, const std::string& value) {
  sys::SetString(sys::Hive::CurrentUser, kSettingsKey, name, value);
}
void PutDword(const char* name, uint32_t value) { sys::SetDword(sys::Hive::CurrentUser, kSettingsKey, name, value); }

}  // namespace

void SavePersistedSettings() {
  if (sys::os().registry->CreateKey(sys::Hive::CurrentUser, kSettingsKey) != 0) return;
  const SessionSettings& s = Session();
  const std::string& line = s.productLine.str();
  int32_t mode = s.installMode;
  if (IsInternetMode(mode)) {
    const std::pair<const char*, const std::string*> fields[] = {
        {"Domain", &s.domain.str()}, {"UserName", &s.userName.str()}, {"Contact", &s.contact.str()},
        {"Email", &s.email.str()},   {"Title", &s.title.str()},       {"Gender", &s.gender.str()},
        {"Phone", &s.phone.str()},   {"JobTitle", &s.jobTitle.str()}};
    for (const auto& [name, value] : fields)
      if (!value->empty()) PutString(name, *value);
    PutDword("UpdateMode", s.updateMode);
  }
  if (mode == kInternetWorkstation || mode == kCdWorkstation) {
    PutString("WebSite1", s.webSite);
    if (!IsTallyoLine(line)) {
      PutString("InstallDir", s.installDir);
      PutString("ProductLine", s.productLine);
    }
    PutString("Release", s.release);
    if (IsLine(line, line::kFYNDRA) && !s.virtualDir.empty())
      PutString("HalomirVDir", s.virtualDir);
    else if (IsLine(line, line::kHalomirNet) && !s.virtualDir.empty())
      PutString("HalomirNETVDir", s.virtualDir);
  }
  if (mode == kCdWorkstation) PutString("CDPath", s.netDir);
  if (DemoChoiceOffered(line, mode)) PutDword("Demo", static_cast<uint32_t>(s.demo));
  if (HelpChoiceOffered(line, mode)) PutDword("Help", static_cast<uint32_t>(s.help));
  if (IsInternetMode(mode) && IsLineOneOf(line, {line::kQS2000, line::kQS2003E, line::kQS2003SE})) {
    PutString("Language", s.language);
    PutString("Country", s.country);
  }
  if (s.websiteId > 0) PutDword("WebsiteID", static_cast<uint32_t>(s.websiteId));
}

void WriteInstallationTime() {
  const std::string& line = Session().productLine.str();
  if (CreateMachineKey(line) != 0) return;
  sys::SetString(sys::Hive::LocalMachine, MachineKeyPath(line), "InstallationTime", LocalTimeText());
}

void SetDefaultUserLanguage() {
  if (sys::os().registry->CreateKey(sys::Hive::Users, kDefaultUserKey) != 0) return;
  std::optional<std::string> language = sys::QueryString(sys::Hive::Users, kDefaultUserKey, "Language");
  if (language && !language->empty()) return;
  sys::SetString(sys::Hive::Users, kDefaultUserKey, "Language",
                 LoadText(text::kBuildLanguage).substr(0, kLanguageCapacity - 1));
  sys::SetString(sys::Hive::Users, kDefaultUserKey, "Data Language",
                 LoadText(text::kDefaultDataLanguage).substr(0, kLanguageCapacity - 1));
}

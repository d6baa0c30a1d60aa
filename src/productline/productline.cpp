// The per-line table and the predicates that read it.
#include "productline/productline.h"

#include <array>

#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

struct LineCode {
  std::string_view line;
  std::string_view code;
};

// Every line not named here is T0; QS2000 is decided by the build (below).
constexpr std::array<LineCode, 17> kDistributionCodes{{
    {line::kQS2003E, "T0"},     {line::kQS2003, "T0"},      {line::kQS2003SE, "T12"}, {line::kQK2000, "T10"},
    {line::kQK2003, "T10"},     {line::kQF2003, "T1"},      {line::kNHVW, "T2"},      {line::kWENZLORPRO, "T3"},
    {line::kQTRAX, "T4"},       {line::kQW2000, "T5"},      {line::kPINDRELV8, "T6"}, {line::kFYNDRA, "T8"},
    {line::kDORVAL5, "T9"},     {line::kKS, "T11"},         {line::kHalomirNet, "T15"}, {line::kFNS, "T16"}, {line::kFNC, "T17"},
}};

struct LineTopic {
  std::string_view line;
  std::string_view topicPath;
};

constexpr std::string_view kDefaultTopicPath = "/docs/SysHelp.aspx?Topic=Plandrix_T0_NL.exe&TopicFilter=";
constexpr std::array<LineTopic, 6> kHelpTopics{{
    {line::kFYNDRA, "/docs/SysHelp.aspx?Topic=HalomirPlandrix.exe&TopicFilter="},
    {line::kHalomirNet, "/docs/SysHelp.aspx?Topic=HalomirPlandrix.exe&TopicFilter="},
    {line::kDORVAL5, "/docs/SysHelp.aspx?Topic=Plandrix_T9.exe&TopicFilter="},
    {line::kKS, "/docs/SysHelp.aspx?Topic=Plandrix_T11_DE.exe&TopicFilter="},
    {line::kFNS, "/docs/SysHelp.aspx?Topic=Plandrix_T16_AE.exe&TopicFilter="},
    {line::kFNC, "/docs/SysHelp.aspx?Topic=Plandrix_T17_AE.exe&TopicFilter="},
}};
constexpr std::string_view kReleaseNotesPath = "/docs/SysHelp.aspx?action=1&TopicFilter=";

void OpenOnBuiltInSite(sys::WindowId owner, const std::string& url) {
  sys::Processes* processes = sys::os().processes;
  if (processes == nullptr) return;
  sys::Error error = processes->ShellExecute(owner, "open", url, "", "", sys::show::kNormal);
  if (error != sys::err::kSuccess) WriteLog("Cannot open %s (%u)", url.c_str(), error);
}

}  // namespace

bool IsLine(std::string_view productLine, std::string_view code) { return sys::EqualsNoCase(productLine, code); }

bool IsLineOneOf(std::string_view productLine, std::initializer_list<std::string_view> codes) {
  for (std::string_view code : codes) {
    if (IsLine(productLine, code)) return true;
  }
  return false;
}

bool IsWebLine(std::string_view productLine) { return IsLineOneOf(productLine, {line::kFYNDRA, line::kHalomirNet}); }

bool IsTallyoLine(std::string_view productLine) { return IsLineOneOf(productLine, {line::kTallyo, line::kQBA}); }

bool MakesStandardShortcuts(std::string_view productLine) { return !IsTallyoLine(productLine); }

bool WritesUninstallEntry(std::string_view productLine) {
  return !IsTallyoLine(productLine) && !IsLineOneOf(productLine, {line::kFNS, line::kFNC});
}

bool IsConvertibleLine(std::string_view productLine) {
  return IsLineOneOf(productLine, {line::kNHVW, line::kWENZLORPRO});
}

std::string_view ProgramFolderName(std::string_view productLine) {
  return IsLine(productLine, line::kDORVAL5) ? "sis" : "bin";
}

std::string DistributionCode(std::string_view productLine, std::string_view distributionName) {
  if (IsLine(productLine, line::kQS2000)) return distributionName == kSpanishDesktopDistribution ? "T7" : "T0";
  for (const LineCode& entry : kDistributionCodes) {
    if (IsLine(productLine, entry.line)) return std::string(entry.code);
  }
  return "T0";
}

std::string WebProductAddress(std::string_view computerName, std::string_view virtualDir) {
  return "http://" + std::string(computerName) + "/" + std::string(virtualDir.empty() ? "Halomir" : virtualDir);
}

std::string DistributionCode(std::string_view productLine) {
  return DistributionCode(productLine, LoadText(text::kDistributionFileName));
}

std::string MachineKeyPath(std::string_view productLine) {
  if (IsLine(productLine, line::kDORVAL5)) return std::string(kSpanishMachineKey);
  if (IsLine(productLine, line::kKS)) return std::string(kPayrollMachineKey);
  return std::string(kDesktopMachineKey);
}

sys::Error CreateMachineKey(std::string_view productLine) {
  sys::Registry* registry = sys::os().registry;
  if (registry == nullptr) return sys::err::kInvalidHandle;
  std::string path = MachineKeyPath(productLine);
  if (IsLine(productLine, line::kDORVAL5)) {
    return registry->CreateKeyWithDescriptor(sys::Hive::LocalMachine, path, std::string(kSpanishMachineKeyDescriptor));
  }
  return registry->CreateKey(sys::Hive::LocalMachine, path);
}

std::string AssortmentCode(std::string_view productLine) {
  if (IsLine(productLine, line::kQS2003SE)) return std::string(line::kQS2003E);
  return std::string(productLine);
}

bool HelpChoiceOffered(std::string_view productLine, int32_t mode) {
  if (!IsSiteInstallMode(mode)) return false;
  return !IsLineOneOf(productLine, {line::kPINDRELV8, line::kKS, line::kFYNDRA, line::kHalomirNet});
}

bool DemoChoiceOffered(std::string_view productLine, int32_t mode) {
  if (!IsSiteInstallMode(mode)) return false;
  return !IsLineOneOf(productLine, {line::kKS, line::kFYNDRA, line::kHalomirNet});
}

bool InstallStatusSet() {
  const std::string& productLine = Session().productLine;
  if (IsWebLine(productLine)) return false;
  sys::Registry* registry = sys::os().registry;
  if (registry == nullptr) return false;
  std::string key = MachineKeyPath(productLine);
  if (registry->OpenKey(sys::Hive::LocalMachine, key, sys::KeyAccess::Read) != sys::err::kSuccess) return false;
  std::optional<std::string> marker =
      sys::QueryString(sys::Hive::LocalMachine, key, std::string(kInstallStatusValueName));
  if (!marker) return false;
  // The marker is read into a 32-byte buffer; only its first bytes matter for "set".
  return !marker->substr(0, kInstallStatusCapacity - 1).empty();
}

std::string HelpUrl(std::string_view productLine) {
  std::string_view topicPath = kDefaultTopicPath;
  for (const LineTopic& entry : kHelpTopics) {
    if (IsLine(productLine, entry.line)) topicPath = entry.topicPath;
  }
  std::string url = LoadText(text::kBuiltInSite);
  url.append(topicPath).append(AssortmentCode(productLine)).append("&Language=").append(LoadText(text::kBuildLanguage));
  return url;
}

std::string ReleaseNotesUrl(std::string_view productLine) {
  std::string url = LoadText(text::kBuiltInSite);
  url.append(kReleaseNotesPath).append(AssortmentCode(productLine)).append("&Language=").append(LoadText(text::kBuildLanguage));
  return url;
}

void OpenHelp(sys::WindowId owner) { OpenOnBuiltInSite(owner, HelpUrl(Session().productLine)); }

void OpenReleaseNotes(sys::WindowId owner) { OpenOnBuiltInSite(owner, ReleaseNotesUrl(Session().productLine)); }

std::string ConversionCaption(std::string_view productLine, int32_t mode) {
  if (!IsConvertibleLine(productLine)) return {};
  bool dutch = IsLine(productLine, line::kNHVW);
  switch (mode) {
    case kInternetNetworkUpdate:
      return dutch ? "Molvex Netwerkinstallatieupdate" : "Molvex Netzwerkinstallationsupdate";
    case kLanWorkstation:
    case kCdWorkstation:
      return dutch ? "Molvex Werkstationinstallatie" : "Molvex Workstation-Installation";
    case kLanWorkstationUpdate:
      return dutch ? "Molvex Werkstationupdate" : "Molvex Workstation-Update";
    case kCdNetwork:
      return dutch ? "Molvex Netwerkinstallatie" : "Molvex Netzwerk-Installation";
    default:
      return dutch ? "Molvex Internetinstallatie" : "Molvex Internet-Installation";
  }
}

void SetConversionCaption(std::string_view productLine) {
  std::string caption = ConversionCaption(productLine, Session().installMode);
  if (!caption.empty()) Session().captionText = caption;
}

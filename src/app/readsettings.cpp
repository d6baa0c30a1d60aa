// ReadSessionSettings: each field from its sources in the order that decides who wins.
#include "app/buildidentity.h"
#include "app/installdirdefault.h"
#include "session/log.h"
#include "app/preparesession.h"
#include "productline/productline.h"
#include "session/session.h"
#include "app/settingssources.h"
#include "app/weblines.h"
#include "session/textids.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "sys/registry.h"

namespace {

// The site a build talks to when nothing names another one; the string table's
// text::kBuiltInSite holds the same address, and wins when present.
constexpr const char* kBuiltInUpdateSite = "https://update.molvex.example";
constexpr const char* kDefaultReleaseList = "\t30052\r";
constexpr const char* kDefaultVirtualDir = "Halomir";
constexpr std::size_t kFuCapacity = 10;
constexpr std::size_t kHelpCapacity = 32;
constexpr std::size_t kVirtualDirCapacity = 128;

void ReadSilence(SettingsSources& sources, SessionSettings& settings) {
  if (auto level = sources.Option("S")) {
    int32_t n = OptionNumber(*level);
    settings.noSettingsDialog = n == 0;
    settings.unattended = n >= 1;
    settings.silent = n >= 2;
  }
  if (auto code = sources.Option("OS")) settings.osCode = OptionNumber(*code);
}

// An uninstall run reads only its folder, product line and virtual directory.
bool ReadUninstallRequest(const SettingsSources& sources, SessionSettings& settings) {
  auto folder = sources.Option("UNINSTALL");
  if (!folder) return false;
  settings.installDir = *folder;
  if (folder->empty()) return false;
  settings.uninstallRequested = true;
  settings.productLine.clear();
  settings.virtualDir.clear();
  sources.FillFromOption(settings.productLine, "P");
  if (IsWebLine(settings.productLine)) sources.FillFromOption(settings.virtualDir, "V");
  return true;
}

void ChooseSettingsIni(SettingsSources& sources, SessionSettings& settings) {
  sources.FillFromOption(settings.settingsIni, "INI");
  if (settings.settingsIni.empty() && !settings.programDir.empty()) {
    std::string besideProgram = settings.programDir.str() + "\\" + settings.programBaseName.str() + ".ini";
    sys::Files* files = sys::os().files;
    if (files != nullptr && files->GetAttributes(besideProgram).ok()) settings.settingsIni = besideProgram;
  }
  sources.UseIni(settings.settingsIni);
}

void ReadInstallMode(const SettingsSources& sources, SessionSettings& settings) {
  std::string mode = sources.Option("IM").value_or("");
  if (mode.empty()) mode = sources.Ini("InstallMode", 32, "0");
  settings.installMode = OptionNumber(mode);
}

void ReadWebSite(const SettingsSources& sources, SessionSettings& settings) {
  sources.Fill(settings.webSite, "W", "WebSite1", "WebSite1");
  if (settings.webSite.empty()) {
    std::string builtIn = LoadText(text::kBuiltInSite);
    settings.webSite = builtIn.empty() ? std::string(kBuiltInUpdateSite) : builtIn;
  }
  // Requests append their own "/"; exactly one trailing slash is taken off.
  std::string site = settings.webSite;
  if (!site.empty() && site.back() == '/') site.pop_back();
  settings.webSite = site;
}

void ReadRegistrationFields(const SettingsSources& sources, SessionSettings& settings) {
  sources.Fill(settings.contact, "CNT", "Contact", "Contact");
  sources.Fill(settings.email, "EML", "Email", "Email");
  sources.FillFromRegistry(settings.releaseList, "ReleaseList");
  if (settings.releaseList.empty()) settings.releaseList = kDefaultReleaseList;
  sources.Fill(settings.phone, "PH", "Phone", "Phone");
  sources.Fill(settings.jobTitle, nullptr, "JobTitle", "JobTitle");
  sources.Fill(settings.title, "TTL", "Title", "Title");
  sources.Fill(settings.gender, "GDR", "Gender", "Gender");
  sources.Fill(settings.domain, "DOMAIN", "Domain", "Domain");
}

void ReadProductLine(const SettingsSources& sources, SessionSettings& settings) {
  sources.FillFromOption(settings.productLine, "P");
  if (settings.productLine.empty()) {
    sources.FillFromIni(settings.productLine, "ProductLine");
    // A line fixed by the INI file is not the user's to change.
    if (!settings.productLine.empty()) {
      settings.productLineEditable = false;
      settings.releaseEditable = false;
    }
  }

  std::string fu = sources.Option("FU").value_or("");
  if (fu.empty()) fu = sources.Ini("FU", kFuCapacity);
  if (OptionFlag(fu)) settings.cleanReinstall = true;

  // A single-product build serves its own line only.
  std::string buildLine = BuildLine();
  if (!IsGenericBuild()) {
    settings.productLineEditable = false;
    settings.releaseEditable = false;
    if (settings.productLine.empty()) settings.productLine = buildLine;
  }
  sources.FillFromRegistry(settings.productLine, "ProductLine");
  if (settings.productLine.empty()) settings.productLine = buildLine;
}

// An INI file that others may not write (a read-only network installation, say) fixes
// the release it names.
bool IniWritable(const std::string& iniPath) {
  sys::Files* files = sys::os().files;
  if (files == nullptr) return false;
  return files->OpenOwned(iniPath, sys::FileAccess::Write, sys::share::kNone, sys::Disposition::OpenExisting).ok();
}

void ReadRelease(const SettingsSources& sources, SessionSettings& settings) {
  sources.FillFromOption(settings.release, "R");
  if (settings.release.empty()) {
    sources.FillFromIni(settings.release, "Release");
    if (!settings.release.empty() && !IniWritable(sources.iniPath())) settings.releaseEditable = false;
  }
  sources.FillFromRegistry(settings.release, "Release");
  if (settings.release.empty()) settings.release = LoadText(text::kDefaultRelease);

  if (auto repair = sources.Option("RO")) {
    settings.repairOnly = OptionFlag(*repair);
    settings.repairOnlyOffered = true;
  }
}

void ReadVirtualDir(const SettingsSources& sources, SessionSettings& settings) {
  // Kept aside for the dialog and the settings check, whatever the option says.
  WebLines& stored = StoredWebLines();
  stored.classicVirtualDir = sources.Registry("HalomirVDir", kVirtualDirCapacity).value_or("");
  stored.dotNetVirtualDir = sources.Registry("HalomirNETVDir", kVirtualDirCapacity).value_or("");
  sources.FillFromOption(settings.virtualDir, "V");
  if (!settings.virtualDir.empty()) return;
  const std::string& classic = stored.classicVirtualDir;
  const std::string& dotNet = stored.dotNetVirtualDir;
  // A stored name counts only while its web product is still installed on this machine.
  if (IsLine(settings.productLine, line::kFYNDRA) && !classic.empty() &&
      ClassicWebKeyExists()) {
    settings.virtualDir = classic;
  } else if (IsLine(settings.productLine, line::kHalomirNet) && !dotNet.empty() &&
             DotNetWebKeyExists()) {
    settings.virtualDir = dotNet;
  } else {
    settings.virtualDir = kDefaultVirtualDir;
  }
}

void ReadFolders(const SettingsSources& sources, SessionSettings& settings, std::string_view commandLine) {
  sources.FillFromOption(settings.installDir, "I");
  if (settings.installDir.empty()) settings.installDir = InstallDirForMode(sources, settings.installMode);

  settings.noCheck = HasNoCheckSwitch(commandLine);
  ReadVirtualDir(sources, settings);

  sources.FillFromOption(settings.netDir, "NETDIR");
  if (settings.netDir.empty()) {
    switch (settings.installMode) {
      case kLanWorkstation:
      case kCdWorkstation:
      case kCdNetwork:
        settings.netDir = settings.programDir;
        break;
      case kLanWorkstationUpdate:
        settings.netDir = sources.Ini("Network", decltype(settings.netDir)::kCapacity);
        break;
      default:
        break;
    }
  }

  // A workstation update follows the release of the network installation it is fed from.
  if (settings.installMode == kLanWorkstationUpdate) {
    sys::Profiles* profiles = sys::os().profiles;
    std::string wsetup = sys::JoinPath(settings.netDir.str(), "wsetup.ini");
    settings.release =
        profiles != nullptr ? profiles->GetString(wsetup, std::string(kSetupSection), "Release", "",
                                                  decltype(settings.release)::kCapacity)
                            : std::string{};
  }
}

void ReadAccount(const SettingsSources& sources, SessionSettings& settings) {
  if (auto debug = sources.Option("DEBUG"); debug && !debug->empty()) settings.debugStatistics = true;

  sources.Fill(settings.userName, "USER", nullptr, "UserName");
  if (settings.userName.empty() && sys::os().desktop != nullptr) settings.userName = sys::os().desktop->GetUserName();

  sources.FillFromOption(settings.password, "PW");
  if (settings.password.empty()) {
    // Taken as stored, whatever the value's type; only its text up to a NUL is usable.
    if (auto stored = sources.RegistryBytes("MolvexP", decltype(settings.password)::kCapacity)) {
      settings.password = std::string_view(*stored).substr(0, stored->find('\0'));
    }
  }
}

void ReadChoices(const SettingsSources& sources, SessionSettings& settings) {
  settings.updateMode = sources.RegistryDword("UpdateMode").value_or(0);

  std::string help = sources.Option("HELP").value_or("");
  if (help.empty()) help = sources.Ini("Help", kHelpCapacity, "0");
  settings.help = OptionNumber(help);

  if (auto demo = sources.Option("DEMO")) {
    settings.demo = OptionFlag(*demo) ? 1 : 0;
  } else {
    settings.demo = static_cast<int32_t>(sources.RegistryDword("Demo").value_or(0));
  }
}

void ReadLocale(const SettingsSources& sources, SessionSettings& settings) {
  sources.Fill(settings.language, "LANGUAGE", nullptr, "Language");
  if (sources.registryOpen() && settings.language.empty()) {
    // The build's own language; an "AE" build speaks English.
    std::string language = LoadText(text::kBuildLanguage).substr(0, 2);
    settings.language = language == "AE" ? "EN" : language;
  }
  sources.Fill(settings.country, "COUNTRY", nullptr, "Country");
  if (sources.registryOpen() && settings.country.empty()) settings.country = "  ";

  if (auto id = sources.Option("WEBSITEID"); id && !id->empty()) {
    settings.websiteId = OptionNumber(*id);
  } else {
    settings.websiteId = sources.IniInt("WebsiteID", 0);
    if (settings.websiteId == 0) settings.websiteId = static_cast<int32_t>(sources.RegistryDword("WebsiteID").value_or(0));
  }
}

}  // namespace

void ReadSessionSettings(std::string_view commandLine) {
  SessionSettings& settings = Session();
  SettingsSources sources(commandLine);

  ReadSilence(sources, settings);
  if (ReadUninstallRequest(sources, settings)) return;
  if (sources.Option("REBOOT")) {
    settings.rebootResume = true;
    return;
  }

  sources.OpenRegistry();
  ChooseSettingsIni(sources, settings);
  ReadInstallMode(sources, settings);
  ReadWebSite(sources, settings);
  ReadRegistrationFields(sources, settings);
  ReadProductLine(sources, settings);
  ReadRelease(sources, settings);
  ReadFolders(sources, settings, commandLine);
  ReadAccount(sources, settings);
  ReadChoices(sources, settings);
  ReadLocale(sources, settings);
}

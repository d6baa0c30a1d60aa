#include "app/passpreparation.h"

#include "install/registration.h"
#include "platform/volumes.h"
#include "productline/folderkey.h"
#include "session/log.h"
#include "session/pathtext.h"
#include "productline/productline.h"
#include "session/session.h"
#include "app/settingssources.h"
#include "app/installedbatch.h"
#include "sys/os.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"
#include "session/knownplaces.h"
#include "session/textids.h"

namespace {

constexpr const char* kReportEngineKey = "Software\\Crystal Decisions\\9.0\\Crystal Reports";
constexpr const char* kReportDesignerKey =
    "Software\\Crystal Decisions\\9.0\\Crystal Reports Designer Component\\DatabaseOptions";

bool KeyOpens(sys::Hive hive, const std::string& path) {
  sys::Registry* registry = sys::os().registry;
  return registry != nullptr && registry->OpenKey(hive, path, sys::KeyAccess::Read) == sys::err::kSuccess;
}

std::string ProductTitle(std::string_view productLine) {
  if (IsLine(productLine, line::kFYNDRA)) return "Molvex Halomir";
  if (IsLine(productLine, line::kHalomirNet)) return "Molvex Halomir Enterprise";
  return LoadText(text::kProductTitle);
}

// The report engine finds its runtime through these keys; existing keys are left alone.
void EnsureReportEngineKeys() {
  sys::Registry* registry = sys::os().registry;
  if (registry == nullptr) return;
  if (!KeyOpens(sys::Hive::LocalMachine, kReportEngineKey) &&
      registry->CreateKey(sys::Hive::LocalMachine, kReportEngineKey) == sys::err::kSuccess) {
    sys::SetString(sys::Hive::LocalMachine, kReportEngineKey, "CommonFiles",
                   sys::JoinPath(Places().commonFilesFolder, "Crystal Decisions\\2.0\\bin"));
  }
  if (!KeyOpens(sys::Hive::CurrentUser, kReportDesignerKey) &&
      registry->CreateKey(sys::Hive::CurrentUser, kReportDesignerKey) == sys::err::kSuccess) {
    sys::SetString(sys::Hive::CurrentUser, kReportDesignerKey, "DontVerifyAttachedRecordset", "Yes");
  }
}

}  // namespace

void ApplyBareDriveRule() {
  SessionSettings& settings = Session();
  const std::string& folder = settings.installDir;
  bool bareDrive = folder.size() == 2 && folder[1] == ':';
  if (!bareDrive || DirectoryExists(folder + "\\Lng")) return;
  settings.installDir = folder + "\\" + LoadText(text::kDefaultFolderName);
}

void PrepareRun() {
  SessionSettings& settings = Session();
  RunResults& results = Results();
  results.mainExecutableCode = DistributionCode(settings.productLine);
  results.productTitle = ProductTitle(settings.productLine);

  results.registerAllKinds = true;
  std::string netDllKey = std::string(kSettingsKeyPath) + "\\" + FolderKey(settings.installDir) + "\\RegisteredNetDll";
  results.netDllsUnregistered = !KeyOpens(sys::Hive::LocalMachine, netDllKey);
  if (sys::os().registry != nullptr) FindRegAsmFolder();

  if (IsWorkstationMode(settings.installMode) && InstallStatusSet()) {
    results.registerAllKinds = true;
    results.previousRunUnfinished = true;
  }
  if (!DemoChoiceOffered(settings.productLine, settings.installMode)) settings.demo = 1;
  if (!HelpChoiceOffered(settings.productLine, settings.installMode)) settings.help = 1;
  // Items copied from a network installation or CD are placed as they arrive.
  if (IsSourceMode(settings.installMode)) settings.updateMode = kUpdateDuringDownload;
  results.isWorkstation = IsWorkstationMode(settings.installMode);

  if (results.isWorkstation && !IsLine(settings.productLine, line::kDORVAL5)) EnsureReportEngineKeys();

  settings.installDir = sys::WithoutTrailingBackslash(settings.installDir.str());
  ApplyBareDriveRule();

  results.installClusterSize = GetClusterSize(settings.installDir.str());
  results.tempClusterSize = GetClusterSize(Places().tempFolder);
  if (NeedsCleanReinstall()) results.runCleanReinstall = true;
}

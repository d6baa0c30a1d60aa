#include "app/checkmachine.h"

#include <string>

#include "app/passnotices.h"
#include "app/settingsdialogids.h"
#include "install/prerequisites.h"
#include "install/prerequisiteprobes.h"
#include "platform/osclassify.h"
#include "platform/registryquota.h"
#include "platform/softwareprobes.h"
#include "platform/webserverprobes.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/os.h"
#include "sys/registry.h"

namespace {

constexpr uint32_t kPlainBox = mb::kOk | mb::kSetForeground;
constexpr uint32_t kWarningBox = mb::kOk | mb::kIconExclamation | mb::kSetForeground;
constexpr const char* kLowRegistrySpace =
    "Your maximum registry size is too small. To ensure that the software runs properly, increase your maximum "
    "registry size.\n For more information, see Windows Help ";
constexpr const char* kLowRegistrySpaceCaption = "Windows - Low on registry space";

bool MachineKeyOpens(const char* path) {
  sys::Registry* registry = sys::os().registry;
  return registry != nullptr && registry->OpenKey(sys::Hive::LocalMachine, path, sys::KeyAccess::Read) == sys::err::kSuccess;
}

bool PreviousSpanishVersionRegistered() {
  return MachineKeyOpens("Software\\DORVAL\\Quarzel\\4.0") || MachineKeyOpens("Software\\DORVAL\\GEN\\4.0");
}

bool SystemRefused(const SessionSettings& settings) {
  if (settings.osUnsupported || IsUnsupportedOsCode(settings.osCode)) return true;
  return IsWebLine(settings.productLine) && (settings.osCode < 6 || settings.osCode > 9);
}

// The text of the first refusal that applies, or 0.
uint32_t MachineRefusal(const SessionSettings& settings) {
  bool webLine = IsWebLine(settings.productLine);
  bool dataAccessMissing = Prerequisites().dataAccessNeedsInstall;
  if (IsLine(settings.productLine, line::kDORVAL5) && PreviousSpanishVersionRegistered())
    return text::kUninstallPreviousFirst;
  if (SystemRefused(settings)) return text::kSystemNotSupported;
  if (IsNtServicePackTooOld()) return text::kNeedsNtServicePack5;
  if (!IsInternetExplorerCurrent()) return text::kNeedsBrowser501;
  if (!settings.canWriteMachineKeys && !dataAccessMissing && !webLine) return text::kNeedsAdministratorForMachineKeys;
  if (!settings.hasAdminRights && (webLine || dataAccessMissing)) return text::kNeedsAdministrator;
  if (webLine && !IsIisPresent()) return text::kNeedsWebServer;
  return 0;
}

}  // namespace

CheckStep CheckMachine(DialogControls* dialog) {
  const SessionSettings& settings = Session();
  if (!IsLineOneOf(settings.productLine, {line::kFYNDRA, line::kHalomirNet, line::kDORVAL5, line::kKS, line::kFNS,
                                          line::kFNC}) &&
      IsExcelRunning()) {
    std::string text = LoadText(text::kCannotStartWorkstationInstallation);
    AppendFormat(text, "\r\n\r\n%s: Microsoft Excel", LoadText(text::kFirstClose).c_str());
    LoggedMessageBox(0, text, settings.captionText, kPlainBox, sys::answer::kOk);
    return SettingsCheck::Stop;  // the dialog stays open: the user may close it and try again
  }
  if (!IsLineOneOf(settings.productLine, {line::kFYNDRA, line::kHalomirNet, line::kKS}))
    ProbePrerequisites(settings.productLine);
  if (uint32_t refusal = MachineRefusal(settings)) return Refuse(dialog, LoadText(refusal), "", kPlainBox);
  return std::nullopt;
}

CheckStep CheckBrowserAndFrameworks(DialogControls* dialog) {
  const SessionSettings& settings = Session();
  if (IsSslPageCachingDisabled() != 0) {
    ShowBrowserSettingNotice();
    return SettingsCheck::Stop;  // the dialog stays open
  }
  bool dotNetLine = IsLine(settings.productLine, line::kHalomirNet);
  if (dotNetLine && !IsDotNetPresent(DotNet::V35Sp1)) {
    uint32_t textId = ReleaseNeedsDotNet2(settings.release) ? text::kNeedsFramework20 : text::kNeedsFramework35;
    return Refuse(dialog, LoadText(textId), settings.captionText, kWarningBox);
  }
  if (dotNetLine && !IsAspxMapped()) {
    WebSetup().registerAspNet = true;
  } else if (settings.isNtFamily && settings.osCode != 7 && settings.osCode != 9 && !HasRegistrySpace()) {
    return Refuse(dialog, kLowRegistrySpace, kLowRegistrySpaceCaption, kPlainBox, SETTINGS_REGISTRY_TOO_SMALL);
  }
  return std::nullopt;
}

CheckStep CheckFramework35(DialogControls* dialog) {
  if (IsDotNetPresent(DotNet::V35Sp1)) return std::nullopt;
  return Refuse(dialog, LoadText(text::kNeedsFramework35), Session().captionText, kWarningBox);
}

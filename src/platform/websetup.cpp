#include "platform/websetup.h"

#include "platform/externalprogram.h"
#include "platform/metabase.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/registry.h"

namespace {

constexpr uint32_t kAspNetWaitMilliseconds = 30000;

std::string AspNetTool() { return Places().windowsFolder + "\\Microsoft.NET\\Framework\\v2.0.50727\\aspnet_regiis.exe"; }

std::string VirtualDirectoryName() { return Session().noCheck ? Session().virtualDir.str() : "Halomir"; }

void MarkAndPublish(const char* markerKey) {
  sys::os().registry->CreateKey(sys::Hive::Users, markerKey);
  if (unsigned long error = GrantRegistryAccess(markerKey, "Everyone"))
    WriteLog("HKEY_USERS\\%s was not opened to every user (%s %lu)", markerKey, LoadText(text::kError).c_str(), error);
  CreateVirtualDirectory(VirtualDirectoryName(), Session().installDir.str());
}

}  // namespace

unsigned long GrantRegistryAccess(const std::string& key, const std::string& account) {
  return sys::os().registry->GrantAllAccess(sys::Hive::Users, key, account);
}

bool RegisterAspNet(const std::string& virtualDirectory) {
  std::string tool = AspNetTool();
  if (!sys::os().files->GetAttributes(tool).ok()) {
    WriteLog("ASP.NET was not registered for %s: %s is missing", virtualDirectory.c_str(), tool.c_str());
    return false;
  }
  std::string command = tool + " -s W3SVC/1/ROOT/" + virtualDirectory;
  return StartAndWait(command, WithoutConsole(), kAspNetWaitMilliseconds) == sys::err::kSuccess;
}

void SetupFyndraWeb() { MarkAndPublish(kFyndraMarkerKey); }

void SetupHalomirNetWeb() {
  MarkAndPublish(kHalomirNetMarkerKey);
  if (!Session().noCheck) Session().virtualDir = "Halomir";
  if (RegisterAspNet(VirtualDirectoryName())) return;
  std::string text = LoadText(text::kFailedToLoadForRegistration);
  AppendFormat(text, "\n%s: ", LoadText(text::kExecuteManually).c_str());
  text += AspNetTool();
  AppendFormat(text, "\n%s", LoadText(text::kFramework20NotRegistered).c_str());
  LoggedMessageBox(0, text, Session().captionText, mb::kOk, sys::answer::kOk);
}

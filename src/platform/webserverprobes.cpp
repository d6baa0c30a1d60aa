#include "platform/webserverprobes.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "session/log.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/webserver.h"

bool IsWebsiteIdValid(int32_t websiteId) {
  if (websiteId <= 0) return true;
  sys::Result<std::vector<std::string>> sites = sys::os().webServer->ChildKeys("/LM/W3SVC");
  if (!sites.ok()) {
    WriteLog("Web site %ld was not found: the web server's sites cannot be read (%08lX)", static_cast<long>(websiteId),
             static_cast<unsigned long>(sites.error));
    return false;
  }
  for (const std::string& name : sites.value)
    if (std::atol(name.c_str()) == websiteId) return true;
  return false;
}

bool IsAspxMapped() {
  sys::Result<std::vector<std::string>> maps = sys::os().webServer->ScriptMaps(1);
  if (!maps.ok()) {
    WriteLog("The web server's script maps cannot be read (%08lX); .aspx is taken as not mapped",
             static_cast<unsigned long>(maps.error));
    return false;
  }
  for (const std::string& map : maps.value)
    if (sys::EqualsNoCase(map.substr(0, map.find(',')), ".aspx")) return true;
  return false;
}

WebServerSetup& WebSetup() {
  static WebServerSetup setup;
  return setup;
}

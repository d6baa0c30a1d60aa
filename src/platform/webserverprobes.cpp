#include "platform/webserverprobes.h"

#include "session/log.h"

bool IsWebsiteIdValid(int32_t websiteId) {
  if (websiteId <= 0) return true;
  WriteLog("Web site %ld was not looked up on the web server: this build cannot ask it; the number is taken as given",
           static_cast<long>(websiteId));
  return true;
}

bool IsAspxMapped() {
  WriteLog("The web server's script maps were not looked up: this build cannot ask it; .aspx is taken as mapped");
  return true;
}

WebServerSetup& WebSetup() {
  static WebServerSetup setup;
  return setup;
}

#include "transfer/requestmessages.h"

#include "session/log.h"
#include "session/textids.h"

std::string FailedDownloadText(const std::string& url, int32_t result) {
  std::string message;
  AppendFormat(message, "%s: '%s' (0x%lx)\r\n\r\n", LoadText(text::kFailedToDownload).c_str(), url.c_str(),
               static_cast<unsigned long>(static_cast<uint32_t>(result)));
  return message;
}

std::string FailedToOpenText(const std::string& path) {
  std::string message;
  AppendFormat(message, "%s: '%s'", LoadText(text::kFailedToOpenFile).c_str(), path.c_str());
  return message;
}

#include "transfer/interneterror.h"

#include "session/log.h"
#include "sys/internet.h"
#include "sys/os.h"

bool ComposeInternetError(sys::Error code, const std::string& operation, std::string& text) {
  sys::Internet* internet = sys::os().internet;
  std::string message = internet != nullptr ? internet->ErrorText(code) : std::string();
  text.clear();
  AppendFormat(text, "%s error code: %d\nMessage: %s\n", operation.c_str(), static_cast<int>(code), message.c_str());
  if (code != sys::inet::kExtendedError || internet == nullptr) return true;

  // The server said more than the number: its last response text follows the report.
  auto length = internet->LastResponseLength();
  if (!length.ok()) {
    AppendFormat(text, "Unable to get Internet error. Error code: %lu\n", static_cast<unsigned long>(length.error));
    return true;
  }
  if (length.value == 0) return false;
  auto response = internet->LastResponseText(length.value);
  if (!response.ok()) {
    AppendFormat(text, "Unable to get Internet error. Error code: %lu\n", static_cast<unsigned long>(response.error));
    return true;
  }
  text += response.value;
  return true;
}

bool ReportInternetError(sys::Error code, const std::string& operation) {
  std::string text;
  if (ComposeInternetError(code, operation, text)) {
    LoggedMessageBox(0, text, "", mb::kSetForeground, sys::answer::kOk);
  }
  return true;
}

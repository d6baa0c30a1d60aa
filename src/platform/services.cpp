#include "platform/services.h"

#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"

bool HoldsServices(const std::string& line) {
  return IsLineOneOf(line, {line::kFYNDRA, line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE});
}

void ControlServices(bool start) {
  (void)start;
  const std::string& line = Session().productLine.str();
  if (Session().installMode == kCdCreation || !HoldsServices(line)) return;
  WriteLog("Service control is not available in this build; services of %s left as they are", line.c_str());
}

void ControlDatabaseServer(const std::string& action) {
  WriteLog("Service control is not available in this build; the payroll database services were not sent %s",
           action.c_str());
}

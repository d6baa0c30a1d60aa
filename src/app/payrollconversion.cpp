#include "app/payrollconversion.h"

#include "app/productline_payroll.h"
#include "install/directories.h"
#include "install/retryprimitives.h"
#include "platform/services.h"
#include "productline/productline.h"
#include "session/progressstate.h"
#include "session/session.h"

namespace {

PayrollConversionSteps DriverSteps() {
  PayrollConversionSteps steps;
  steps.showProgress = [](const std::string& phase, const std::string& item, const std::string& detail) {
    UpdateProgress([&](ProgressState& state) {
      state.phaseLine = phase;
      state.itemLine = item;
      state.detailLine = detail;
    });
    RefreshProgress();
  };
  steps.controlDatabaseServer = ControlDatabaseServer;
  steps.copyFileWithRetry = [](const std::string& from, const std::string& to) { CopyFileWithRetry(from, to, false); };
  steps.deleteFileWithRetry = [](const std::string& path) { DeleteFileWithRetry(path); };
  steps.createFolder = [](const std::string& path) { CreateOneDirectory(path); };
  return steps;
}

}  // namespace

void ConvertPayrollDataAfterRun() {
  const SessionSettings& settings = Session();
  const RunResults& results = Results();
  if (!results.runCompleted || !results.isWorkstation || results.nothingInstalled) return;
  if (!IsLine(settings.productLine, line::kKS) || settings.release == "BSD") return;
  RunPayrollDataConversion(DriverSteps());
}

#include "app/uninstallentryrun.h"

#include "app/stages.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/desktop.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

constexpr std::string_view kGenericProgram = "HalomirPlandrix.exe";
constexpr std::size_t kTitleCapacity = 128;

}  // namespace

UninstallNames ChooseUninstallNames(std::string_view productLine, std::string_view distributionName) {
  if (sys::EqualsNoCase(distributionName, kGenericProgram)) {
    if (IsLine(productLine, line::kFYNDRA)) return {"Molvex Halomir", "Uninstall Molvex Halomir"};
    if (IsLine(productLine, line::kHalomirNet))
      return {"Molvex Halomir Enterprise", "Uninstall Molvex Halomir Enterprise"};
  }
  std::string title = LoadText(text::kUninstallCaption);
  if (title.size() >= kTitleCapacity) title.resize(kTitleCapacity - 1);
  return {LoadText(text::kProductTitle), title};
}

void RunUninstallEntry() {
  SessionSettings& s = Session();
  UninstallNames names = ChooseUninstallNames(s.productLine.str(), LoadText(text::kDistributionFileName));
  Results().productTitle = names.product;  // kept to its 63 characters
  s.captionText = names.title;

  if (!s.silent) {
    int answer = Stages().confirmUninstall ? Stages().confirmUninstall() : sys::answer::kNo;
    WriteLog("Uninstall of %s confirmed: %s", s.installDir.c_str(), answer == sys::answer::kYes ? "yes" : "no");
    if (answer != sys::answer::kYes) return;
  }
  if (!Stages().runProgressWindow) {
    WriteLog("The progress window is not part of this build; nothing was removed");
    return;
  }
  Stages().runProgressWindow();
  if (cancelRequested == 0 && !s.silent) {
    sys::os().desktop->MessageBox(0, LoadText(text::kUninstallCompleted), Results().productTitle.str(), 0);
  }
}

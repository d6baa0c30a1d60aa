// The settings dialog's buttons.
#include "app/settingsdialog.h"

#include <string>
#include <vector>

#include "app/checksettings.h"
#include "app/dialogcontrols.h"
#include "app/settingsdialog_fields.h"
#include "app/settingsdialogids.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "transfer/releaselistrequest.h"

namespace {

// What the release-list request fills: the release choices and the notice below them.
class ReleaseChoices : public ReleaseListDialog {
 public:
  explicit ReleaseChoices(DialogControls& dialog) : dialog_(dialog) {}
  sys::WindowId Window() const override { return dialog_.Window(); }
  void SetStatusText(const std::string& text) override { dialog_.SetText(CTL_STATUS_NOTICE, text); }
  void ShowReleases(const std::vector<std::string>& releases) override {
    dialog_.ClearItems(CTL_RELEASE);
    for (const std::string& release : releases) dialog_.AddItem(CTL_RELEASE, release);
    dialog_.Select(CTL_RELEASE, 0);
  }

 private:
  DialogControls& dialog_;
};

// Asks the site for its releases with what the fields say now.
void RefreshReleases(DialogControls& dialog) {
  SessionSettings& settings = Session();
  dialog.Enable(CTL_REFRESH, false);
  dialog.SetText(CTL_STATUS_NOTICE, LoadText(text::kRetrievingData));
  dialog.Show(CTL_STATUS_NOTICE, true);
  if (settings.productLineEditable) settings.productLine = dialog.Text(CTL_PRODUCT_LINE);
  ReadCredentials(dialog);
  settings.webSite = dialog.Text(CTL_SITE);
  ReleaseChoices choices(dialog);
  RequestReleaseList(&choices, false);
  // Enabled again whatever the request met: it reports its own failures.
  dialog.Enable(CTL_REFRESH, true);
}

}  // namespace

void SettingsDialogCommand(DialogControls& dialog, int id) {
  switch (id) {
    case CTL_OK:
      ReadSettingsDialog(dialog);
      CheckSettings(&dialog);  // ends the dialog with its result or leaves the focus on a field
      break;
    case CTL_CANCEL:
      dialog.End(CTL_CANCEL);
      break;
    case CTL_REFRESH:
      RefreshReleases(dialog);
      break;
    case CTL_OFFLINE_HELP: {
      bool checked = dialog.Checked(CTL_OFFLINE_HELP);
      dialog.Enable(CTL_LANGUAGE, checked);
      dialog.Enable(CTL_LANGUAGE_LABEL, checked);
      break;
    }
    case CTL_HELP:
      OpenHelp(dialog.Window());
      break;
    case CTL_RELEASE_NOTES:
      OpenReleaseNotes(dialog.Window());
      break;
    default:
      break;
  }
}

void InstallModeChosen(DialogControls& dialog) {
  int mode = dialog.Selection(CTL_INSTALL_MODE);
  if (mode >= 0) ApplyControlStates(dialog, mode);
}

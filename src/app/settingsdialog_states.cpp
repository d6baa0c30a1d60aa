// Which of the settings dialog's controls are shown, enabled and labelled how, for an
// install mode and the session's product line.
#include "app/buildidentity.h"
#include "app/dialogcontrols.h"
#include "app/productline_payroll.h"
#include "app/settingsdialog.h"
#include "app/settingsdialogids.h"
#include "app/settingslists.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"

namespace {

void ShowAll(DialogControls& dialog, std::initializer_list<int> ids, bool visible) {
  for (int id : ids) dialog.Show(id, visible);
}

void SetFixedTexts(DialogControls& dialog, const SessionSettings& settings) {
  static constexpr struct {
    int id;
    uint32_t text;
  } kLabels[] = {
      {CTL_CANCEL, text::kCancel},
      {CTL_HELP, text::kHelp},
      {CTL_PRODUCT_LINE_LABEL, text::kLabelProductLine},
      {CTL_RELEASE_LABEL, text::kLabelRelease},
      {CTL_INSTALL_MODE_LABEL, text::kLabelInstallMode},
      {CTL_USER_NAME_LABEL, text::kLabelUserName},
      {CTL_PASSWORD_LABEL, text::kLabelPassword},
      {CTL_DOMAIN_LABEL, text::kLabelDomain},
      {CTL_FRAME, text::kInstallation},
      {CTL_DEMO, text::kDownloadDemoCompany},
      {CTL_UPDATE_MODE_LABEL, text::kLabelUpdateSoftware},
  };
  for (const auto& label : kLabels) dialog.SetText(label.id, LoadText(label.text));
  bool dorval = IsLine(settings.productLine, line::kDORVAL5);
  dialog.SetText(CTL_OFFLINE_HELP, LoadText(dorval ? text::kDownloadHelpFiles : text::kDownloadOfflineHelp));
  if (settings.repairOnlyOffered) dialog.SetText(CTL_REPAIR_ONLY, LoadText(text::kRepairOnly));
  if (settings.noCheck) {
    dialog.SetText(CTL_NO_CHECK, LoadText(text::kNoCheck));
    dialog.SetText(CTL_VIRTUAL_DIR_LABEL, LoadText(text::kLabelVirtualDirectory));
    dialog.SetText(CTL_VIRTUAL_DIR, settings.virtualDir);
  }
}

// Where the files come from: the site with its credentials, or a network installation.
void SetSourceFields(DialogControls& dialog, const SessionSettings& settings, int32_t mode) {
  if (IsInternetMode(mode)) {
    dialog.SetText(CTL_SITE_LABEL, LoadText(text::kLabelWebSite));
    dialog.SetText(CTL_SITE, settings.webSite);
    // Empty credentials leave what the user may already have typed.
    if (!settings.domain.empty()) dialog.SetText(CTL_DOMAIN, settings.domain);
    if (!settings.userName.empty()) dialog.SetText(CTL_USER_NAME, settings.userName);
    if (!settings.password.empty()) dialog.SetText(CTL_PASSWORD, settings.password);
    dialog.SetText(CTL_INSTALL_DIR_LABEL, LoadText(text::kLabelInstallDir));
  } else {
    dialog.SetText(CTL_SITE_LABEL, LoadText(text::kLabelNetworkPath));
    dialog.SetText(CTL_SITE, settings.netDir);
    dialog.SetText(CTL_INSTALL_DIR_LABEL, LoadText(text::kLabelLocalInstallDir));
  }
}

void SetInstallDir(DialogControls& dialog, const SessionSettings& settings, int32_t mode) {
  bool noLocalFolder = mode == kInternetNetwork || mode == kCdNetwork;
  dialog.SetText(CTL_INSTALL_DIR, noLocalFolder ? std::string() : settings.installDir.str());
  if (IsLine(settings.productLine, line::kKS)) {
    // A configured payroll product keeps its folder on a workstation and its updates.
    bool fixed = PayrollOptionsSet() && (mode == kInternetWorkstation || mode == kInternetNetworkUpdate ||
                                         mode == kLanWorkstation || mode == kLanWorkstationUpdate ||
                                         mode == kCdWorkstation);
    dialog.SetReadOnly(CTL_INSTALL_DIR, fixed);
  }
}

void SetRepairAndVirtualDir(DialogControls& dialog, const SessionSettings& settings, int32_t mode) {
  if (!IsWorkstationMode(mode)) {
    ShowAll(dialog, {CTL_REPAIR_ONLY, CTL_NO_CHECK, CTL_VIRTUAL_DIR_LABEL, CTL_VIRTUAL_DIR}, false);
    return;
  }
  dialog.Show(CTL_REPAIR_ONLY, settings.repairOnlyOffered);
  bool webNoCheck = settings.noCheck && IsWebLine(settings.productLine);
  dialog.Show(CTL_NO_CHECK, webNoCheck);
  ShowAll(dialog, {CTL_VIRTUAL_DIR_LABEL, CTL_VIRTUAL_DIR}, webNoCheck && VirtualDirAsked(settings.productLine));
}

void SetChoiceBoxes(DialogControls& dialog, const SessionSettings& settings, int32_t mode) {
  dialog.Show(CTL_DEMO, DemoChoiceOffered(settings.productLine, mode));
  bool helpOffered = HelpChoiceOffered(settings.productLine, mode);
  dialog.Show(CTL_OFFLINE_HELP, helpOffered);
  // The help files come in the chosen language: the choice matters only with them.
  bool languageEnabled = !helpOffered || dialog.Checked(CTL_OFFLINE_HELP);
  dialog.Enable(CTL_LANGUAGE_LABEL, languageEnabled);
  dialog.Enable(CTL_LANGUAGE, languageEnabled);
}

void SetLanguageLists(DialogControls& dialog, const SessionSettings& settings, int32_t mode) {
  bool shown = ShowsLanguageLists(settings.productLine, mode, IsGenericBuild());
  ShowAll(dialog, {CTL_LANGUAGE_LABEL, CTL_LANGUAGE, CTL_COUNTRY_LABEL, CTL_COUNTRY}, shown);
  if (!shown) return;
  dialog.SetText(CTL_LANGUAGE_LABEL, LoadText(text::kLabelLanguage));
  dialog.SetText(CTL_COUNTRY_LABEL, LoadText(text::kLabelCountry));
}

}  // namespace

void ApplyControlStates(DialogControls& dialog, int32_t mode) {
  const SessionSettings& settings = Session();
  SetFixedTexts(dialog, settings);

  dialog.SetText(CTL_RELEASE_NOTES, LoadText(text::kReleaseNotes));
  dialog.Show(CTL_RELEASE_NOTES, IsLineOneOf(settings.productLine, {line::kQS2000, line::kQK2000, line::kQS2003E,
                                                                    line::kQS2003SE, line::kQK2003, line::kKS,
                                                                    line::kNHVW, line::kQF2003}));
  SetSourceFields(dialog, settings, mode);
  SetInstallDir(dialog, settings, mode);
  SetRepairAndVirtualDir(dialog, settings, mode);

  bool fromSite = IsInternetMode(mode);
  ShowAll(dialog,
          {CTL_USER_NAME_LABEL, CTL_USER_NAME, CTL_PASSWORD_LABEL, CTL_PASSWORD, CTL_DOMAIN, CTL_DOMAIN_LABEL,
           CTL_UPDATE_MODE, CTL_UPDATE_MODE_LABEL},
          fromSite);
  // A CD image is made in one go: there is nothing to update during or after.
  if (mode == kCdCreation) ShowAll(dialog, {CTL_UPDATE_MODE, CTL_UPDATE_MODE_LABEL}, false);

  SetChoiceBoxes(dialog, settings, mode);
  SetLanguageLists(dialog, settings, mode);

  ShowAll(dialog, {CTL_SITE_LABEL, CTL_SITE}, mode != kCdWorkstation && mode != kCdNetwork);
  ShowAll(dialog, {CTL_RELEASE, CTL_RELEASE_LABEL, CTL_REFRESH}, fromSite);

  // The demo and offline-help boxes are never visible, but keep their checked state.
  ShowAll(dialog, {CTL_DEMO, CTL_OFFLINE_HELP}, false);
}

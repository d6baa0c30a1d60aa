// OK on the settings dialog: the fields written back into the session, then the check.
#include <string>
#include <string_view>

#include "app/dialogcontrols.h"
#include "app/settingsdialog.h"
#include "app/settingsdialog_fields.h"
#include "app/settingsdialogids.h"
#include "app/settingslists.h"
#include "app/weblines.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"

namespace {

constexpr const char* kDefaultVirtualDir = "Halomir";

// The two-letter code of a code list's selected entry ("  " for "(All)"); empty when
// nothing is selected.
std::string SelectedCode(const DialogControls& dialog, int id, uint32_t firstText) {
  int position = dialog.Selection(id);
  if (position < 0) return {};
  return LoadText(firstText + position).substr(0, 2);
}

// A list's selected position as a stored value; no selection keeps the value it has.
template <typename Value>
void ReadPosition(const DialogControls& dialog, int id, Value& value) {
  int position = dialog.Selection(id);
  if (position >= 0) value = static_cast<Value>(position);
}

void ReadVirtualDir(DialogControls& dialog, SessionSettings& settings) {
  const std::string line = settings.productLine.str();
  if (!StoredWebLines().webLineFromDialog) {
    settings.virtualDir = VirtualDirAsked(line) ? dialog.Text(CTL_VIRTUAL_DIR) : StoredVirtualDir(line);
    return;
  }
  // A web line typed into the dialog: what this machine has stored wins over the field.
  settings.virtualDir = StoredVirtualDir(line);
  if (settings.virtualDir.empty()) settings.virtualDir = dialog.Text(CTL_VIRTUAL_DIR);
  if (settings.virtualDir.empty()) settings.virtualDir = kDefaultVirtualDir;
  int mode = dialog.Selection(CTL_INSTALL_MODE);
  ApplyControlStates(dialog, mode >= 0 ? mode : settings.installMode);
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t";
  std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

void ReadCredentials(const DialogControls& dialog) {
  SessionSettings& settings = Session();
  // Cut to the field's size first, as a read of the control would, then trimmed.
  settings.userName = dialog.Text(CTL_USER_NAME);
  settings.userName = TrimBlanks(settings.userName);
  settings.password = dialog.Text(CTL_PASSWORD);
  settings.domain = dialog.Text(CTL_DOMAIN);
  settings.domain = TrimBlanks(settings.domain);
}

void ReadSettingsDialog(DialogControls& dialog) {
  SessionSettings& settings = Session();
  if (settings.productLineEditable) {
    settings.productLine = dialog.Text(CTL_PRODUCT_LINE);
    if (IsWebLine(settings.productLine)) StoredWebLines().webLineFromDialog = true;
  }
  settings.release = dialog.Text(CTL_RELEASE);
  // The registration fields have no controls here: they read as empty, and the settings
  // check fills them.
  for (auto* field : {&settings.contact, &settings.email, &settings.phone, &settings.jobTitle}) field->clear();
  settings.title.clear();
  settings.gender.clear();

  ReadPosition(dialog, CTL_INSTALL_MODE, settings.installMode);
  const int32_t mode = settings.installMode;
  if (IsSourceMode(mode)) {
    settings.netDir = dialog.Text(CTL_SITE);
  } else {
    ReadPosition(dialog, CTL_UPDATE_MODE, settings.updateMode);
    settings.webSite = dialog.Text(CTL_SITE);
  }
  ReadCredentials(dialog);

  const std::string line = settings.productLine.str();
  bool codes = StoresLanguageCodes(line, mode);
  settings.language = codes ? SelectedCode(dialog, CTL_LANGUAGE, text::kLanguageAll) : std::string();
  settings.country = codes ? SelectedCode(dialog, CTL_COUNTRY, text::kCountryAll) : std::string();

  settings.repairOnly = dialog.Checked(CTL_REPAIR_ONLY) && settings.repairOnlyOffered;
  settings.noCheck = dialog.Checked(CTL_NO_CHECK);
  if (DemoChoiceOffered(line, mode)) settings.demo = dialog.Checked(CTL_DEMO) ? 1 : 0;
  if (HelpChoiceOffered(line, mode)) settings.help = dialog.Checked(CTL_OFFLINE_HELP) ? 1 : 0;
  settings.installDir = dialog.Text(CTL_INSTALL_DIR);

  if (IsWebLine(line)) ReadVirtualDir(dialog, settings);
  // The states above may have put stored credentials back into their fields.
  ReadCredentials(dialog);
}

// The settings dialog's opening: every field and list filled from the session.
#include <string>
#include <vector>

#include "app/buildidentity.h"
#include "app/dialogcontrols.h"
#include "app/settingsdialog.h"
#include "app/settingsdialogids.h"
#include "app/settingslists.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "transfer/sitereplies.h"

namespace {

// A code list (languages, countries): the string-table texts without their first three
// characters, with the entry whose two-letter code is `code` selected ("  " is "(All)";
// a shorter code selects nothing).
void FillCodeList(DialogControls& dialog, int id, uint32_t firstText, int count, std::string_view code) {
  int selected = -1;
  for (int position = 0; position < count; ++position) {
    std::string text = LoadText(firstText + position);
    dialog.AddItem(id, text.size() > 3 ? std::string_view(text).substr(3) : std::string_view());
    if (selected < 0 && code.size() == 2 && std::string_view(text).substr(0, 2) == code) selected = position;
  }
  dialog.Select(id, selected);
}

// A list of choices whose positions are the stored values; a value the list has no entry
// for shows no selection, and OK then keeps the stored value.
void FillChoices(DialogControls& dialog, int id, const std::vector<uint32_t>& texts, int64_t value) {
  for (uint32_t text : texts) dialog.AddItem(id, LoadText(text));
  bool listed = value >= 0 && value < static_cast<int64_t>(texts.size());
  dialog.Select(id, listed ? static_cast<int>(value) : -1);
}

// The release list, with the session's release added when the list lacks it.
void FillReleases(DialogControls& dialog, const SessionSettings& settings) {
  for (const std::string& release : SplitReleaseList(settings.releaseList.str())) dialog.AddItem(CTL_RELEASE, release);
  int position = dialog.FindItem(CTL_RELEASE, settings.release);
  if (position < 0) {
    dialog.AddItem(CTL_RELEASE, settings.release);
    position = dialog.FindItem(CTL_RELEASE, settings.release);
  }
  dialog.Select(CTL_RELEASE, position);
}

std::string VersionText(const std::array<uint16_t, 4>& version) {
  std::string text;
  // Printed as signed short numbers, as the program has always shown them.
  AppendFormat(text, "%hd.%hd.%hd.%hd", static_cast<short>(version[0]), static_cast<short>(version[1]),
               static_cast<short>(version[2]), static_cast<short>(version[3]));
  return text;
}

}  // namespace

void OpenSettingsDialog(DialogControls& dialog) {
  SessionSettings& settings = Session();
  const std::string line = settings.productLine.str();
  const int32_t mode = settings.installMode;

  if (settings.productLineEditable) {
    dialog.SetText(CTL_PRODUCT_LINE, line);
  } else {
    dialog.SetText(CTL_PRODUCT_LINE, LoadText(text::kProductTitle));
    dialog.SetReadOnly(CTL_PRODUCT_LINE, true);
  }

  dialog.SetChecked(CTL_REPAIR_ONLY, settings.repairOnlyOffered && settings.repairOnly);
  if (settings.noCheck) {
    dialog.SetChecked(CTL_NO_CHECK, true);
    dialog.SetText(CTL_VIRTUAL_DIR, settings.virtualDir);
  }
  dialog.SetChecked(CTL_DEMO, DemoChoiceOffered(line, mode) && settings.demo != 0);
  dialog.SetChecked(CTL_OFFLINE_HELP, HelpChoiceOffered(line, mode) && settings.help != 0);

  dialog.SetText(CTL_RELEASE, settings.release);
  if (!settings.releaseEditable) dialog.MakeDropDownList(CTL_RELEASE);
  dialog.SetText(CTL_USER_NAME, settings.userName);

  if (IsLine(line, line::kNHVW)) {
    settings.language = "NL";
    settings.country = "NL";
  }
  FillCodeList(dialog, CTL_LANGUAGE, text::kLanguageAll, kLanguageCount, settings.language);
  FillCodeList(dialog, CTL_COUNTRY, text::kCountryAll, CountryCount(line, IsGenericBuild()), settings.country);

  FillChoices(dialog, CTL_INSTALL_MODE, InstallModeTexts(BuildLine()), mode);
  FillReleases(dialog, settings);
  FillChoices(dialog, CTL_UPDATE_MODE, UpdateModeTexts(BuildLine()), settings.updateMode);

  dialog.SetText(CTL_INSTALL_DIR, settings.installDir);
  ApplyControlStates(dialog, mode);
  dialog.SetText(CTL_VERSION, VersionText(settings.programVersion));
}

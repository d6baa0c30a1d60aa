#include "app/checkmessages.h"

#include "session/log.h"
#include "session/textids.h"

sys::WindowId OwnerOf(const DialogControls* dialog) { return dialog == nullptr ? 0 : dialog->Window(); }

void ShowCheckMessage(DialogControls* dialog, const std::string& text, const std::string& caption, uint32_t type) {
  LoggedMessageBox(OwnerOf(dialog), text, caption, type, sys::answer::kOk);
}

SettingsCheck FieldFailure(DialogControls* dialog, uint32_t labelId, int controlId) {
  std::string text;
  AppendFormat(text, "%s: ", LoadText(text::kInvalidData).c_str());
  text += LoadText(labelId);
  if (dialog == nullptr) {
    // Nothing is shown before the dialog, but the log says why it is due.
    WriteLog("The settings need the dialog: %s", text.c_str());
    return SettingsCheck::NeedsDialog;
  }
  ShowCheckMessage(dialog, text, "", mb::kOk | mb::kSetForeground);
  dialog->Focus(controlId);
  return SettingsCheck::NeedsDialog;
}

SettingsCheck DialogOnlyMessage(DialogControls* dialog, uint32_t textId, std::optional<int> controlId) {
  if (dialog == nullptr) {
    WriteLog("The settings need the dialog: %s", LoadText(textId).c_str());
    return SettingsCheck::NeedsDialog;
  }
  ShowCheckMessage(dialog, LoadText(textId), "", mb::kOk | mb::kSetForeground);
  if (controlId) dialog->Focus(*controlId);
  return SettingsCheck::NeedsDialog;
}

SettingsCheck Refuse(DialogControls* dialog, const std::string& text, const std::string& caption, uint32_t type,
                     int endResult) {
  ShowCheckMessage(dialog, text, caption, type);
  if (dialog != nullptr) dialog->End(endResult);
  return SettingsCheck::Stop;
}

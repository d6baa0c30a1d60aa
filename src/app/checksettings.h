#pragma once
// The settings check: whether the session's settings are complete and whether this
// machine may run the chosen installation. The driver calls it without a window before
// each pass, the settings dialog from its OK button.
class DialogControls;

enum class SettingsCheck {
  Accepted = 0,     // the dialog, if any, has been ended with 1
  NeedsDialog = 1,  // a field must be corrected: the focus is on it; without a window the dialog is due
  Stop = 2,         // the run must not go on; the dialog has been ended unless the check says otherwise
};

// `dialog` is the settings dialog, or null before it is shown.
SettingsCheck CheckSettings(DialogControls* dialog);

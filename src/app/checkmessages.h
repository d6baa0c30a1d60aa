#pragma once
// How the settings check tells the user about a failed step: a field failure points the
// dialog back to its control, a refusal ends the dialog.
#include <cstdint>
#include <optional>
#include <string>

#include "app/checksettings.h"
#include "app/dialogcontrols.h"

// A step's verdict: nothing when the check goes on.
using CheckStep = std::optional<SettingsCheck>;

// The window that owns the check's boxes; 0 without a dialog.
sys::WindowId OwnerOf(const DialogControls* dialog);

// "The following data is invalid: <label>" in the dialog's box, then the focus on the
// control. Without a dialog nothing is shown, only logged. Always NeedsDialog.
SettingsCheck FieldFailure(DialogControls* dialog, uint32_t labelId, int controlId);

// A message shown only with a window (the focus then on `controlId`, when given); NeedsDialog.
SettingsCheck DialogOnlyMessage(DialogControls* dialog, uint32_t textId, std::optional<int> controlId);

// Shows `text` in a logged OK box owned by the dialog (or none), then ends the dialog
// with `endResult`. Always Stop.
SettingsCheck Refuse(DialogControls* dialog, const std::string& text, const std::string& caption,
                     uint32_t type, int endResult = 2);

// A logged OK box owned by the dialog, brought to the foreground.
void ShowCheckMessage(DialogControls* dialog, const std::string& text, const std::string& caption,
                      uint32_t type);

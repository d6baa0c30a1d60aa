#pragma once
// The settings dialog's decisions: what it shows on opening and for each install mode,
// what OK writes back into the session, and what its buttons do. The Win32 dialog
// procedure only forwards messages here and applies the results to real controls.
#include <cstdint>

class DialogControls;

// Fills the dialog from the session when it opens (after the caption and icon are set).
void OpenSettingsDialog(DialogControls& dialog);

// Texts, visibility and enabling of the controls for install mode `mode` and the
// session's product line and flags.
void ApplyControlStates(DialogControls& dialog, int32_t mode);

// A button or check box was pressed (control `id`): OK, Cancel, Refresh, Help, Release
// notes, the offline-help box. Other ids are ignored.
void SettingsDialogCommand(DialogControls& dialog, int id);

// The install-mode list accepted a new selection.
void InstallModeChosen(DialogControls& dialog);

// OK's reading of the fields into the session, before the settings check (steps of OK
// that touch no other window).
void ReadSettingsDialog(DialogControls& dialog);

#pragma once
// The later stages of a settings-loop pass, as the driver calls them. Each is installed by
// the code that implements it (dialogs and the progress window live with the user
// interface); a stage that is not installed ends the loop with a log line naming it.
#include <functional>

// What the settings check decides before the dialog.
enum class SettingsCheck { Accepted = 0, NeedsDialog = 1, Stop = 2 };

struct StartupStages {
  // The settings check without a dialog window.
  std::function<SettingsCheck()> checkSettings;
  // The modal settings dialog; true when it was confirmed with OK.
  std::function<bool()> settingsDialog;
  // A notice dialog by resource number; its answer (the button's id).
  std::function<int(int dialogId)> showNotice;
  // Creates the progress window, whose worker runs the update, and pumps messages until
  // the window has closed.
  std::function<void()> runProgressWindow;

  // After a successful run: the persisted settings and the per-line registrations,
  // search path, shortcuts and uninstall entry of a workstation.
  std::function<void()> recordWorkstation;
  // After a successful run in modes 1 to 5 and 7: the hand-over files and the program's
  // copies in the installation, or the CD image set.
  std::function<void()> handOverToInstallation;
  // After a run that replaces files at the next restart: registers the resumed run
  // (unless `registerResumedRun` is false) and offers the restart.
  std::function<void(bool registerResumedRun)> restartAfterRun;
};

// The stages the driver uses; empty members until installed.
StartupStages& Stages();

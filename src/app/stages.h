#pragma once
// The stages of a settings-loop pass that cross into a window (the dialogs, the progress
// window), as the driver calls them. Each
// is installed by the code that implements it; a stage that is not installed ends the
// loop with a log line naming it.
#include <functional>

struct StartupStages {
  // The modal settings dialog; true when it was confirmed with OK.
  std::function<bool()> settingsDialog;
  // A notice dialog by resource number; its answer (the button's id).
  std::function<int(int dialogId)> showNotice;
  // The uninstall confirmation (dialog 117): Yes (6) or No (7).
  std::function<int()> confirmUninstall;
  // Creates the progress window, whose worker runs the update (the uninstall when it was
  // asked for), and pumps messages until the window has closed.
  std::function<void()> runProgressWindow;
};

// The stages the driver uses; empty members until installed.
StartupStages& Stages();

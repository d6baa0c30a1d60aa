#pragma once
// The end of a successful run: the completion message and the start of the installed
// product.
#include <string>

// The completion text a workstation shows: text::kInstallationCompleted and the notes
// its line and mode call for (the web product's first steps, the running web server,
// the conversion).
std::string WorkstationCompletionText(bool webServerRunning);

// The command the installed product is started with, by line; `useShell` tells whether
// it is an address for the shell's "open" rather than a program to run.
struct ProductStart {
  std::string command;
  std::string workingFolder;
  bool useShell = false;
};
ProductStart ProductStartFor(const std::string& computerName);

// Clears the marker, tells the user (or the log) that the run finished and starts the
// product on a workstation.
void ShowFinalMessage();

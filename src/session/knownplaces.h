#pragma once
// The places on this machine that settings, the log and the folder macros refer to.
// Filled once at start-up (the spreadsheet and Flash folders on first need).
#include <string>

struct KnownPlaces {
  std::string windowsFolder;
  std::string systemFolder;
  std::string tempFolder;          // with its trailing backslash, as the system gives it
  std::string programFilesFolder;  // "C:\Program Files" when the registry does not say
  std::string commonFilesFolder;   // "C:\Program Files\Common Files" when the registry does not say
  std::string documentsFolder;     // the user's personal documents folder
  std::string excelFolder;         // empty unless it names an existing directory
  std::string excelStartFolder;    // on first need
  std::string excelLibFolder;      // on first need
  bool excelLookupDone = false;
};

KnownPlaces& Places();

// Resolves the fixed places through the OS seam (registry, system folders).
void ResolveKnownPlaces();

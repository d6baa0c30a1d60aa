#pragma once
// What the settings dialog and the settings check know about the two web product lines
// beside the session: the virtual directories stored for them on this machine, whether
// each is installed here (its machine key exists), and whether the user typed a web line
// into the dialog.
#include <string>


struct WebLines {
  std::string classicVirtualDir;  // "HalomirVDir", at most 127 characters
  std::string dotNetVirtualDir;   // "HalomirNETVDir", at most 127 characters
  // Set when the dialog's OK read FYNDRA or Halomir.NET from the product-line field;
  // never cleared again.
  bool webLineFromDialog = false;
};

WebLines& StoredWebLines();

// Whether the web products' machine keys (platform/websetup.h) exist.
bool ClassicWebKeyExists();
bool DotNetWebKeyExists();

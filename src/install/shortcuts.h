#pragma once
// One shortcut in a special folder: cleaning the folder of the shortcuts that a new one
// replaces, and writing it. Shell links (".lnk") for the desktop lines, internet
// shortcuts (".url") for the web lines. Shell errors are not reported: a shortcut that
// cannot be made is simply missing.
#include <string>

struct Shortcut {
  std::string target;  // a program path, or the address of an internet shortcut
  std::string name;    // the file name without extension, also the description
  std::string workingFolder;
  std::string arguments;
  std::string icon;
  int iconIndex = 0;
};

// Deletes the folder's shell links that `shortcut` replaces: with `removeOnly` every link
// whose working folder is the shortcut's; otherwise every link whose file name begins
// with its name, and (except for the web lines) every other link to the same target.
// Always 0: the caller writes the shortcut afresh.
int FindOrCleanShortcuts(int csidl, const Shortcut& shortcut, bool removeOnly);

// Deletes the folder's internet shortcuts to the same address, in both modes. Always 0.
int FindOrCleanUrlShortcuts(int csidl, const Shortcut& shortcut, bool removeOnly);

// Writes "<folder>\<name>.lnk", or "<folder>\<name>.url" for the web lines.
void CreateShortcut(int csidl, const Shortcut& shortcut);

#pragma once
// The list of releases the site offers for the session's product line. The settings
// dialog asks for it interactively; the update run refreshes the stored list quietly.
#include <string>
#include <vector>

#include "sys/desktop.h"

// What the request fills in the settings dialog; the dialog implements it.
class ReleaseListDialog {
 public:
  virtual ~ReleaseListDialog() = default;
  virtual sys::WindowId Window() const = 0;
  // The notice below the release choice.
  virtual void SetStatusText(const std::string& text) = 0;
  // Replaces the release choices with `releases` and selects the first.
  virtual void ShowReleases(const std::vector<std::string>& releases) = 0;
};

// The release list kept in the session holds at most this many characters.
constexpr std::size_t kReleaseListMaxLength = 127;

// Interactive (`quiet` false): opens and closes its own site session, reports failures
// and fills `dialog`. Quiet: uses the open session, reports nothing, touches no dialog.
// A new list is stored in the session and in the registry value "ReleaseList".
void RequestReleaseList(ReleaseListDialog* dialog, bool quiet);

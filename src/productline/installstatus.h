#pragma once
// The install-status marker: "Updating", "Uninstalling" or "Reboot" while an installation
// is unfinished, absent otherwise. A workstation keeps it in its line's machine key, a
// network installation in its "wsetup.ini".
#include <optional>
#include <string>

// Sets the marker to `status`, or removes it when there is none. The web lines keep no
// marker; a CD creation keeps none either. Results of the writes are not checked.
void SetInstallStatus(const std::optional<std::string>& status);

// The network installation in `netDir` is unfinished: its "wsetup.ini" holds a non-empty
// marker. An absent file or value means finished.
bool NetworkInstallationUnfinished(const std::string& netDir);

// A run of this network installation (modes 1, 2 and 7) was stopped while it installed:
// its "wsetup.ini" still says "Updating". "Reboot" does not count: the moves waiting for
// the restart may belong to another machine, which alone knows them.
bool NetworkRunCutOff();

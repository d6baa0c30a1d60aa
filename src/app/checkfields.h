#pragma once
// The settings check's field steps: the product line, the release, the source of the
// chosen mode and the installation folder, in this order; the first failure decides.
#include <string_view>

#include "app/checkmessages.h"

// At least three characters, and either two leading backslashes or a drive letter
// followed by ":\".
bool IsWellFormedFolder(std::string_view folder);

// Also fills the registration fields once the product line and release are known.
CheckStep CheckFields(DialogControls* dialog);

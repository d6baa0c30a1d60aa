#pragma once
// The key word of an installation below the settings key: its folder with every
// backslash turned into a hyphen ("C:\Apps\Fin" is "C:-Apps-Fin").
#include <string>
#include <string_view>

std::string FolderKey(std::string_view folder);

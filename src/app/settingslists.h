#pragma once
// The settings dialog's lists as the build and the product line shape them: which
// install modes and update modes are offered, how many countries, and which lines store
// a language and country code.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Languages: "(All)" and 29 languages, from text::kLanguageAll on.
constexpr int kLanguageCount = 30;

// How many of the country entries (from text::kCountryAll on) the line offers.
int CountryCount(std::string_view productLine, bool genericBuild);

// The texts of the install-mode list for the build's own line (compared with case); a
// position is the mode value OK stores.
std::vector<uint32_t> InstallModeTexts(std::string_view buildLine);
// The texts of the update-mode list: position 0 during, 1 after the download.
std::vector<uint32_t> UpdateModeTexts(std::string_view buildLine);

// Whether OK stores the chosen language and country codes for the line in `mode`.
bool StoresLanguageCodes(std::string_view productLine, int32_t mode);
// Whether the language and country lists are shown for the line in `mode`.
bool ShowsLanguageLists(std::string_view productLine, int32_t mode, bool genericBuild);

// Whether the dialog asks for the web line's virtual directory: the line is FYNDRA or
// Halomir.NET and this machine has no stored directory for it or lacks its machine key.
bool VirtualDirAsked(std::string_view productLine);
// The virtual directory stored for the web line on this machine, when its machine key
// exists; empty otherwise and for other lines.
std::string StoredVirtualDir(std::string_view productLine);

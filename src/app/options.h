#pragma once
// The command line's option syntax: "/NAME:value", "/NAME:\"value with blanks\"".
// Names compare with letter case; the last occurrence counts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The value of option `name` (without slash and colon) in `commandLine`: quoted up to
// the closing quote, else up to the next blank or the end. Empty optional when the
// option is absent or its quoted value has no closing quote.
std::optional<std::string> FindOption(std::string_view commandLine, std::string_view name);

// An option's number: leading blanks, an optional sign and decimal digits; anything
// else gives 0 (and a number beyond the 32-bit range is held at its limit).
int32_t OptionNumber(std::string_view text);

// A flag option's value: true when it begins with "1".
bool OptionFlag(std::string_view text);

// "/nocheck" anywhere in the line, in any letter case.
bool HasNoCheckSwitch(std::string_view commandLine);

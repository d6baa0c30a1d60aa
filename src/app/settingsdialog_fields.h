#pragma once
// Field readings that OK and Refresh share.
#include <string>
#include <string_view>

class DialogControls;

// `text` without blanks and TABs at both ends.
std::string TrimBlanks(std::string_view text);
// The session's user name, password and domain from their fields; name and domain trimmed.
void ReadCredentials(const DialogControls& dialog);

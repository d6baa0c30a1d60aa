#pragma once
// The report of a failed WinINet call: the operation, the number and the system's text,
// and for 12003 the server's own response text.
#include <string>

#include "sys/result.h"

// Shows the report in a logged OK box (no owner, default caption, foreground). Always true.
bool ReportInternetError(sys::Error code, const std::string& operation);

// The text of the report, or nothing when there is nothing to show (12003 with an empty
// server response).
bool ComposeInternetError(sys::Error code, const std::string& operation, std::string& text);

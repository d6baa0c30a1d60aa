#pragma once
// Registration of a component at the next start of the machine, for a file that is
// replaced only then.
#include <string>

// Writes a RunOnce value "MolvexRegister<n>" that registers `path`. False when the key
// could not be opened.
bool RegisterAtNextLogon(const std::string& path);

void ResetRunOnceCounter();

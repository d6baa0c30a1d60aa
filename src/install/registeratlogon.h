#pragma once
// Registration of a component at the next start of the machine, for a file that is
// replaced only then.
#include <string>

// Writes a RunOnce value "MolvexRegister<n>" that registers `path`. 1 written; 0 the key
// could not be opened.
int RegisterAtNextLogon(const std::string& path);

void ResetRunOnceCounter();

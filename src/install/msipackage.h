#pragma once
// A Windows Installer package that the file list delivers (the report runtime), installed
// without questions and without the installer restarting the machine.
#include <string>

#include "sys/result.h"

// Verifies and installs the package: 0 installed, else the installer's error number
// (already logged; the caller tells the user).
sys::Error InstallMsiPackage(const std::string& path);

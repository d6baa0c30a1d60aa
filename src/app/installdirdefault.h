#pragma once
// Where the installation goes when neither the command line nor the mode says: the
// payroll program's own record, the settings, the desktop platform's record, then the
// build's default folder.
#include <string>

class SettingsSources;

// The installation folder of the mode's table when /I: gave none (may be empty).
std::string InstallDirForMode(const SettingsSources& sources, int mode);

// The workstation lookup (modes 0, 3, 4 and 6) once nothing else gave a folder.
std::string LookUpWorkstationInstallDir(const SettingsSources& sources);

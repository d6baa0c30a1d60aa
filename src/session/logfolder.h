#pragma once
// Where the log goes: the CD-creation run writes into the personal documents folder,
// every other run into "<installDir>\usr" when the installation folder exists.
#include <string>

std::string ChooseLogFolder();
// The folder for a log that cannot go into the installation (the documents folder).
std::string LogFolderOutsideInstallation();

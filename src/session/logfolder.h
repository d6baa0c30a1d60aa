#pragma once
// Where the log goes: the CD-creation run writes into the personal documents folder,
// every other run into "<installDir>\usr" when the installation folder exists.
#include <string>

std::string ChooseLogFolder();

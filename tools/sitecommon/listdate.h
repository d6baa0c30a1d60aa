#pragma once
// The list's date text, DD-MM-YYYY hh:mm:ss, in the local time of this machine.
#include <ctime>
#include <string>

#include "filelist/listformat.h"

namespace site {

std::string ListDateText(std::time_t when);

}  // namespace site

#pragma once
// The list's date text, DD-MM-YYYY hh:mm:ss, in the local time of this machine.
#include <ctime>
#include <string>

namespace site {

constexpr size_t kListDateLength = 19;

std::string ListDateText(std::time_t when);

}  // namespace site

#include "listdate.h"

#include <cstdio>

namespace site {

std::string ListDateText(std::time_t when) {
  std::tm local{};
  if (!localtime_r(&when, &local)) return std::string(kListDateLength, '0');
  char text[64];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace site

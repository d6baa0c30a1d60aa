#pragma once
// Automation objects of other programs (the spreadsheet application, installed controls),
// reached through their program identifiers. The caller's thread has COM initialised.
// Error numbers here are COM result codes (HRESULT bits as an unsigned number).
#include <string>
#include <vector>

#include "sys/result.h"

namespace sys {

class Automation {
 public:
  virtual ~Automation() = default;

  // CLSIDFromProgID: the program identifier's class in its registry form
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; an error when the identifier is not registered.
  virtual Result<std::string> ClassIdOf(const std::string& programId) = 0;

  // Creates the object as a local server with its dispatch interface, reads each named
  // property in order as a text (converted to ANSI) and releases the object again.
  // An error when the object cannot be created; a property that cannot be read, or is
  // not a text, comes back as the empty text in its place.
  virtual Result<std::vector<std::string>> ReadStringProperties(const std::string& programId,
                                                               const std::vector<std::string>& names) = 0;
};

}  // namespace sys

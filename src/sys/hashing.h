#pragma once
// Digests of files by the system's own cryptography, so the program checks what it
// transferred without carrying a hash function of its own.
#include <string>

#include "sys/result.h"

namespace sys {

class Hashing {
 public:
  virtual ~Hashing() = default;
  // The SHA-256 of the whole file as 64 lower-case hexadecimal digits, or why the file
  // could not be read or hashed.
  virtual Result<std::string> FileSha256(const std::string& path) = 0;
};

}  // namespace sys

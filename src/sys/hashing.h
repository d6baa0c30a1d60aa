#pragma once
// Digests and signatures of files by the system's own cryptography, so the program
// checks what it transferred without carrying a cryptographic function of its own.
#include <string>

#include "sys/result.h"

namespace sys {

class Hashing {
 public:
  virtual ~Hashing() = default;
  // The SHA-256 of the whole file as 64 lower-case hexadecimal digits, or why the file
  // could not be read or hashed.
  virtual Result<std::string> FileSha256(const std::string& path) = 0;
  // Whether `signatureBase64` signs the whole file with the private half of
  // `publicKeyPem` (an RSA "PUBLIC KEY" in PEM form), RSA over SHA-256 with PKCS #1 v1.5
  // padding. False for any other signature, or a key or signature that does not decode;
  // fails only when the file cannot be read.
  virtual Result<bool> FileSignedBy(const std::string& path, const std::string& publicKeyPem,
                                    const std::string& signatureBase64) = 0;
};

}  // namespace sys

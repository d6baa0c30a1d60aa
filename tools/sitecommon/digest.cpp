#include "digest.h"

#include <openssl/evp.h>

namespace site {

std::string Sha256Hex(const void* bytes, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes, size, digest, &length, EVP_sha256(), nullptr) != 1) return {};
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 15];
  }
  return hex;
}

}  // namespace site

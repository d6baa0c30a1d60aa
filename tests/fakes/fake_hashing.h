#pragma once
// Digests of the pretend machine's files, made by libcrypto as the system would make them.
#include <openssl/evp.h>

#include <cstdio>
#include <string>

#include "fakes/fake_files.h"
#include "sys/hashing.h"

namespace fakes {

class FakeHashing : public sys::Hashing {
 public:
  explicit FakeHashing(FakeFiles& files) : files_(files) {}

  sys::Result<std::string> FileSha256(const std::string& path) override {
    std::optional<std::string> bytes = files_.ReadText(path);
    if (!bytes) return sys::Result<std::string>::Fail(sys::err::kFileNotFound);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes->data(), bytes->size(), digest, &length, EVP_sha256(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02x", digest[i]);
      hex += pair;
    }
    return sys::Result<std::string>::Ok(hex);
  }

 private:
  FakeFiles& files_;
};

}  // namespace fakes

#pragma once
// Digests of the pretend machine's files, made by libcrypto as the system would make them.
#include "digest.h"
#include "fakes/fake_files.h"
#include "sys/hashing.h"

namespace fakes {

class FakeHashing : public sys::Hashing {
 public:
  explicit FakeHashing(FakeFiles& files) : files_(files) {}
  sys::Result<std::string> FileSha256(const std::string& path) override {
    std::optional<std::string> bytes = files_.ReadText(path);
    if (!bytes) return sys::Result<std::string>::Fail(sys::err::kFileNotFound);
    return sys::Result<std::string>::Ok(site::Sha256Hex(bytes->data(), bytes->size()));
  }

 private:
  FakeFiles& files_;
};

}  // namespace fakes

#pragma once
// Digests of the pretend machine's files, made by libcrypto as the system would make them.
#include "digest.h"
#include "fakes/fake_files.h"
#include "sys/hashing.h"

namespace fakes {

struct FakeHashing : sys::Hashing {
  explicit FakeHashing(FakeFiles& files) : files(files) {}
  sys::Result<std::string> FileSha256(const std::string& path) override {
    std::optional<std::string> bytes = files.ReadText(path);
    if (!bytes) return sys::Result<std::string>::Fail(sys::err::kFileNotFound);
    return sys::Result<std::string>::Ok(site::Sha256Hex(bytes->data(), bytes->size()));
  }
  FakeFiles& files;
};

}  // namespace fakes

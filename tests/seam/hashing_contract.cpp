// File digests are the standard SHA-256 in lower-case hex, over files longer than one
// read as well; a missing file gives its error.
#include "seam/contract.h"
#include "sys/hashing.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

SEAM_CHECK(FileDigestsAreSha256InLowerCaseHex) {
  sys::Hashing& hashing = *sys::os().hashing;
  struct Known {
    const char* name;
    std::string bytes;
    const char* digest;
  };
  const Known known[] = {
      {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"million", std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Known& k : known) {
    const std::string path = sys::JoinPath(bench.folder, k.name);
    seam::WriteFile(path, k.bytes);
    SEAM_EQ(hashing.FileSha256(path).value, std::string(k.digest));
  }
  SEAM_EQ(hashing.FileSha256(sys::JoinPath(bench.folder, "none")).error, sys::err::kFileNotFound);
}

}  // namespace

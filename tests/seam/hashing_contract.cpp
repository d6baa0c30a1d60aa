// File digests are the standard SHA-256 in lower-case hex, also over many reads; a
// missing file gives its error.
#include "seam/contract.h"
#include "sys/hashing.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

SEAM_CHECK(FileDigestsAreSha256InLowerCaseHex) {
  const std::string abc = sys::JoinPath(bench.folder, "abc"), million = sys::JoinPath(bench.folder, "million");
  seam::WriteFile(abc, "abc");
  seam::WriteFile(million, std::string(1000000, 'a'));
  SEAM_EQ(sys::os().hashing->FileSha256(abc).value,
          std::string("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
  SEAM_EQ(sys::os().hashing->FileSha256(million).value,
          std::string("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"));
  SEAM_EQ(sys::os().hashing->FileSha256(sys::JoinPath(bench.folder, "none")).error, sys::err::kFileNotFound);
}

}  // namespace

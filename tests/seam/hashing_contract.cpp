// File digests are SHA-256 in lower-case hex, over many reads; a missing file gives its error.
#include "seam/contract.h"
#include "sys/hashing.h"
#include "sys/os.h"

SEAM_CHECK(FileDigestsAreSha256InLowerCaseHex) {
  const std::string million = bench.folder + "\\million";
  seam::WriteFile(million, std::string(1000000, 'a'));
  SEAM_EQ(sys::os().hashing->FileSha256(million).value,
          std::string("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"));
  SEAM_EQ(sys::os().hashing->FileSha256(million + "x").error, sys::err::kFileNotFound);
}

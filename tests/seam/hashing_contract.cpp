// File digests are SHA-256 in lower-case hex, over many reads; a missing file gives its error.
#include "seam/contract.h"
#include "seam/data/testkeys.h"
#include "sys/hashing.h"
#include "sys/os.h"

SEAM_CHECK(FileDigestsAreSha256InLowerCaseHex) {
  const std::string million = bench.folder + "\\million";
  seam::WriteFile(million, std::string(1000000, 'a'));
  SEAM_EQ(sys::os().hashing->FileSha256(million).value,
          std::string("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"));
  SEAM_EQ(sys::os().hashing->FileSha256(million + "x").error, sys::err::kFileNotFound);
}

// Only the signing key's own signature of the exact bytes passes.
SEAM_CHECK(FileSignaturesPassOnlyForTheKeyAndTheBytesSigned) {
  sys::Hashing& hashing = *sys::os().hashing;
  const std::string list = bench.folder + "\\list", altered = bench.folder + "\\altered";
  seam::WriteFile(list, testkeys::kSigned);
  std::string flipped = testkeys::kSigned;
  flipped[4] ^= 1;
  seam::WriteFile(altered, flipped);
  SEAM_EQ(hashing.FileSignedBy(list, testkeys::kPublicKey, testkeys::kSignature).value, true);
  SEAM_EQ(hashing.FileSignedBy(altered, testkeys::kPublicKey, testkeys::kSignature).value, false);
  SEAM_EQ(hashing.FileSignedBy(list, testkeys::kOtherPublicKey, testkeys::kSignature).value, false);
  SEAM_EQ(hashing.FileSignedBy(list, testkeys::kPublicKey, "").value, false);
  SEAM_EQ(hashing.FileSignedBy(list, "no key", testkeys::kSignature).value, false);
  SEAM_EQ(hashing.FileSignedBy(list + "x", testkeys::kPublicKey, testkeys::kSignature).error, sys::err::kFileNotFound);
}

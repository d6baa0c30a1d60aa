// Every cabinet of the shared corpus against what the reference decoder made of it. The
// corpus lives beside the checkout; without it this test is skipped (cabinet.selfmade,
// the corpus made at test time, runs either way).
#include <gtest/gtest.h>
#include <openssl/sha.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

const std::string kCorpus = std::string(PLANDRIX_SHARED_DIR) + "/testdata/cabinets/";

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> cells;
  std::stringstream split(text);
  for (std::string cell; std::getline(split, cell, separator);) cells.push_back(cell);
  return cells;
}

std::string Sha256Hex(const std::string& bytes) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  std::string hex;
  for (unsigned char b : digest) hex += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
  return hex;
}

TEST(CabinetCorpus, EveryCabinetMatchesTheReferenceOrFailsCleanly) {
  std::ifstream manifest(kCorpus + "MANIFEST.tsv");
  if (!manifest) GTEST_SKIP() << "the shared cabinet corpus is not beside the checkout: " << kCorpus;
  int matched = 0, refused = 0;
  // Columns: path, origin, methods, files, verdict, extracted (name;size;sha256;...), messages.
  for (std::string line; std::getline(manifest, line);) {
    std::vector<std::string> row = Split(line, '\t'), extracted = Split(row.size() > 5 ? row[5] : "", ';'), digests;
    if (row.size() < 7 || row[0] == "path") continue;
    SCOPED_TRACE(row[0]);
    for (size_t i = 2; i < extracted.size(); i += 3) digests.push_back(extracted[i]);
    std::ifstream in(kCorpus + row[0], std::ios::binary);
    Extraction got = Extract(std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_TRUE(got.ok || (got.error >= 1 && got.error <= 11)) << got.error;
    // This decoder follows no cabinet set and reads a cabinet only from its first byte,
    // where the reference also finds pieces of sets and cabinets embedded in other files.
    bool readable = row[6].find("extends") == std::string::npos && row[2].find("embedded@") == std::string::npos &&
                    row[0].find("search_") == std::string::npos;
    ++(row[4] == "ok" && readable ? matched : refused);
    EXPECT_EQ(got.ok, row[4] == "ok" && readable) << "error " << got.error;
    EXPECT_TRUE(!got.ok || got.files.size() == digests.size()) << got.files.size() << " files";
    for (size_t i = 0; i < got.files.size(); ++i)  // what was finished must be right, in order when all is
      EXPECT_TRUE(got.ok ? i < digests.size() && Sha256Hex(got.files[i].bytes) == digests[i]
                         : std::count(digests.begin(), digests.end(), Sha256Hex(got.files[i].bytes)) > 0)
          << got.files[i].name;
  }
  EXPECT_GT(matched + refused, 200);
  std::printf("corpus: %d cabinets match the reference, %d refused\n", matched, refused);
}

}  // namespace
}  // namespace cabtest

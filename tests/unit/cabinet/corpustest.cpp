// Every cabinet of the shared corpus against what the reference decoder made of it.
#include <gtest/gtest.h>

#include <string>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

// The manifest writes names with bytes outside printable ASCII (and ';', '\') as \xNN
// unless the name is valid UTF-8; comparing sizes and digests in order is what matters.
bool IsSplitSetPiece(const ManifestRow& row) { return row.messages.find("extends") != std::string::npos; }
// The reference finds cabinets embedded further into a file; this decoder reads a cabinet
// only from its first byte.
bool IsEmbeddedSearch(const ManifestRow& row) {
  return row.methods.find("embedded@") != std::string::npos || row.path.find("search_") != std::string::npos;
}

TEST(CabinetCorpus, EveryCabinetMatchesTheReferenceOrFailsCleanly) {
  std::vector<ManifestRow> rows = LoadManifest();
  ASSERT_GT(rows.size(), 200u) << "corpus manifest not found under " << CorpusDir();
  int matched = 0, refused = 0;
  for (const ManifestRow& row : rows) {
    SCOPED_TRACE(row.path);
    Extraction got = ExtractFile(CorpusDir() + row.path);
    if (!got.ok) {
      EXPECT_GE(got.error, 1);
      EXPECT_LE(got.error, 11);
    }
    if (row.verdict == "ok" && !IsSplitSetPiece(row) && !IsEmbeddedSearch(row)) {
      EXPECT_TRUE(got.ok) << "error " << got.error;
      EXPECT_EQ(got.files.size(), row.extracted.size());
      if (!got.ok || got.files.size() != row.extracted.size()) continue;
      for (size_t i = 0; i < got.files.size(); ++i) {
        EXPECT_EQ(got.files[i].bytes.size(), row.extracted[i].size) << row.extracted[i].name;
        EXPECT_EQ(Sha256Hex(got.files[i].bytes), row.extracted[i].sha256) << row.extracted[i].name;
      }
      ++matched;
    } else {
      // Refused (split set pieces, embedded cabinets, broken ones); files the decoder did
      // finish must still be right.
      EXPECT_FALSE(got.ok);
      for (const ExtractedFile& file : got.files) {
        bool known = false;
        for (const ManifestRow::File& expected : row.extracted)
          known = known || (expected.size == file.bytes.size() && expected.sha256 == Sha256Hex(file.bytes));
        EXPECT_TRUE(known) << file.name;
      }
      ++refused;
    }
  }
  std::printf("corpus: %d cabinets match the reference, %d refused\n", matched, refused);
}

}  // namespace
}  // namespace cabtest

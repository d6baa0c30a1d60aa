// ExpandCabinet as the item installation uses it: the one file lands in the given output
// file, a page that is no cabinet fails, a path without a folder is reported, and a
// cabinet of several files is refused.
#include "updaterun/expandcabinet.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "fakes/fake_os.h"
#include "session/log.h"

namespace {

std::string ReadDisk(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

class ExpandCabinetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os_.files.WriteText(output_, "");  // the caller hands over an empty temporary file
    os_.desktop.strings[169] = "Invalid cabinet path";
    os_.desktop.strings[170] = "Failed to create cabinet context";
  }
  void TearDown() override { CloseLog(); }
  // A cabinet of the corpus, copied into the fake disk under a short name (the fake does
  // not open files by the short aliases the expansion asks for).
  std::string Corpus(const std::string& path) {
    std::string copy = dir_ + "\\cab" + std::to_string(++copies_) + ".cab";
    os_.files.WriteText(copy, ReadDisk(std::string(PLANDRIX_SHARED_DIR) + "/testdata/cabinets/" + path));
    return copy;
  }
  std::string ReadAll(const std::string& path) { return os_.files.ReadText(path).value_or(""); }
  FakeOs os_;
  std::string dir_ = "C:\\Temp\\cabs";
  std::string output_ = "C:\\Temp\\~pdx1234.tmp";
  int copies_ = 0;
};

TEST_F(ExpandCabinetTest, TheCabinetsOneFileFillsTheOutputFile) {
  std::string first;
  for (const char* cab : {"generated/gcab-stored/query.dll.cab", "generated/gcab-mszip/query.dll.cab",
                          "generated/lzxcab/query.dll.w17.aligned.e8.cab"}) {
    os_.files.WriteText(output_, "");
    ASSERT_TRUE(ExpandCabinet(Corpus(cab), output_)) << cab << ": error " << CabinetErrorRecord().code;
    std::string bytes = ReadAll(output_);
    EXPECT_EQ(bytes.size(), 147328u) << cab;
    EXPECT_EQ(bytes.substr(0, 2), "MZ") << cab;
    if (first.empty()) first = bytes;
    EXPECT_TRUE(bytes == first) << cab << " differs from the stored copy";
  }
  EXPECT_TRUE(os_.desktop.boxes.empty());
}

TEST_F(ExpandCabinetTest, AnErrorPageIsNoCabinet) {
  std::string page = dir_ + "\\item.cab";
  os_.files.WriteText(page, "<html><head><title>Error</title></head><body>Session expired</body></html>");
  EXPECT_FALSE(ExpandCabinet(page, output_));
  EXPECT_EQ(CabinetErrorRecord().code, cab::error::kNotACabinet);
  EXPECT_TRUE(ReadAll(output_).empty());
  EXPECT_TRUE(os_.desktop.boxes.empty()) << "the caller asks the question, not the expansion";
}

TEST_F(ExpandCabinetTest, APathWithoutAFolderIsReported) {
  EXPECT_FALSE(ExpandCabinet("item.cab", output_));
  ASSERT_EQ(os_.desktop.boxes.size(), 1u);
  EXPECT_EQ(os_.desktop.boxes[0].text, "Invalid cabinet path: item.cab");
}

TEST_F(ExpandCabinetTest, AnotherVersionFailsWithItsCode) {
  std::string cab = ReadAll(Corpus("generated/gcab-stored/BSD.txt.cab"));
  cab[24] = 4;
  std::string path = dir_ + "\\newer.cab";
  os_.files.WriteText(path, cab);
  EXPECT_FALSE(ExpandCabinet(path, output_));
  EXPECT_EQ(CabinetErrorRecord().code, cab::error::kUnknownVersion);
}

TEST_F(ExpandCabinetTest, ACabinetOfSeveralFilesIsRefusedAtItsSecondFile) {
  EXPECT_FALSE(ExpandCabinet(Corpus("reference/cabextract/cabs/simple.cab"), output_));
  EXPECT_EQ(CabinetErrorRecord().code, cab::error::kUserAbort);
  // The next single-file cabinet goes through the same context as usual.
  os_.files.WriteText(output_, "");
  EXPECT_TRUE(ExpandCabinet(Corpus("generated/cabarc-mszip/BSD.txt.cab"), output_));
  EXPECT_EQ(ReadAll(output_).size(), 1499u);
}

TEST_F(ExpandCabinetTest, NotifyWritesFromTheStartOfTheOutputAndClosesIt) {
  os_.files.WriteText(output_, "0123456789");
  cab::Notification copy;
  copy.user = const_cast<char*>(output_.c_str());
  ExpandCabinet("no-folder.cab", output_);  // resets the per-expansion file count
  intptr_t handle = CabinetNotify(cab::notify::kCopyFile, &copy);
  ASSERT_GT(handle, 0);
  cab::Notification close;
  close.handle = handle;
  EXPECT_EQ(CabinetNotify(cab::notify::kCloseFile, &close), 1);
  EXPECT_EQ(ReadAll(output_), "0123456789") << "opened without truncation";
  EXPECT_EQ(CabinetNotify(cab::notify::kCabinetInfo, &copy), 0);
  EXPECT_EQ(CabinetNotify(cab::notify::kNextCabinet, &copy), 0);
  DestroyCabinetContext();
  DestroyCabinetContext();
}

}  // namespace

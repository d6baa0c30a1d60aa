// ExpandCabinet as the item installation uses it: a page that is no cabinet or a missing one
// fails quietly, and a path without a folder is reported. (Whole cabinets, and the refusal
// of one with several files, are the self-made corpus script's.)
#include "updaterun/expandcabinet.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_os.h"
#include "session/log.h"

namespace {

class ExpandCabinetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os_.files.WriteText(output_, "");  // the caller hands over an empty temporary file
    os_.desktop.strings[169] = "Invalid cabinet path";
  }
  void TearDown() override { CloseLog(); }
  std::string ReadAll(const std::string& path) { return os_.files.ReadText(path).value_or(""); }
  const std::string kCabinets = "C:\\Temp\\cabs\\";
  FakeOs os_;
  std::string output_ = "C:\\Temp\\~pdx1234.tmp";
};

TEST_F(ExpandCabinetTest, AnErrorPageIsNoCabinetAndAMissingOneIsNotFound) {
  std::string page = kCabinets + "item.cab";
  os_.files.WriteText(page, "<html><head><title>Error</title></head><body>Session expired</body></html>");
  EXPECT_FALSE(ExpandCabinet(page, output_));
  EXPECT_EQ(CabinetErrorRecord().code, cab::error::kNotACabinet);
  EXPECT_TRUE(ReadAll(output_).empty());
  EXPECT_FALSE(ExpandCabinet(kCabinets + "missing.cab", output_));
  EXPECT_EQ(CabinetErrorRecord().code, cab::error::kCabinetNotFound);
  EXPECT_TRUE(os_.desktop.boxes.empty()) << "the caller asks the question, not the expansion";
}

TEST_F(ExpandCabinetTest, APathWithoutAFolderIsReported) {
  EXPECT_FALSE(ExpandCabinet("item.cab", output_));
  ASSERT_EQ(os_.desktop.boxes.size(), 1u);
  EXPECT_EQ(os_.desktop.boxes[0].text, "Invalid cabinet path: item.cab");
}

TEST_F(ExpandCabinetTest, NotifyOpensTheOutputWithoutTruncatingAndClosesIt) {
  os_.files.WriteText(output_, "0123456789");
  cab::Notification copy, close;
  copy.user = const_cast<char*>(output_.c_str());
  ExpandCabinet("no-folder.cab", output_);  // resets the per-expansion file count
  close.handle = CabinetNotify(cab::notify::kCopyFile, &copy);
  ASSERT_GT(close.handle, 0);
  EXPECT_EQ(CabinetNotify(cab::notify::kCloseFile, &close), 1);
  EXPECT_EQ(ReadAll(output_), "0123456789") << "the caller's file is written from its start, not emptied";
  EXPECT_EQ(CabinetNotify(cab::notify::kCabinetInfo, &copy) + CabinetNotify(cab::notify::kNextCabinet, &copy), 0);
  DestroyCabinetContext();
  DestroyCabinetContext();
}

}  // namespace

// ExpandCabinet as the item installation uses it: the one file lands in the given output
// file, a cabinet of several files is refused, a page that is no cabinet or a missing one
// fails quietly, and a path without a folder is reported.
#include "updaterun/expandcabinet.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "fakes/fake_os.h"
#include "session/log.h"

namespace {

std::string ReadDisk(const std::string& path) {
  return std::string(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
}

class ExpandCabinetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/expandcab-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    os_.files.WriteText(output_, "");  // the caller hands over an empty temporary file
    os_.desktop.strings[169] = "Invalid cabinet path";
  }
  void TearDown() override {
    CloseLog();
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  // An MSZIP cabinet of the given files, each holding kContents, made by gcab and copied
  // into the fake disk, where the expansion reads it.
  std::string Pack(const std::string& cabinet, const std::string& names) {
    for (const char* name : {"first.txt", "second.txt"}) std::ofstream(dir_ + "/" + name) << kContents;
    std::string command = "cd '" + dir_ + "' && gcab -c -n -z " + cabinet + " " + names + " >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << "gcab is needed (scripts/setup.sh installs it)";
    os_.files.WriteText(kCabinets + cabinet, ReadDisk(dir_ + "/" + cabinet));
    return kCabinets + cabinet;
  }
  std::string ReadAll(const std::string& path) { return os_.files.ReadText(path).value_or(""); }
  const std::string kContents = "text that repeats " + std::string(70000, '.');
  const std::string kCabinets = "C:\\Temp\\cabs\\";
  FakeOs os_;
  std::string dir_, output_ = "C:\\Temp\\~pdx1234.tmp";
};

TEST_F(ExpandCabinetTest, ACabinetOfSeveralFilesIsRefusedAndTheNextOneFillsTheOutputFile) {
  EXPECT_FALSE(ExpandCabinet(Pack("two.cab", "first.txt second.txt"), output_));
  EXPECT_EQ(CabinetErrorRecord().code, cab::error::kUserAbort);
  // The next single-file cabinet goes through the same context as usual.
  os_.files.WriteText(output_, "");
  EXPECT_TRUE(ExpandCabinet(Pack("one.cab", "second.txt"), output_)) << CabinetErrorRecord().code;
  EXPECT_TRUE(ReadAll(output_) == kContents);
  EXPECT_TRUE(os_.desktop.boxes.empty());
}

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

// Volumes of paths, cluster sizes, and the disk-space rows with the question they lead to.
#include "platform/diskspace.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "platform/volumes.h"
#include "session/session.h"

namespace {

TEST(Volumes, DrivesAndSharesAreVolumesWithTheirClusterSizeOtherPathsAreNot) {
  const std::pair<const char*, const char*> keys[] = {
      {"C:\\Program Files\\Molvex", "C:"}, {"d:", "d:"}, {"\\\\fileserver\\apps\\Molvex\\bin", "\\\\fileserver\\apps"},
      {"Molvex\\bin", ""}, {"\\Molvex", ""}, {"\\\\fileserver\\", ""}, {"\\\\\\apps", ""}, {"1:\\x", ""}, {":", ""}};
  for (const auto& [path, key] : keys) {
    EXPECT_EQ(VolumeKey(path), key) << path;
    EXPECT_EQ(VolumeRoot(path), *key ? std::string(key) + "\\" : "") << path;
  }
  FakeOs os;  // the cluster size comes from the volume or is one
  os.files.AddVolume("D:", {.sectorsPerCluster = 64, .bytesPerSector = 512});
  os.files.AddVolume("\\\\srv\\apps", {.sectorsPerCluster = 8, .bytesPerSector = 2048});
  os.files.AddVolume("E:", {.sectorsPerCluster = 0, .bytesPerSector = 512});
  EXPECT_EQ(GetClusterSize("D:\\Molvex"), 32768u);
  EXPECT_EQ(GetClusterSize("\\\\srv\\apps\\Molvex"), 16384u);
  for (const char* path : {"E:\\x", "Q:\\nowhere", "relative\\path"}) EXPECT_EQ(GetClusterSize(path), 1u) << path;
  os.files.faults.FailNext(fakes::FileOp::GetClusterInfo, sys::err::kAccessDenied);
  EXPECT_EQ(GetClusterSize("D:\\Molvex"), 1u);
}

class DiskSpace : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearRequiredSpace();
    os.desktop.UseProductStrings();
  }
  void TearDown() override { ClearRequiredSpace(); }

  FakeOs os;
};

TEST_F(DiskSpace, PathsOnOneVolumeAddUpInOneRowOfTenAndNeverWrapRound) {
  AddRequiredSpace("C:\\Program Files\\Molvex", 1000);
  AddRequiredSpace("c:\\Temp\\Molvex Update Setup Files", 500);
  AddRequiredSpace("\\\\srv\\apps\\Molvex", 70);
  AddRequiredSpace("relative\\folder", 999999);  // on no volume: not counted
  const RequiredSpaceTable& table = RequiredSpace();
  EXPECT_EQ(table[0].volumeKey, "C:");
  EXPECT_EQ(table[0].bytes, 1500u);
  EXPECT_EQ(table[1].volumeKey, "\\\\srv\\apps");
  EXPECT_EQ(table[2].volumeKey, "");

  ClearRequiredSpace();
  for (char drive = 'D'; drive <= 'N'; ++drive) AddRequiredSpace(std::string(1, drive) + ":\\x", 10);
  EXPECT_EQ(RequiredSpace()[9].volumeKey, "M:");
  for (const RequiredSpaceRow& row : RequiredSpace()) EXPECT_NE(row.volumeKey, "N:");
  AddRequiredSpace("D:\\x", UINT64_MAX);
  AddRequiredSpace("D:\\y", 100);
  EXPECT_EQ(RequiredSpace()[0].bytes, UINT64_MAX);
}

TEST_F(DiskSpace, ShortfallsOverOneHundredThousandBytesAreAskedAboutOnceInTheUsersFormat) {
  os.systemInfo.freeBytesByRoot = {{"C:\\", 2048}, {"D:\\", 10}, {"\\\\srv\\apps\\", 5u << 20}};
  AddRequiredSpace("C:\\Molvex", 1264128);           // 1234.50 KB
  AddRequiredSpace("D:\\a", 100000);                 // not asked
  AddRequiredSpace("Q:\\gone", 200000);              // cannot be asked: hides nothing
  AddRequiredSpace("\\\\srv\\apps\\Molvex", 200000);  // fits
  EXPECT_EQ(DescribeSpaceShortfalls(), "\r\nC:\r\nFree space: 2.00 KB\r\nRequired diskspace: 1,234.50 KB\r\n\r\n");
  EXPECT_EQ(os.systemInfo.freeSpaceQueries, (std::vector<std::string>{"C:\\", "Q:\\", "\\\\srv\\apps\\"}));

  os.systemInfo.decimalSeparator = ',';
  os.systemInfo.thousandSeparator = ".";
  EXPECT_NE(DescribeSpaceShortfalls().find("Required diskspace: 1.234,50 KB"), std::string::npos);

  // One question for all short volumes; No stops. (With room enough: every end-to-end run.)
  ClearRequiredSpace();
  os.systemInfo.freeBytesByRoot = {{"C:\\", 0}, {"D:\\", 0}};
  AddRequiredSpace("C:\\Molvex", 1u << 30);
  AddRequiredSpace("D:\\Cache", 300000);
  os.desktop.QueueAnswers({sys::answer::kNo, sys::answer::kYes});
  EXPECT_EQ(CheckDiskSpace(0x77, "Molvex Internetinstallatie"), 0);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  const fakes::ShownBox& box = os.desktop.boxes[0];
  EXPECT_EQ(box.owner, 0x77u);
  EXPECT_EQ(box.caption, "Molvex Internetinstallatie");
  EXPECT_EQ(box.type & 0xF, 0x4u) << "Yes and No";
  EXPECT_EQ(box.text.rfind("There is not enough free disk space for the installation\r\n\r\nC:\r\n", 0), 0u);
  EXPECT_NE(box.text.find("\r\nD:\r\n"), std::string::npos);
  EXPECT_TRUE(box.text.ends_with("KB\r\n\r\nDo you want to continue?"));
  EXPECT_EQ(CheckDiskSpace(0, "Setup"), 1);

  Session().silent = true;  // a silent run answers No without a box
  EXPECT_EQ(CheckDiskSpace(0, "Setup"), 0);
  EXPECT_EQ(os.desktop.boxes.size(), 2u);
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::FreeBytesAvailable, sys::err::kProcNotFound);
  EXPECT_EQ(CheckDiskSpace(0, "Setup"), 1) << "without the free-space function the check passes";
}

}  // namespace

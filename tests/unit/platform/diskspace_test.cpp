// Volumes of paths, cluster sizes, and the disk-space rows with the question they lead to.
#include "platform/diskspace.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "platform/volumes.h"
#include "session/session.h"

namespace {

TEST(Volumes, DrivesAndSharesAreVolumesOtherPathsAreNot) {
  EXPECT_EQ(VolumeKey("C:\\Program Files\\Molvex"), "C:");
  EXPECT_EQ(VolumeKey("d:"), "d:");
  EXPECT_EQ(VolumeKey("\\\\fileserver\\apps\\Molvex\\bin"), "\\\\fileserver\\apps");
  EXPECT_EQ(VolumeKey("\\\\fileserver\\apps"), "\\\\fileserver\\apps");
  EXPECT_EQ(VolumeRoot("\\\\fileserver\\apps\\x"), "\\\\fileserver\\apps\\");
  EXPECT_EQ(VolumeRoot("C:\\x"), "C:\\");
  for (const char* outside : {"Molvex\\bin", "\\Molvex", "\\\\fileserver", "\\\\fileserver\\", "\\\\\\apps", "",
                              "1:\\x", ":"}) {
    EXPECT_EQ(VolumeKey(outside), "") << outside;
    EXPECT_EQ(VolumeRoot(outside), "") << outside;
  }
}

TEST(Volumes, ClusterSizeComesFromTheVolumeOrIsOne) {
  FakeOs os;
  os.files.AddVolume("D:", {.sectorsPerCluster = 64, .bytesPerSector = 512});
  os.files.AddVolume("\\\\srv\\apps", {.sectorsPerCluster = 8, .bytesPerSector = 2048});
  os.files.AddVolume("E:", {.sectorsPerCluster = 0, .bytesPerSector = 512});
  EXPECT_EQ(GetClusterSize("D:\\Molvex"), 32768u);
  EXPECT_EQ(GetClusterSize("\\\\srv\\apps\\Molvex"), 16384u);
  EXPECT_EQ(GetClusterSize("C:\\"), 4096u);
  EXPECT_EQ(GetClusterSize("E:\\x"), 1u) << "a volume reporting 0";
  EXPECT_EQ(GetClusterSize("Q:\\nowhere"), 1u) << "a drive the machine lacks";
  EXPECT_EQ(GetClusterSize("relative\\path"), 1u);
  os.files.faults.FailNext(fakes::FileOp::GetClusterInfo, sys::err::kAccessDenied);
  EXPECT_EQ(GetClusterSize("D:\\Molvex"), 1u);
}

class DiskSpace : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearRequiredSpace();
    os.desktop.strings[120] = "Required diskspace";
    os.desktop.strings[121] = "Do you want to continue?";
    os.desktop.strings[136] = "There is not enough free disk space for the installation";
    os.desktop.strings[137] = "Free space";
  }
  void TearDown() override { ClearRequiredSpace(); }

  FakeOs os;
};

TEST_F(DiskSpace, PathsOnOneVolumeAddUpInOneRow) {
  AddRequiredSpace("C:\\Program Files\\Molvex", 1000);
  AddRequiredSpace("c:\\Temp\\Molvex Update Setup Files", 500);
  AddRequiredSpace("\\\\srv\\apps\\Molvex", 70);
  AddRequiredSpace("relative\\folder", 999999);
  const RequiredSpaceTable& table = RequiredSpace();
  EXPECT_EQ(table[0].volumeKey, "C:");
  EXPECT_EQ(table[0].bytes, 1500u);
  EXPECT_EQ(table[1].volumeKey, "\\\\srv\\apps");
  EXPECT_EQ(table[1].bytes, 70u);
  EXPECT_EQ(table[2].volumeKey, "") << "a path on no volume is not counted";

  ClearRequiredSpace();
  EXPECT_EQ(RequiredSpace()[0].volumeKey, "");
  EXPECT_EQ(RequiredSpace()[0].bytes, 0u);
}

TEST_F(DiskSpace, AnEleventhVolumeIsLeftOutAndHugeSizesDoNotWrapRound) {
  for (char drive = 'D'; drive <= 'N'; ++drive) AddRequiredSpace(std::string(1, drive) + ":\\x", 10);
  EXPECT_EQ(RequiredSpace()[9].volumeKey, "M:");
  for (const RequiredSpaceRow& row : RequiredSpace()) EXPECT_NE(row.volumeKey, "N:");

  AddRequiredSpace("D:\\x", UINT64_MAX);
  AddRequiredSpace("D:\\y", 100);
  EXPECT_EQ(RequiredSpace()[0].bytes, UINT64_MAX);
}

TEST_F(DiskSpace, OnlyVolumesNeedingMoreThanOneHundredThousandBytesAreAsked) {
  os.systemInfo.freeBytesByRoot = {{"C:\\", 10}, {"D:\\", 10}};
  AddRequiredSpace("C:\\a", 100000);
  AddRequiredSpace("D:\\a", 100001);
  std::string shortfalls = DescribeSpaceShortfalls();
  EXPECT_EQ(os.systemInfo.freeSpaceQueries, std::vector<std::string>{"D:\\"});
  EXPECT_EQ(shortfalls.find("C:"), std::string::npos);
  EXPECT_NE(shortfalls.find("\r\nD:\r\n"), std::string::npos);
}

TEST_F(DiskSpace, ShortfallNamesVolumeFreeAndRequiredKilobytesInTheUsersFormat) {
  os.systemInfo.freeBytesByRoot = {{"C:\\", 2048}, {"\\\\srv\\apps\\", 5u << 20}};
  AddRequiredSpace("C:\\Molvex", 1264128);           // 1234.50 KB
  AddRequiredSpace("\\\\srv\\apps\\Molvex", 200000);  // fits
  EXPECT_EQ(DescribeSpaceShortfalls(),
            "\r\nC:\r\nFree space: 2.00 KB\r\nRequired diskspace: 1,234.50 KB\r\n\r\n");

  os.systemInfo.decimalSeparator = ',';
  os.systemInfo.thousandSeparator = ".";
  EXPECT_NE(DescribeSpaceShortfalls().find("Required diskspace: 1.234,50 KB"), std::string::npos);
}

TEST_F(DiskSpace, AllVolumesWithRoomContinueWithoutAQuestion) {
  os.systemInfo.freeBytesByRoot = {{"C:\\", 1u << 30}};
  AddRequiredSpace("C:\\Molvex", 1u << 30);
  EXPECT_EQ(CheckDiskSpace(0, "Setup"), 1);
  EXPECT_TRUE(os.desktop.boxes.empty());
}

TEST_F(DiskSpace, UserIsAskedOnceForAllShortVolumesAndNoStops) {
  os.systemInfo.freeBytesByRoot = {{"C:\\", 0}, {"D:\\", 0}};
  AddRequiredSpace("C:\\Molvex", 200000);
  AddRequiredSpace("D:\\Cache", 300000);
  os.desktop.QueueAnswers({sys::answer::kNo});
  EXPECT_EQ(CheckDiskSpace(0x77, "Molvex Internetinstallatie"), 0);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  const fakes::ShownBox& box = os.desktop.boxes[0];
  EXPECT_EQ(box.owner, 0x77u);
  EXPECT_EQ(box.caption, "Molvex Internetinstallatie");
  EXPECT_EQ(box.type & 0xF, 0x4u) << "Yes and No";
  EXPECT_EQ(box.text.rfind("There is not enough free disk space for the installation\r\n\r\nC:\r\n", 0), 0u);
  EXPECT_NE(box.text.find("\r\nD:\r\n"), std::string::npos);
  EXPECT_TRUE(box.text.ends_with("KB\r\n\r\nDo you want to continue?"));

  os.desktop.QueueAnswers({sys::answer::kYes});
  EXPECT_EQ(CheckDiskSpace(0, "Setup"), 1);
}

TEST_F(DiskSpace, SilentRunAnswersNoWithoutShowingABox) {
  Session().silent = true;
  os.systemInfo.freeBytesByRoot = {{"C:\\", 0}};
  AddRequiredSpace("C:\\Molvex", 200000);
  EXPECT_EQ(CheckDiskSpace(0, "Setup"), 0);
  EXPECT_TRUE(os.desktop.boxes.empty());
}

TEST_F(DiskSpace, WithoutTheFreeSpaceFunctionTheCheckPasses) {
  AddRequiredSpace("C:\\Molvex", 200000);
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::FreeBytesAvailable, sys::err::kProcNotFound);
  EXPECT_EQ(CheckDiskSpace(0, "Setup"), 1);
  EXPECT_TRUE(os.desktop.boxes.empty());
}

TEST_F(DiskSpace, AVolumeThatCannotBeAskedDoesNotHideAnotherOnesShortfall) {
  os.systemInfo.freeBytesByRoot = {{"D:\\", 0}};
  AddRequiredSpace("Q:\\gone", 200000);  // answers 3
  AddRequiredSpace("D:\\Molvex", 200000);
  std::string shortfalls = DescribeSpaceShortfalls();
  EXPECT_EQ(shortfalls.find("Q:"), std::string::npos);
  EXPECT_NE(shortfalls.find("D:"), std::string::npos);
}

}  // namespace

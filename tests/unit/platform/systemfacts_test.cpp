// The Windows folder, the 64-bit test and the registry quota.
#include "platform/systemfacts.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "platform/registryquota.h"

namespace {

TEST(WindowsFolder, OlderSystemsTakeTheSystemFoldersParent) {
  FakeOs os;
  os.desktop.osVersion.major = 4;
  os.desktop.systemFolder = "C:\\WINNT\\System32\\";
  os.systemInfo.systemWindowsFolder = "C:\\Elsewhere";
  EXPECT_EQ(GetWindowsFolder(), "C:\\WINNT");
}

TEST(WindowsFolder, NewerSystemsTakeTheSharedWindowsFolder) {
  FakeOs os;
  os.desktop.windowsFolder = "C:\\Users\\tester\\WINDOWS";  // a terminal-server user's own
  os.systemInfo.systemWindowsFolder = "C:\\Windows";
  EXPECT_EQ(GetWindowsFolder(), "C:\\Windows");
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::SystemWindowsFolder, sys::err::kProcNotFound);
  EXPECT_EQ(GetWindowsFolder(), "C:\\Users\\tester\\WINDOWS") << "without the function, the ordinary one";
}

TEST(Wow64, AnswersFromTheSystemAndNoWhenItCannotSay) {
  FakeOs os;
  EXPECT_FALSE(IsWow64());
  os.systemInfo.wow64 = true;
  EXPECT_TRUE(IsWow64());
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::IsWow64Process, sys::err::kProcNotFound);
  EXPECT_FALSE(IsWow64());
}

TEST(RegistryQuota, StopsOnlyWhenLittleIsLeft) {
  FakeOs os;
  const uint64_t mb = 1000 * 1000;
  os.systemInfo.registryQuota = {99'600'000, 100 * mb};  // 400000 bytes left
  EXPECT_FALSE(HasRegistrySpace());
  os.systemInfo.registryQuota = {100 * mb - 512000, 100 * mb};
  EXPECT_FALSE(HasRegistrySpace()) << "exactly the reserve is not enough";
  os.systemInfo.registryQuota = {100 * mb - 512001, 100 * mb};
  EXPECT_TRUE(HasRegistrySpace());
  os.systemInfo.registryQuota = {120 * mb, 100 * mb};
  EXPECT_FALSE(HasRegistrySpace()) << "over the quota";
}

TEST(RegistryQuota, AnythingUnreadablePasses) {
  FakeOs os;
  os.systemInfo.registryQuota = {0, 100};
  EXPECT_TRUE(HasRegistrySpace());
  os.systemInfo.registryQuota = {100, 0};
  EXPECT_TRUE(HasRegistrySpace());
  os.systemInfo.registryQuota = {100, 100};
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::QueryRegistryQuota, sys::err::kProcNotFound);
  EXPECT_TRUE(HasRegistrySpace());
}

}  // namespace

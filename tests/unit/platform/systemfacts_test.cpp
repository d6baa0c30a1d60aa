// The Windows folder, the 64-bit test and the registry quota.
#include "platform/systemfacts.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "platform/registryquota.h"

namespace {

TEST(SystemFacts, WindowsFolderAndSixtyFourBitsWithAndWithoutTheFunctions) {
  FakeOs os;
  os.desktop.windowsFolder = "C:\\Users\\tester\\WINDOWS";  // a terminal-server user's own
  os.systemInfo.systemWindowsFolder = "C:\\Windows";
  EXPECT_EQ(GetWindowsFolder(), "C:\\Windows");
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::SystemWindowsFolder, sys::err::kProcNotFound);
  EXPECT_EQ(GetWindowsFolder(), "C:\\Users\\tester\\WINDOWS") << "without the function, the ordinary one";
  os.desktop.osVersion.major = 4;  // older systems take the system folder's parent
  os.desktop.systemFolder = "C:\\WINNT\\System32\\";
  EXPECT_EQ(GetWindowsFolder(), "C:\\WINNT");

  os.systemInfo.wow64 = true;
  EXPECT_TRUE(IsWow64());
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::IsWow64Process, sys::err::kProcNotFound);
  EXPECT_FALSE(IsWow64());
}

TEST(RegistryQuota, StopsOnlyWhenLittleIsLeftAndAnythingUnreadablePasses) {
  FakeOs os;
  const uint64_t quota = 100'000'000;
  const struct {
    uint64_t used;
    uint64_t allowed;
    bool room;
  } cases[] = {{quota - 400000, quota, false}, {quota - 512000, quota, false},  // exactly the reserve
               {quota - 512001, quota, true},  {quota + 1, quota, false},        // over the quota
               {0, 100, true},                 {100, 0, true}};
  for (const auto& c : cases) {
    os.systemInfo.registryQuota = {c.used, c.allowed};
    EXPECT_EQ(HasRegistrySpace(), c.room) << c.used << " of " << c.allowed;
  }
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::QueryRegistryQuota, sys::err::kProcNotFound);
  EXPECT_TRUE(HasRegistrySpace());
}

}  // namespace

// The operating-system code, the Windows folder, the 64-bit test and the registry quota.
#include "platform/systemfacts.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/fake_os.h"
#include "platform/osclassify.h"
#include "platform/registryquota.h"
#include "session/session.h"

namespace {

sys::OsVersion Version(uint32_t platformId, uint32_t major, uint32_t minor) {
  sys::OsVersion version;
  version.platformId = platformId;
  version.major = major;
  version.minor = minor;
  return version;
}

// Each row: version, the code it had, its code, unsupported, NT family. Newer or unknown
// systems keep the code they had and are unsupported.
TEST(ClassifyOsVersion, EachKnownSystemHasItsCodeAndSupport) {
  const std::tuple<sys::OsVersion, int32_t, int32_t, bool, bool> cases[] = {
      {Version(0, 3, 1), 0, 1, true, false},  {Version(1, 4, 0), 0, 3, true, false},
      {Version(1, 4, 90), 0, 5, false, false}, {Version(2, 4, 0), 0, 4, true, true},
      {Version(2, 5, 0), 0, 6, false, true},  {Version(2, 5, 2), 0, 8, false, true},
      {Version(2, 6, 3), 0, 9, false, true},  {Version(2, 10, 0), 9, 9, true, true},
      {Version(7, 1, 0), 4, 4, true, false},
  };
  for (const auto& [version, previous, code, unsupported, nt] : cases) {
    OsClassification found = ClassifyOsVersion(version, previous);
    EXPECT_EQ(std::tuple(found.osCode, found.unsupported, found.ntFamily), std::tuple(code, unsupported, nt))
        << version.platformId << " " << version.major << "." << version.minor;
  }
  FakeOs os;
  os.desktop.osVersion = Version(2, 5, 1);
  ClassifyOperatingSystem();
  EXPECT_EQ(std::tuple(Session().osCode, Session().isNtFamily, Session().osUnsupported), std::tuple(7, true, false));
}

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
  // Used, allowed, and whether there is room; the first row leaves exactly the reserve.
  const std::tuple<uint64_t, uint64_t, bool> cases[] = {
      {quota - 512000, quota, false}, {quota - 512001, quota, true}, {quota + 1, quota, false}, {100, 0, true}};
  for (const auto& [used, allowed, room] : cases) {
    os.systemInfo.registryQuota = {used, allowed};
    EXPECT_EQ(HasRegistrySpace(), room) << used << " of " << allowed;
  }
  os.systemInfo.faults.FailAlways(fakes::SystemInfoOp::QueryRegistryQuota, sys::err::kProcNotFound);
  EXPECT_TRUE(HasRegistrySpace());
}

}  // namespace

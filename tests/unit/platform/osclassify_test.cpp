// The operating-system code the settings carry.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "platform/osclassify.h"
#include "session/session.h"

namespace {

sys::OsVersion Version(uint32_t platformId, uint32_t major, uint32_t minor) {
  sys::OsVersion version;
  version.platformId = platformId;
  version.major = major;
  version.minor = minor;
  return version;
}

// Newer or unknown systems keep the code they had (the second argument) and are unsupported.
TEST(ClassifyOsVersion, EachKnownSystemHasItsCodeAndSupport) {
  struct Case {
    sys::OsVersion version;
    int32_t previous;
    int32_t code;
    bool unsupported;
    bool nt;
  };
  const Case cases[] = {
      {Version(0, 3, 1), 0, 1, true, false},  {Version(1, 4, 0), 0, 3, true, false},
      {Version(1, 4, 90), 0, 5, false, false}, {Version(2, 4, 0), 0, 4, true, true},
      {Version(2, 5, 0), 0, 6, false, true},  {Version(2, 5, 2), 0, 8, false, true},
      {Version(2, 6, 3), 0, 9, false, true},  {Version(2, 10, 0), 9, 9, true, true},
      {Version(7, 1, 0), 4, 4, true, false},
  };
  for (const Case& c : cases) {
    OsClassification found = ClassifyOsVersion(c.version, c.previous);
    std::string row = std::to_string(c.version.platformId) + " " + std::to_string(c.version.major) + "." +
                      std::to_string(c.version.minor);
    EXPECT_EQ(found.osCode, c.code) << row;
    EXPECT_EQ(found.unsupported, c.unsupported) << row;
    EXPECT_EQ(found.ntFamily, c.nt) << row;
  }
  FakeOs os;
  os.desktop.osVersion = Version(2, 5, 1);
  ClassifyOperatingSystem();
  EXPECT_EQ(Session().osCode, 7);
  EXPECT_TRUE(Session().isNtFamily);
  EXPECT_FALSE(Session().osUnsupported);
}

}  // namespace

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

TEST(ClassifyOsVersion, EachKnownSystemHasItsCodeAndSupport) {
  struct Case {
    sys::OsVersion version;
    int32_t code;
    bool unsupported;
    bool nt;
  };
  const Case cases[] = {
      {Version(0, 3, 1), 1, true, false},  {Version(1, 4, 0), 3, true, false},  {Version(1, 4, 10), 5, false, false},
      {Version(1, 4, 90), 5, false, false}, {Version(2, 3, 51), 2, true, true}, {Version(2, 4, 0), 4, true, true},
      {Version(2, 5, 0), 6, false, true},  {Version(2, 5, 1), 7, false, true},  {Version(2, 5, 2), 8, false, true},
      {Version(2, 6, 1), 9, false, true},  {Version(2, 6, 3), 9, false, true},
  };
  for (const Case& c : cases) {
    OsClassification found = ClassifyOsVersion(c.version, 0);
    EXPECT_EQ(found.osCode, c.code) << c.version.platformId << " " << c.version.major << "." << c.version.minor;
    EXPECT_EQ(found.unsupported, c.unsupported) << c.code;
    EXPECT_EQ(found.ntFamily, c.nt) << c.code;
  }
}

TEST(ClassifyOsVersion, NewerOrUnknownSystemsKeepTheCodeAndAreUnsupported) {
  OsClassification newer = ClassifyOsVersion(Version(2, 10, 0), 9);
  EXPECT_EQ(newer.osCode, 9);
  EXPECT_TRUE(newer.unsupported);
  EXPECT_TRUE(newer.ntFamily);

  OsClassification unknown = ClassifyOsVersion(Version(7, 1, 0), 4);
  EXPECT_EQ(unknown.osCode, 4);
  EXPECT_TRUE(unknown.unsupported);
  EXPECT_FALSE(unknown.ntFamily);
}

TEST(ClassifyOperatingSystem, FillsTheSessionFromTheSystem) {
  FakeOs os;
  os.desktop.osVersion = Version(2, 5, 1);
  ClassifyOperatingSystem();
  EXPECT_EQ(Session().osCode, 7);
  EXPECT_TRUE(Session().isNtFamily);
  EXPECT_FALSE(Session().osUnsupported);
}

}  // namespace

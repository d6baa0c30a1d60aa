// The site's parts: query reading and replies.
#include <gtest/gtest.h>

#include "query.h"
#include "replies.h"

namespace {

using updatesite::ParseQuery;

TEST(Query, KeepsPlusAndBackslashesAndFindsKeysWithoutCase) {
  auto q = ParseQuery("/docs/LogItemAttachment.aspx?Item=..\\..\\x&Release=30052+1&ContactName=A%20B&help");
  ASSERT_TRUE(q.ok());
  EXPECT_EQ(q.Get("item"), "..\\..\\x");
  EXPECT_EQ(q.Get("RELEASE"), "30052+1");
  EXPECT_EQ(q.Get("ContactName"), "A B");
  EXPECT_EQ(q.Get("help"), "");
  EXPECT_FALSE(q.Get("Demo"));
  EXPECT_EQ(ParseQuery("/x?Release=30052%2B1").Get("Release"), "30052+1");
  EXPECT_EQ(ParseQuery("/x?a=%zz%4").Get("a"), "%zz%4");  // broken escapes stay as they are
}

TEST(Replies, ReleasesNewestFirstAndNoLongerThanTheInstallerKeeps) {
  std::vector<std::string> releases = {"30051", "9", "30052+1", "30052", "100000"};
  updatesite::SortNewestFirst(releases);
  EXPECT_EQ(releases, (std::vector<std::string>{"100000", "30052+1", "30052", "30051", "9"}));
  EXPECT_EQ(updatesite::ReleaseListReply({}), "\r\n");
  // Older releases that would pass the 127 characters the installer keeps are left out whole.
  std::string line = updatesite::ReleaseListReply(std::vector<std::string>(40, "1234567"));
  EXPECT_LE(line.size() - 1, 127u);  // the LF is not kept
  EXPECT_TRUE(line.ends_with("\t1234567\r\n"));
}

}  // namespace

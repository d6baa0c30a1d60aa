// The site's parts: query reading, replies, fault rules and the worker pool.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "boundedpool.h"
#include "faults.h"
#include "query.h"
#include "replies.h"

namespace {

using updatesite::ParseQuery;

TEST(Query, KeepsPlusAndBackslashesFindsKeysWithoutCaseAndRefusesTooMuch) {
  auto q = ParseQuery("/docs/LogItemAttachment.aspx?Item=..\\..\\x&Release=30052+1&ContactName=A%20B&help");
  ASSERT_TRUE(q.ok());
  EXPECT_EQ(q.Get("item"), "..\\..\\x");
  EXPECT_EQ(q.Get("RELEASE"), "30052+1");
  EXPECT_EQ(q.Get("ContactName"), "A B");
  EXPECT_EQ(q.Get("help"), "");
  EXPECT_FALSE(q.Get("Demo"));
  EXPECT_EQ(ParseQuery("/x?Release=30052%2B1").Get("Release"), "30052+1");
  EXPECT_EQ(ParseQuery("/x?a=%zz%4").Get("a"), "%zz%4");  // broken escapes stay as they are

  EXPECT_FALSE(ParseQuery("/x?a=" + std::string(257, 'v')).ok());
  EXPECT_TRUE(ParseQuery("/x?a=" + std::string(256, 'v')).ok());
  std::string many = "/x?";
  for (int i = 0; i < 33; ++i) many += "k" + std::to_string(i) + "=1&";
  EXPECT_FALSE(ParseQuery(many).ok());
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
  EXPECT_EQ(updatesite::HtmlPage("a<b", "x&y").find("a<b"), std::string::npos);
}

TEST(Faults, RulesAreReadWithTheirValuesAndMistakesRefused) {
  auto parse = updatesite::ParseFaults(
      "# faults\n"
      "LogItemAttachment.aspx?Item=A short 10 times=2\n"
      "logitemattachupdnload.aspx error Site closed for maintenance\n");
  ASSERT_TRUE(parse.error.empty()) << parse.error;
  ASSERT_EQ(parse.rules.size(), 2u);
  EXPECT_EQ(parse.rules[1].fault.text, "Site closed for maintenance");
  for (const char* wrong : {"x slow 0\n", "x status 99\n", "x?novalue html\n", "x explode\n", "x html times=0\n"})
    EXPECT_FALSE(updatesite::ParseFaults(wrong).error.empty()) << wrong;
}

TEST(BoundedPool, AcceptingWaitsWhileTheLineIsFullAndEveryJobRuns) {
  updatesite::BoundedPool pool(1, 1);
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> done{0};
  std::atomic<bool> started{false};
  pool.enqueue([&] {
    started = true;
    released.wait();
    ++done;
  });
  while (!started) std::this_thread::yield();
  pool.enqueue([&] { ++done; });  // waits in line
  std::atomic<bool> thirdAccepted{false};
  std::thread accepting([&] {
    pool.enqueue([&] { ++done; });
    thirdAccepted = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(thirdAccepted);  // the line holds one, and the worker is busy
  release.set_value();
  accepting.join();
  EXPECT_TRUE(thirdAccepted);
  pool.shutdown();
  EXPECT_EQ(done, 3);
}

}  // namespace

// The site's parts: query reading, replies, users, fault rules and the worker pool.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "boundedpool.h"
#include "faults.h"
#include "query.h"
#include "replies.h"
#include "users.h"

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

TEST(Query, RefusesLongValuesAndTooManyPairs) {
  EXPECT_FALSE(ParseQuery("/x?a=" + std::string(257, 'v')).ok());
  EXPECT_TRUE(ParseQuery("/x?a=" + std::string(256, 'v')).ok());
  std::string many = "/x?";
  for (int i = 0; i < 33; ++i) many += "k" + std::to_string(i) + "=1&";
  EXPECT_FALSE(ParseQuery(many).ok());
}

TEST(Replies, TimestampReleaseListSizesAndError) {
  EXPECT_EQ(updatesite::TimestampReply(0).size(), 19u);
  std::vector<std::string> releases = {"30051", "9", "30052+1", "30052", "100000"};
  updatesite::SortNewestFirst(releases);
  EXPECT_EQ(releases, (std::vector<std::string>{"100000", "30052+1", "30052", "30051", "9"}));
  EXPECT_EQ(updatesite::ReleaseListReply({"30052", "30051"}), "\t30052\t30051\r\n");
  EXPECT_EQ(updatesite::ReleaseListReply({}), "\r\n");
  // Older releases that would pass the 127 characters the installer keeps are left out whole.
  std::vector<std::string> lots(40, "1234567");
  std::string line = updatesite::ReleaseListReply(lots);
  EXPECT_LE(line.size() - 1, 127u);  // the LF is not kept
  EXPECT_EQ(line.substr(line.size() - 10), "\t1234567\r\n");
  EXPECT_EQ(updatesite::SizesReply(2048, 1024), "_ItemAttachmentSizes_\r\n2048\t1024");
  EXPECT_EQ(updatesite::ErrorReply("No"), "__ERROR__No");
  EXPECT_EQ(updatesite::HtmlPage("a<b", "x&y").find("a<b"), std::string::npos);
}

std::string Basic(const std::string& credentials) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < credentials.size(); i += 3) {
    uint32_t n = static_cast<unsigned char>(credentials[i]) << 16;
    if (i + 1 < credentials.size()) n |= static_cast<unsigned char>(credentials[i + 1]) << 8;
    if (i + 2 < credentials.size()) n |= static_cast<unsigned char>(credentials[i + 2]);
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += i + 1 < credentials.size() ? kAlphabet[(n >> 6) & 63] : '=';
    out += i + 2 < credentials.size() ? kAlphabet[n & 63] : '=';
  }
  return "Basic " + out;
}

TEST(Users, DomainsAreOptionalUnlessTheEntryNamesOne) {
  auto file = updatesite::ParseUsers("# site users\njan:geheim\r\nCORP\\piet:pw:with:colons\n");
  ASSERT_TRUE(file.error.empty());
  EXPECT_EQ(updatesite::AuthorizedUser(file.users, Basic("jan:geheim")), "jan");
  EXPECT_EQ(updatesite::AuthorizedUser(file.users, Basic("ANY\\JAN:geheim")), "ANY\\JAN");
  EXPECT_FALSE(updatesite::AuthorizedUser(file.users, Basic("jan:Geheim")));
  EXPECT_EQ(updatesite::AuthorizedUser(file.users, Basic("corp\\piet:pw:with:colons")), "corp\\piet");
  EXPECT_FALSE(updatesite::AuthorizedUser(file.users, Basic("piet:pw:with:colons")));
  EXPECT_FALSE(updatesite::AuthorizedUser(file.users, Basic("OTHER\\piet:pw:with:colons")));
  EXPECT_FALSE(updatesite::AuthorizedUser(file.users, "Basic !!!"));
  EXPECT_FALSE(updatesite::AuthorizedUser(file.users, "Digest abc"));
  EXPECT_FALSE(updatesite::AuthorizedUser(file.users, ""));
  EXPECT_EQ(updatesite::ParseUsers("nobody\n").error, "line 1: expected name:password");
}

TEST(Faults, RulesMatchPagesAndValuesAndGetUsedUp) {
  auto parse = updatesite::ParseFaults(
      "# faults\n"
      "LogItemAttachment.aspx?Item=A short 10 times=2\n"
      "*?Action=10 401\n"
      "LogItemAttachment.aspx?Item=* sizes 2048 1024\n"
      "logitemattachupdnload.aspx error Site closed for maintenance\n");
  ASSERT_TRUE(parse.error.empty()) << parse.error;
  ASSERT_EQ(parse.rules.size(), 4u);
  EXPECT_EQ(parse.rules[3].fault.text, "Site closed for maintenance");
  EXPECT_FALSE(updatesite::ParseFaults("x slow 0\n").error.empty());
  EXPECT_FALSE(updatesite::ParseFaults("x status 99\n").error.empty());
  EXPECT_FALSE(updatesite::ParseFaults("x?novalue html\n").error.empty());
  EXPECT_FALSE(updatesite::ParseFaults("x explode\n").error.empty());
  EXPECT_FALSE(updatesite::ParseFaults("x html times=0\n").error.empty());
}

}  // namespace

namespace {

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

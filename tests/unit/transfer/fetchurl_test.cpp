// The plain URL transfer into a temporary file: chunks, counters, what is left behind.
#include "transfer/fetchurl.h"

#include "transfer/siteurls.h"
#include "transfer_fixture.h"

namespace {

class FetchUrl : public TransferTest {
 protected:
  FetchUrl() {
    os.internet.ServePage(kTimestampUrl, {});
    EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  }
  // Fetches the item, which must fail; what its file holds afterwards.
  std::string FetchFailing() {
    std::string path;
    EXPECT_FALSE(FetchUrlToTempFile(itemUrl, path));
    return os.files.ReadText(path).value_or("<no file>");
  }
  const std::string itemUrl = ItemUrl(kSite, "FNC0042", "17.1");
};

TEST_F(FetchUrl, TheBodyArrivesInLargeStepsAndTheWindowPaintsEveryFiftyMillisecondsAndAtTheEnd) {
  std::string body;
  for (int i = 0; i < 150000; ++i) body += static_cast<char>('a' + i % 26);
  os.internet.Serve(itemUrl, body);
  UpdateProgress([](ProgressState& progress) { progress.itemBase = progress.totalDone = 10000; });
  std::string first, path;
  ASSERT_TRUE(FetchUrlToTempFile(itemUrl, first));  // its end is painted
  repaints = 0;
  os.clock.Advance(50);
  ASSERT_TRUE(FetchUrlToTempFile(itemUrl, path));
  EXPECT_EQ(os.files.ReadText(path), body);
  EXPECT_EQ(sys::SplitAtLastBackslash(path).folder + "\\", os.desktop.tempFolder);
  EXPECT_EQ(sys::SplitAtLastBackslash(path).name.substr(0, 3), "_sy");
  EXPECT_EQ(Progress().itemDone, 150000);
  EXPECT_EQ(Progress().totalDone, 160000);
  EXPECT_EQ(repaints, 2);                   // of 64 KB + 64 KB + 22 KB: the first step and the end
  EXPECT_EQ(os.internet.openHandles(), 2);  // the item's handle is closed again
}

TEST_F(FetchUrl, AFailedTransferLeavesWhatArrivedForTheCallerToReport) {
  os.internet.faults.FailNext(fakes::InternetOp::OpenUrl, 12007, 1, itemUrl);
  EXPECT_EQ(FetchFailing(), "");
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_EQ(os.files.OpenHandleCount(), 0);

  os.internet.Serve(itemUrl, std::string(3 * 65536, 'q'));
  os.files.faults.FailNth(fakes::FileOp::Write, 2, sys::err::kDiskFull);
  FetchFailing();
  EXPECT_NE(LogText().find("Failed to write"), std::string::npos);
  EXPECT_EQ(os.internet.openedUrls.size(), 3u);  // a full disk is not a dropped connection
}

// A body of 200000 bytes whose first reply drops after `dropAt`.
constexpr std::size_t kBodySize = 200000;
fakes::SiteReply Dropping(const std::string& body, uint32_t dropAt) {
  return {.body = body, .readError = 12030, .readFailAfter = dropAt};
}
// The site's answer to a range request: `range`, and the body from `from` on, which drops
// after `dropAfter` bytes (0: never).
fakes::SiteReply Partial(const std::string& body, std::size_t from, const std::string& range, uint32_t dropAfter = 0) {
  return {.statuses = {206}, .body = body.substr(from), .contentRange = range,
          .readError = dropAfter != 0 ? 12030u : 0u, .readFailAfter = dropAfter};
}
std::string RestOf(std::size_t from) {
  return "bytes " + std::to_string(from) + "-" + std::to_string(kBodySize - 1) + "/" + std::to_string(kBodySize);
}

TEST_F(FetchUrl, ADroppedTransferContinuesOnlyWithTheRestOfTheSameBody) {
  std::string body;
  for (std::size_t i = 0; i < kBodySize; ++i) body += static_cast<char>('a' + i * 7 % 26);
  std::vector<fakes::SiteReply> flaky{Dropping(body, 70000)};  // seven resumptions, each brings bytes
  for (std::size_t from = 70000; from < kBodySize; from += 20000)
    flaky.push_back(Partial(body, from, RestOf(from), from + 20000 < kBodySize ? 20000 : 0));
  fakes::SiteReply whole{.body = body};
  fakes::SiteReply dead = Partial(body, 70000, RestOf(70000), 1);
  dead.readFailAfter = 0;  // not a byte
  struct Case {
    const char* name;
    std::vector<fakes::SiteReply> replies;  // the last one answers every later request
    bool cancelled;
    std::size_t kept;  // bytes in the file at the end: all of them, or those of the first reply
    std::size_t opens;
    const char* logged;
  } cases[] = {
      {"the rest", {Dropping(body, 70000), Partial(body, 70000, RestOf(70000))}, false, kBodySize, 2,
       "Resuming the transfer of"},
      {"a flaky site", flaky, false, kBodySize, flaky.size(), "at byte 190000"},
      {"the whole body again", {Dropping(body, 70000), whole}, false, kBodySize, 2, "the transfer starts over"},
      {"every reply whole and dropping", {Dropping(body, 70000)}, false, 70000, 3, "did not resume"},
      {"another start", {Dropping(body, 70000), Partial(body, 0, "bytes 0-199999/200000")}, false, 70000, 2,
       "status 206, range 'bytes 0-199999/200000'"},
      {"another length", {Dropping(body, 70000), Partial(body, 70000, "bytes 70000-199999/250000")}, false, 70000, 2,
       "did not resume"},
      {"no range", {Dropping(body, 70000), Partial(body, 70000, "")}, false, 70000, 2, "did not resume"},
      {"a dead site", {Dropping(body, 70000), dead}, false, 70000, 6,
       "given up after 5 attempts"},
      {"a cancelled run", {Dropping(body, 70000), Partial(body, 70000, RestOf(70000))}, true, 70000, 1,
       "ended after 70000 of 200000 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string url = itemUrl + "&Case=" + c.name;
    os.internet.openedHeaders.clear();
    for (const fakes::SiteReply& reply : c.replies) os.internet.ServePage(url, reply);
    cancelRequested = c.cancelled ? 1 : 0;
    UpdateProgress([](ProgressState& progress) { progress.itemBase = progress.totalDone = 5000; });
    std::string path;
    EXPECT_EQ(FetchUrlToTempFile(url, path), c.kept == kBodySize);
    EXPECT_EQ(os.files.ReadText(path), body.substr(0, c.kept));
    EXPECT_EQ(Progress().totalDone, 5000 + static_cast<int32_t>(c.kept));  // no byte counted twice
    EXPECT_EQ(os.internet.openedHeaders.size(), c.opens);
    if (c.opens > 1) {
      EXPECT_EQ(os.internet.openedHeaders[1], "Range: bytes=70000-\r\n");
    }
    EXPECT_NE(LogText().find(c.logged), std::string::npos) << LogText();
  }
}

}  // namespace

// The plain URL transfer into a temporary file: chunks, counters, what is left behind.
#include "transfer/fetchurl.h"

#include "transfer/byterange.h"
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
}

TEST_F(FetchUrl, ADroppedTransferContinuesOnlyWithTheRestOfTheSameBody) {
  std::string body(200000, 'a');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i * 7 % 26);
  // The body from `from` on with `status` and `range`, the connection dropped after `drop` bytes.
  auto reply = [&body](std::size_t from, uint32_t status, std::string range, uint32_t drop = UINT32_MAX) {
    return fakes::SiteReply{.statuses = {status}, .body = body.substr(from), .contentRange = range,
                            .readError = 12030, .readFailAfter = drop};
  };
  auto rest = [](std::size_t from) { return "bytes " + std::to_string(from) + "-199999/200000"; };
  std::vector<fakes::SiteReply> flaky{reply(0, 200, "", 70000)};  // seven resumptions, each brings bytes
  for (std::size_t from = 70000; from < body.size(); from += 20000) flaky.push_back(reply(from, 206, rest(from), 20000));
  // The last reply answers every later request; `kept`: bytes in the file at the end.
  struct Case { const char* name; std::vector<fakes::SiteReply> replies; std::size_t kept, opens; const char* logged; };
  const Case cases[] = {
      {"a flaky site", flaky, 200000, 8, "Resuming the transfer of"},
      {"every reply whole and dropping", {flaky[0]}, 70000, 3, "the transfer starts over"},
      {"another start", {flaky[0], reply(0, 206, rest(0))}, 70000, 2, "(status 206, range 'bytes 0-199999/200000')"},
      {"another length", {flaky[0], reply(70000, 206, "bytes 70000-199999/250000")}, 70000, 2, "did not resume"},
      {"a cancelled run", {flaky[0], flaky[1]}, 70000, 1, "ended after 70000 of 200000 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string url = itemUrl + "&Case=" + c.name, path;
    for (const fakes::SiteReply& served : c.replies) os.internet.ServePage(url, served);
    os.internet.openedHeaders.clear();
    cancelRequested = c.opens == 1;  // the one that asks but once was cancelled
    UpdateProgress([](ProgressState& progress) { progress.itemBase = progress.totalDone = 5000; });
    EXPECT_EQ(FetchUrlToTempFile(url, path), c.kept == body.size());
    EXPECT_EQ(os.files.ReadText(path), body.substr(0, c.kept));
    EXPECT_EQ(Progress().totalDone, 5000 + static_cast<int32_t>(c.kept));  // no byte counted twice
    EXPECT_EQ(os.internet.openedHeaders.size(), c.opens);
    EXPECT_EQ(os.internet.openedHeaders.at(c.opens > 1 ? 1 : 0), c.opens > 1 ? RangeRequestLine(70000) : "");
    EXPECT_NE(LogText().find(c.logged), std::string::npos) << LogText();
  }
}

}  // namespace

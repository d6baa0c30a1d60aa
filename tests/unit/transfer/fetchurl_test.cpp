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

  fakes::SiteReply reply;
  reply.body = std::string(4000, 'z');
  reply.readError = 12030;
  reply.readFailAfter = 2048;
  os.internet.ServePage(itemUrl, reply);
  EXPECT_EQ(FetchFailing(), std::string(2048, 'z'));
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_EQ(os.files.OpenHandleCount(), 0);

  os.internet.Serve(itemUrl, std::string(3 * 65536, 'q'));
  os.files.faults.FailNth(fakes::FileOp::Write, 2, sys::err::kDiskFull);
  FetchFailing();
  EXPECT_NE(LogText().find("Failed to write"), std::string::npos);
}

}  // namespace

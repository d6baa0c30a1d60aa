// The file-list request: the time stamp's acceptance, the list's last line,
// the reports on failure, a Cancel during the transfer, and the list's signature.
#include "transfer/filelistrequest.h"

#include "seam/data/testkeys.h"
#include "session/textids.h"
#include "transfer/listsignature.h"
#include "transfer/siteurls.h"
#include "transfer_fixture.h"

namespace {

class FileListRequest : public TransferTest {
 protected:
  std::string ListUrl() { return FileListUrl(Session()); }
  std::string path;
};

TEST_F(FileListRequest, OnlyExactlyNineteenCharactersInTheirPlacesAreATimeStamp) {
  fakes::SiteReply reply;
  for (const char* wrong : {"05-12-2026 19:30:00\r\n", "05-12-2026 19:30:0", "05/12/2026 19:30:00",
                            "<html><body>Login</body></html>", "31-01-2027 00:00:59"}) {
    reply.body = wrong;
    os.internet.ServeDownload(kTimestampUrl, reply);
  }
  os.internet.Serve(ListUrl(), "x\r\n");
  ASSERT_TRUE(RequestFileList(path));
  EXPECT_EQ(Site().listTimestamp, "31-01-2027 00:00:59");
  EXPECT_EQ(os.internet.downloadedUrls.size(), 6u);  // five time stamp attempts and the list
  EXPECT_EQ(os.internet.downloadFlags.front(), 16u);   // the time stamp is never taken from the cache
  EXPECT_EQ(os.internet.downloadFlags.back(), 0u);
  EXPECT_EQ(os.internet.openHandles(), 2);  // the session stays open for the items
}

TEST_F(FileListRequest, AnUnreachableSiteIsDiagnosedAndTheRunReturnsToTheSettingsUnlessSilent) {
  Session().domain = "CORP";
  os.internet.ServePage(kTimestampUrl, {});
  FailDownload(kTimestampUrl, 0x800C0007);
  SetProgressWindow(0x4711);
  EXPECT_FALSE(RequestFileList(path));
  SetProgressWindow(0);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].owner, 0x4711u);
  EXPECT_EQ(os.desktop.boxes[0].text,
            std::string("Internet download failed:\r\n\r\nURL:\t\t") + kTimestampUrl +
                "\r\nWeb site:\thttp://updates.example\r\nUser Name:\tjan\r\nDomain:\tCORP\r\n"
                "Error:\t\t0x800c0007\r\n\r\nPlease check that you entered the correct web site for file "
                "download, and the correct user name and password to access this web site.");
  EXPECT_TRUE(Results().returnToSettings);
  EXPECT_EQ(os.internet.openHandles(), 0);  // the session was closed

  Results().returnToSettings = false;
  Session().silent = true;
  EXPECT_FALSE(RequestFileList(path));
  EXPECT_FALSE(Results().returnToSettings);
  EXPECT_NE(LogText().find("Internet download failed"), std::string::npos);
}

TEST_F(FileListRequest, TheListsLastLineGetsItsLineEnd) {
  const std::pair<const char*, const char*> cases[] = {
      {"a\tb\r\nc\td", "a\tb\r\nc\td\r\n"},  // unterminated last line
      {"a\tb\r\nc\td\n", "a\tb\r\nc\td\n"},  // LF alone is left as it is
      {"a\r", "a\r"},                        // two bytes or fewer are left alone
      {"ab\rc", "ab\rc"},                    // a CR before the last byte counts as an end
  };
  for (const auto& [body, stored] : cases) {
    ResetSiteState();
    ServeTimestamp();
    os.internet.Serve(ListUrl(), body);
    ASSERT_TRUE(RequestFileList(path)) << body;
    EXPECT_EQ(os.files.ReadText(path), stored) << body;
  }
}

TEST_F(FileListRequest, TheListTransferIsMarkedWhileItRunsAndACancelInItEndsItQuietly) {
  ServeTimestamp();
  os.internet.Serve(ListUrl(), std::string(3000, 'x'));
  std::vector<bool> seen;
  os.internet.duringDownload = [&](uint32_t) { seen.push_back(Progress().listDownloadActive); };
  ASSERT_TRUE(RequestFileList(path));
  ASSERT_FALSE(seen.empty());
  EXPECT_FALSE(seen.front());  // the time stamp is not the list
  EXPECT_TRUE(seen.back());
  EXPECT_FALSE(Progress().listDownloadActive);
  EXPECT_EQ(Progress().itemDone, 3000);

  ResetSiteState();
  os.internet.duringDownload = [&](uint32_t done) {
    if (Progress().listDownloadActive && done >= 2048) ++cancelRequested;
  };
  path.clear();
  EXPECT_FALSE(RequestFileList(path));
  EXPECT_TRUE(path.empty());
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_FALSE(Progress().listDownloadActive);
}

// With a key built in, the list's exact bytes must carry the site's signature by it.
TEST_F(FileListRequest, AProgramWithAKeyTakesOnlyAListSignedWithIt) {
  const std::string signatureUrl =
      std::string(kSite) + "/docs/LogItemAttachUpDnLoad.aspx?Action=11&AssortmentCode=FNC&Release=17.1&help=0&Demo=0";
  const std::string list = testkeys::kSigned, good = testkeys::kPublicKey, other = testkeys::kOtherPublicKey;
  const std::string fails = "";  // the signature request fails
  const struct {
    std::string key, list, signature;
    const char* refusal;  // logged; empty: the list is taken
    size_t requests;      // time stamp, list and signature
  } cases[] = {
      {good, list, testkeys::kSignature, "", 3},
      {other, list, testkeys::kSignature, "its signature does not match this program's key", 3},
      {good, "X" + list, testkeys::kSignature, "its signature does not match this program's key", 3},
      {good, list, "__ERROR__Not signed", "the site has no signature: Not signed", 3},
      {good, list, fails, "its signature could not be fetched", 3},
      {good, "__ERROR__Unknown release\r\n", fails, "", 2},  // refused later, in the site's words
      {"", "unsigned\r\n", fails, "", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list + " / " + c.signature);
    ResetSiteState();
    os.desktop.boxes.clear();
    os.internet.downloadedUrls.clear();
    size_t logged = LogText().size();
    SetListPublicKey(c.key);
    ServeTimestamp();
    os.internet.Serve(ListUrl(), c.list);
    if (c.signature.empty()) FailDownload(signatureUrl, 0x800C0005);
    else os.internet.Serve(signatureUrl, c.signature);
    bool taken = RequestFileList(path);
    EXPECT_EQ(os.internet.downloadedUrls.size(), c.requests);
    EXPECT_EQ(taken, *c.refusal == 0);
    EXPECT_EQ(os.desktop.boxes.size(), taken ? 0u : 1u);
    if (taken) EXPECT_EQ(os.files.ReadText(path), c.list);
    else EXPECT_NE(LogText().find(std::string("The file list is refused: ") + c.refusal, logged), std::string::npos);
  }
  SetListPublicKey("");
}

}  // namespace

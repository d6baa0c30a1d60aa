// The release list: what the settings dialog is shown, what is kept, and what is ignored.
#include "transfer/releaselistrequest.h"

#include "sys/registry_helpers.h"
#include "transfer/siteurls.h"
#include "transfer_fixture.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Molvex\\e-Halomir Plandrix";

class RecordingDialog : public ReleaseListDialog {
 public:
  sys::WindowId Window() const override { return 0x1234; }
  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void ShowReleases(const std::vector<std::string>& releases) override { shown.push_back(releases); }
  std::vector<std::string> statusTexts;
  std::vector<std::vector<std::string>> shown;
};

class ReleaseList : public TransferTest {
 protected:
  ReleaseList() { Session().releaseList = "\t30052\r"; }  // the site's pages answer 404, which lets us in
  std::string Url() { return ReleaseListUrl(kSite, Session().productLine); }
  std::optional<std::string> Stored() { return sys::QueryString(sys::Hive::CurrentUser, kSettingsKey, "ReleaseList"); }
  RecordingDialog dialog;
};

TEST_F(ReleaseList, TheSameListATooLongListOrAnythingElseChangesNothing) {
  std::string tooLong = "\t";
  while (tooLong.size() < 140) tooLong += "30052\t";
  for (const std::string& reply : {std::string("\t30052\r\n"), std::string("<html>Server Error</html>"),
                                   std::string("__ERROR__ no access\r\n"), std::string(), tooLong + "1\r"}) {
    dialog = RecordingDialog();
    os.internet.Serve(Url(), reply);
    RequestReleaseList(&dialog, false);
    EXPECT_TRUE(dialog.shown.empty()) << reply;
    EXPECT_EQ(dialog.statusTexts, std::vector<std::string>{""}) << reply;
    EXPECT_EQ(Session().releaseList.str(), "\t30052\r");
    EXPECT_FALSE(Stored().has_value());
  }
  EXPECT_NE(LogText().find("longer than 127 characters"), std::string::npos);
}

TEST_F(ReleaseList, TheQuietFormUsesTheOpenSessionAndShowsNothing) {
  os.internet.Serve(Url(), "\t30060\r");
  RequestReleaseList(nullptr, true);
  EXPECT_EQ(os.internet.sessionsOpened, 0);
  EXPECT_EQ(Session().releaseList.str(), "\t30060\r");
  EXPECT_EQ(Stored(), "\t30060\r");
  FailDownload(Url(), 0x800C0005);
  RequestReleaseList(&dialog, true);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_TRUE(dialog.statusTexts.empty());
}

TEST_F(ReleaseList, AFailedDownloadIsReportedAndARefusedLoginClearsTheNotice) {
  FailDownload(Url(), 0x800C0005);
  RequestReleaseList(&dialog, false);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, "Failed to download: '" + Url() + "' (0x800c0005)\r\n\r\n");
  EXPECT_EQ(os.desktop.boxes[0].owner, 0u);
  EXPECT_EQ(os.internet.openHandles(), 0);

  dialog = RecordingDialog();
  os.internet.downloadedUrls.clear();
  fakes::SiteReply locked;
  locked.statuses = {401};
  os.internet.ServePage(kTimestampUrl, locked);
  RequestReleaseList(&dialog, false);
  EXPECT_EQ(dialog.statusTexts, std::vector<std::string>{""});
  EXPECT_TRUE(os.internet.downloadedUrls.empty());
}

}  // namespace

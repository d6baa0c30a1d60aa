// What a cache download is answered: progress, the abort on Cancel, the credentials.
#include "transfer/sitedownloadlistener.h"

#include "transfer_fixture.h"

namespace {

using DownloadListener = TransferTest;

TEST_F(DownloadListener, ProgressMovesTheCountersAndPaints) {
  SiteDownloadListener listener;
  UpdateProgress([](ProgressState& progress) { progress.itemBase = 7000; });
  EXPECT_EQ(listener.OnProgress(1500, 99999), sys::hr::kOk);
  EXPECT_EQ(Progress().itemDone, 1500);
  EXPECT_EQ(Progress().totalDone, 8500);
  EXPECT_EQ(repaints, 1);
}

TEST_F(DownloadListener, APendingCancelAbortsWithoutTouchingTheCounters) {
  SiteDownloadListener listener;
  cancelRequested = 2;
  EXPECT_EQ(listener.OnProgress(1500, 0), static_cast<int32_t>(0x80004004));
  EXPECT_EQ(Progress().itemDone, 0);
  EXPECT_EQ(repaints, 0);
}

TEST_F(DownloadListener, TheSessionsCredentialsAnswerUntilTheUserWasAsked) {
  SiteDownloadListener listener;
  sys::AuthenticateReply reply = listener.Authenticate();
  EXPECT_FALSE(reply.letSystemAsk);
  EXPECT_EQ(reply.userName, "jan");
  EXPECT_EQ(reply.password, "geheim");

  Session().domain = "CORP";
  EXPECT_EQ(listener.Authenticate().userName, "CORP\\jan");

  Site().credentialsPrompted = true;
  reply = listener.Authenticate();
  EXPECT_TRUE(reply.letSystemAsk);
  EXPECT_TRUE(reply.userName.empty());
  EXPECT_TRUE(reply.password.empty());
}

TEST_F(DownloadListener, ASiteThatAsksInADownloadGetsTheSameCredentials) {
  Session().domain = "CORP";
  os.internet.acceptedUserName = "CORP\\jan";
  os.internet.acceptedPassword = "geheim";
  fakes::SiteReply reply;
  reply.body = "payload";
  reply.asksCredentials = true;
  os.internet.ServeDownload("http://updates.example/x", reply);
  SiteDownloadListener listener;
  sys::CacheDownload download = os.internet.DownloadToCacheFile("http://updates.example/x", 512, 0, &listener);
  ASSERT_TRUE(download.ok());
  EXPECT_EQ(os.files.ReadText(download.path), "payload");

  Session().password = "wrong";
  download = os.internet.DownloadToCacheFile("http://updates.example/x", 512, 0, &listener);
  EXPECT_FALSE(download.ok());
}

}  // namespace

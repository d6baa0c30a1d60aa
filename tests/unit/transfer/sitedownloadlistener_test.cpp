// What a cache download is answered: progress, the abort on Cancel, the credentials.
#include "transfer/sitedownloadlistener.h"

#include "transfer_fixture.h"

namespace {

using DownloadListener = TransferTest;

TEST_F(DownloadListener, ProgressMovesTheCountersAndPaintsUnlessACancelIsPending) {
  SiteDownloadListener listener;
  Progress().itemBase = 7000;
  EXPECT_EQ(listener.OnProgress(1500, 99999), sys::hr::kOk);
  EXPECT_EQ(Progress().itemDone, 1500);
  EXPECT_EQ(Progress().totalDone, 8500);
  EXPECT_EQ(repaints, 1);
  cancelRequested = 2;
  EXPECT_EQ(listener.OnProgress(3000, 0), static_cast<int32_t>(0x80004004));
  EXPECT_EQ(Progress().itemDone, 1500);
  EXPECT_EQ(repaints, 1);
}

TEST_F(DownloadListener, TheSessionsCredentialsAnswerUntilTheUserWasAsked) {
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
  EXPECT_FALSE(os.internet.DownloadToCacheFile("http://updates.example/x", 512, 0, &listener).ok());

  Site().credentialsPrompted = true;
  sys::AuthenticateReply answer = listener.Authenticate();
  EXPECT_TRUE(answer.letSystemAsk);
  EXPECT_TRUE(answer.userName.empty());
  EXPECT_TRUE(answer.password.empty());
}

}  // namespace

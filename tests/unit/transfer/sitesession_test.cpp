// The site session: how the program gets past the site's and a proxy's questions for
// credentials, what it reports when WinINet fails, and what a cache download is answered.
#include "transfer/sitesession.h"

#include "transfer/interneterror.h"
#include "transfer/sitedownloadlistener.h"
#include "transfer_fixture.h"

namespace {

class Session401 : public TransferTest {
 protected:
  // The time stamp page answers with these statuses in turn.
  bool Open(std::vector<uint32_t> statuses) {
    fakes::SiteReply reply;
    reply.statuses = std::move(statuses);
    os.internet.ServePage(kTimestampUrl, reply);
    return OpenSiteSession(kTimestampUrl);
  }
};

TEST_F(Session401, ASiteThatLetsUsInAtOnceOrAnswersWithAnErrorPageGetsNoCredentials) {
  EXPECT_TRUE(Open({200}));
  EXPECT_TRUE(Open({404}));
  EXPECT_TRUE(Open({500}));
  EXPECT_TRUE(os.internet.userNames.empty());
  EXPECT_TRUE(os.internet.passwords.empty());
  EXPECT_EQ(os.internet.sends, 0);
  EXPECT_EQ(os.internet.lastAgent, "Mozilla/4.0 (compatible; MSIE 7.0b; Windows NT 6.0)");
  EXPECT_TRUE(os.desktop.boxes.empty());
}

TEST_F(Session401, CredentialsAreGivenOnceAndTheRequestIsSentAgain) {
  struct Case {
    const char* domain;
    const char* password;
    const char* userSent;
    uint32_t userLength;  // a domain needs the longer buffer
    std::string passwordSent;
  };
  const Case cases[] = {{"", "geheim", "jan", 50, "geheim"},
                        {"CORP", "geheim", "CORP\\jan", 256, "geheim"},
                        {"", "", "jan", 50, std::string(kPlaceholderPassword)}};  // never an empty password
  for (const Case& c : cases) {
    os.internet.userNames.clear();
    os.internet.passwords.clear();
    os.internet.sends = 0;
    Session().domain = c.domain;
    Session().password = c.password;
    EXPECT_TRUE(Open({401, 200})) << c.userSent;
    ASSERT_EQ(os.internet.userNames.size(), 1u);
    EXPECT_EQ(os.internet.userNames[0].text, c.userSent);
    EXPECT_EQ(os.internet.userNames[0].length, c.userLength);
    ASSERT_EQ(os.internet.passwords.size(), 1u);
    EXPECT_EQ(os.internet.passwords[0].text, c.passwordSent);
    EXPECT_EQ(os.internet.passwords[0].length, 50u);
    EXPECT_EQ(Session().password.str(), c.passwordSent);
    EXPECT_EQ(os.internet.sends, 1);
    EXPECT_FALSE(Site().credentialsPrompted);
  }
  EXPECT_EQ(kPlaceholderPassword.size(), 2u);
}

TEST_F(Session401, RefusedCredentialsBringUpThePasswordDialogWhoseCancelEndsQuietly) {
  os.internet.dialogAnswers = {1223};
  EXPECT_FALSE(Open({401, 401}));
  ASSERT_EQ(os.internet.dialogErrors.size(), 1u);
  EXPECT_EQ(os.internet.dialogErrors[0], 12014u);
  EXPECT_EQ(os.internet.dialogFlags[0], 7u);
  EXPECT_FALSE(Site().credentialsPrompted);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_EQ(os.internet.userNames.size(), 1u);  // the stored credentials go only once
}

TEST_F(Session401, ThePasswordDialogsRetryMarksThatDownloadsLetTheSystemAsk) {
  os.internet.dialogAnswers = {12032};
  EXPECT_TRUE(Open({401, 401, 200}));
  EXPECT_TRUE(Site().credentialsPrompted);
  EXPECT_EQ(os.internet.sends, 2);
  EXPECT_TRUE(SiteDownloadListener().Authenticate().letSystemAsk);
}

TEST_F(Session401, AProxyQuestionGoesStraightToTheDialog) {
  os.internet.dialogAnswers = {12032};
  EXPECT_TRUE(Open({407, 200}));
  EXPECT_EQ(os.internet.dialogErrors.size(), 1u);
  EXPECT_TRUE(os.internet.userNames.empty());
  EXPECT_FALSE(Site().credentialsPrompted);
  EXPECT_FALSE(Open({407}));  // the dialog's queue is empty: cancelled
}

TEST_F(Session401, ASilentRunNeverShowsThePasswordDialogAndLogsTheRefusal) {
  Session().silent = true;
  EXPECT_FALSE(Open({401}));
  EXPECT_TRUE(os.internet.dialogErrors.empty());
  EXPECT_NE(LogText().find("refused the credentials"), std::string::npos);
}

TEST_F(Session401, EachFailingWinInetStepIsReportedByName) {
  const std::pair<fakes::InternetOp, const char*> cases[] = {{fakes::InternetOp::OpenSession, "InternetOpen"},
                                                             {fakes::InternetOp::OpenUrl, "InternetOpenUrl"},
                                                             {fakes::InternetOp::QueryStatus, "HttpQueryInfo"}};
  for (const auto& [op, name] : cases) {
    os.desktop.boxes.clear();
    os.internet.faults.FailNext(op, 12029);
    EXPECT_FALSE(OpenSiteSession(kTimestampUrl)) << name;
    ASSERT_EQ(os.desktop.boxes.size(), 1u) << name;
    EXPECT_EQ(os.desktop.boxes[0].text, std::string(name) + " error code: 12029\nMessage: "
                                                             "A connection with the server could not be established\n");
    EXPECT_EQ(os.desktop.boxes[0].type, 0x10000u);
  }
}

TEST_F(Session401, CloseReleasesBothHandlesOnce) {
  ASSERT_TRUE(Open({200}));
  EXPECT_EQ(os.internet.openHandles(), 2);
  CloseSiteSession();
  EXPECT_EQ(os.internet.openHandles(), 0);
  CloseSiteSession();
  EXPECT_EQ(os.internet.handlesClosed, 2);
}

TEST_F(Session401, AnExtendedErrorShowsTheServersTextOrNothing) {
  os.internet.lastResponse = "530 Login incorrect.";
  ReportInternetError(12003, "InternetOpenUrl");
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_NE(os.desktop.boxes[0].text.find("InternetOpenUrl error code: 12003\n"), std::string::npos);
  EXPECT_NE(os.desktop.boxes[0].text.find("\n530 Login incorrect."), std::string::npos);

  os.internet.lastResponse = "";
  EXPECT_TRUE(ReportInternetError(12003, "InternetOpenUrl"));
  EXPECT_EQ(os.desktop.boxes.size(), 1u);  // no second box

  os.internet.lastResponse = "x";
  os.internet.faults.FailNth(fakes::InternetOp::LastResponse, 2, 122);
  ReportInternetError(12003, "InternetOpenUrl");
  ASSERT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_NE(os.desktop.boxes[1].text.find("Unable to get Internet error. Error code: 122\n"), std::string::npos);
}

using DownloadListener = TransferTest;

TEST_F(DownloadListener, ProgressMovesTheCountersAndPaintsUnlessACancelIsPending) {
  SiteDownloadListener listener;
  UpdateProgress([](ProgressState& progress) { progress.itemBase = 7000; });
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
  EXPECT_EQ(SiteDownloadListener().Authenticate().userName, "jan");
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

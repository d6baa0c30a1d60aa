// The site session: how the program gets past the site's and a proxy's questions for
// credentials, and what it reports when WinINet fails.
#include "transfer/sitesession.h"

#include "transfer/interneterror.h"
#include "transfer/sitedownloadlistener.h"
#include "transfer_fixture.h"

namespace {

using Session401 = TransferTest;

fakes::SiteReply Statuses(std::vector<uint32_t> statuses) {
  fakes::SiteReply reply;
  reply.statuses = std::move(statuses);
  return reply;
}

TEST_F(Session401, ASiteThatLetsUsInAtOnceGetsNoCredentials) {
  os.internet.ServePage(kTimestampUrl, Statuses({200}));
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  EXPECT_TRUE(os.internet.userNames.empty());
  EXPECT_TRUE(os.internet.passwords.empty());
  EXPECT_EQ(os.internet.sends, 0);
  EXPECT_EQ(os.internet.lastAgent, "Mozilla/4.0 (compatible; MSIE 7.0b; Windows NT 6.0)");
  EXPECT_TRUE(os.desktop.boxes.empty());
}

TEST_F(Session401, CredentialsAreGivenOnceAndTheRequestIsSentAgain) {
  os.internet.ServePage(kTimestampUrl, Statuses({401, 200}));
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  ASSERT_EQ(os.internet.userNames.size(), 1u);
  EXPECT_EQ(os.internet.userNames[0].text, "jan");
  EXPECT_EQ(os.internet.userNames[0].length, 50u);
  ASSERT_EQ(os.internet.passwords.size(), 1u);
  EXPECT_EQ(os.internet.passwords[0].text, "geheim");
  EXPECT_EQ(os.internet.passwords[0].length, 50u);
  EXPECT_EQ(os.internet.sends, 1);
  EXPECT_FALSE(Site().credentialsPrompted);
}

TEST_F(Session401, ADomainGoesBeforeTheUserNameWithTheLongerBuffer) {
  Session().domain = "CORP";
  os.internet.ServePage(kTimestampUrl, Statuses({401, 200}));
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  ASSERT_EQ(os.internet.userNames.size(), 1u);
  EXPECT_EQ(os.internet.userNames[0].text, "CORP\\jan");
  EXPECT_EQ(os.internet.userNames[0].length, 256u);
}

TEST_F(Session401, AnEmptyPasswordIsReplacedInTheSessionBeforeItIsSent) {
  Session().password = "";
  os.internet.ServePage(kTimestampUrl, Statuses({401, 200}));
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  EXPECT_EQ(Session().password.str(), std::string(kPlaceholderPassword));
  EXPECT_EQ(kPlaceholderPassword.size(), 2u);
  ASSERT_EQ(os.internet.passwords.size(), 1u);
  EXPECT_EQ(os.internet.passwords[0].text, std::string(kPlaceholderPassword));
}

TEST_F(Session401, RefusedCredentialsBringUpThePasswordDialogWhoseCancelEndsQuietly) {
  os.internet.ServePage(kTimestampUrl, Statuses({401, 401}));
  os.internet.dialogAnswers = {1223};
  EXPECT_FALSE(OpenSiteSession(kTimestampUrl));
  ASSERT_EQ(os.internet.dialogErrors.size(), 1u);
  EXPECT_EQ(os.internet.dialogErrors[0], 12014u);
  EXPECT_EQ(os.internet.dialogFlags[0], 7u);
  EXPECT_FALSE(Site().credentialsPrompted);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_EQ(os.internet.userNames.size(), 1u);  // the stored credentials go only once
}

TEST_F(Session401, ThePasswordDialogsRetryMarksThatDownloadsLetTheSystemAsk) {
  os.internet.ServePage(kTimestampUrl, Statuses({401, 401, 200}));
  os.internet.dialogAnswers = {12032};
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  EXPECT_TRUE(Site().credentialsPrompted);
  EXPECT_EQ(os.internet.sends, 2);

  SiteDownloadListener listener;
  EXPECT_TRUE(listener.Authenticate().letSystemAsk);
}

TEST_F(Session401, AProxyQuestionGoesStraightToTheDialog) {
  os.internet.ServePage(kTimestampUrl, Statuses({407, 200}));
  os.internet.dialogAnswers = {12032};
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  EXPECT_EQ(os.internet.dialogErrors.size(), 1u);
  EXPECT_TRUE(os.internet.userNames.empty());
  EXPECT_FALSE(Site().credentialsPrompted);

  os.internet.ServePage(kTimestampUrl, Statuses({407}));
  EXPECT_FALSE(OpenSiteSession(kTimestampUrl));  // the dialog's queue is empty: cancelled
}

TEST_F(Session401, ASilentRunNeverShowsThePasswordDialogAndLogsTheRefusal) {
  Session().silent = true;
  os.internet.ServePage(kTimestampUrl, Statuses({401}));
  EXPECT_FALSE(OpenSiteSession(kTimestampUrl));
  EXPECT_TRUE(os.internet.dialogErrors.empty());
  EXPECT_NE(LogText().find("refused the credentials"), std::string::npos);
}

TEST_F(Session401, ErrorPagesStillOpenTheSession) {
  os.internet.ServePage(kTimestampUrl, Statuses({404}));
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
  os.internet.ServePage(kTimestampUrl, Statuses({500}));
  EXPECT_TRUE(OpenSiteSession(kTimestampUrl));
}

TEST_F(Session401, EachFailingWinInetStepIsReportedByName) {
  struct Case {
    fakes::InternetOp op;
    const char* name;
  } cases[] = {{fakes::InternetOp::OpenSession, "InternetOpen"},
               {fakes::InternetOp::OpenUrl, "InternetOpenUrl"},
               {fakes::InternetOp::QueryStatus, "HttpQueryInfo"}};
  for (const Case& c : cases) {
    os.desktop.boxes.clear();
    os.internet.faults.FailNext(c.op, 12029);
    EXPECT_FALSE(OpenSiteSession(kTimestampUrl)) << c.name;
    ASSERT_EQ(os.desktop.boxes.size(), 1u) << c.name;
    EXPECT_EQ(os.desktop.boxes[0].text, std::string(c.name) +
                                            " error code: 12029\nMessage: "
                                            "A connection with the server could not be established\n");
    EXPECT_EQ(os.desktop.boxes[0].type, 0x10000u);
  }
}

TEST_F(Session401, CloseReleasesBothHandlesOnce) {
  os.internet.ServePage(kTimestampUrl, Statuses({200}));
  ASSERT_TRUE(OpenSiteSession(kTimestampUrl));
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

}  // namespace

// The site session: how the program gets past the site's and a proxy's questions for
// credentials, and what it reports when WinINet fails.
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
  EXPECT_TRUE(os.internet.userNames.empty());
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
    EXPECT_EQ(Session().password.str(), c.passwordSent);
    EXPECT_EQ(os.internet.sends, 1);
    EXPECT_FALSE(Site().credentialsPrompted);
  }
}

TEST_F(Session401, ThePasswordDialogsRetryMarksThatDownloadsLetTheSystemAsk) {
  os.internet.dialogAnswers = {12032};
  EXPECT_TRUE(Open({401, 401, 200}));
  ASSERT_EQ(os.internet.dialogErrors.size(), 1u);
  EXPECT_EQ(os.internet.dialogErrors[0], 12014u);
  EXPECT_EQ(os.internet.dialogFlags[0], 7u);
  EXPECT_EQ(os.internet.userNames.size(), 1u);  // the stored credentials go only once
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

TEST_F(Session401, AnExtendedErrorShowsTheServersText) {
  os.internet.lastResponse = "530 Login incorrect.";
  ReportInternetError(12003, "InternetOpenUrl");
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_NE(os.desktop.boxes[0].text.find("InternetOpenUrl error code: 12003\n"), std::string::npos);
  EXPECT_NE(os.desktop.boxes[0].text.find("\n530 Login incorrect."), std::string::npos);
}

}  // namespace

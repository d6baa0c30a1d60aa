// What the site is sent: every key of the file-list request in its order, per line and mode.
#include "transfer/siteurls.h"

#include "transfer_fixture.h"

namespace {

class SiteUrls : public TransferTest {
 protected:
  SiteUrls() {
    SessionSettings& session = Session();
    session.contact = "Jan Smit";
    session.email = "jan@example.nl";
    session.phone = "0201234567";
    session.jobTitle = "Boekhouder";
    session.title = "Dhr";
    session.gender = "male";
    session.language = "NL";
    session.country = "BE";
    session.help = 1;
  }
  bool Sends(const std::string& key) { return FileListUrl(Session()).find(key) != std::string::npos; }
};

TEST_F(SiteUrls, TheFileListOfAMultilingualLineCarriesEveryKeyInOrder) {
  Session().productLine = "QS2003SE";  // the special edition is sent as its base line
  EXPECT_EQ(FileListUrl(Session()),
            "http://updates.example/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&AssortmentCode=QS2003E"
            "&Release=17.1&help=1&Demo=0&Language=NL&Country=BE&ContactName=Jan Smit&Email=jan@example.nl"
            "&Phone=0201234567&JobTitle=Boekhouder&Title=Dhr&Gender=M");
  EXPECT_EQ(ReleaseListUrl(kSite, "QS2003SE"),
            "http://updates.example/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=QS2003E");
  EXPECT_EQ(ItemUrl(kSite, "FNC0042", "17.1"),
            "http://updates.example/docs/LogItemAttachment.aspx?Item=FNC0042&Release=17.1&Action=2");
}

TEST_F(SiteUrls, LanguageAndDemoKeysFollowTheLineTheModeAndTheChoice) {
  Session().productLine = "FNC";
  EXPECT_FALSE(Sends("&Language="));
  Session().productLine = "QS2000";
  Session().installMode = kCdCreation;
  EXPECT_TRUE(Sends("&Language="));
  EXPECT_FALSE(Sends("&Demo="));
  Session().installMode = kLanWorkstation;
  EXPECT_FALSE(Sends("&Language="));
  Session().installMode = kInternetNetwork;
  Session().language = "  ";
  EXPECT_FALSE(Sends("&Language=") || Sends("&Country="));

  Session().demo = 1;
  EXPECT_TRUE(Sends("&help=1&Demo=1&ContactName="));
  for (const char* line : {"KS", "FYNDRA", "halomir.net"}) {
    Session().productLine = line;
    EXPECT_FALSE(Sends("&Demo=")) << line;
  }
}

TEST_F(SiteUrls, ReleaseAndGenderValues) {
  EXPECT_EQ(ReleaseQueryValue("1+2+3"), "1%2B2+3");  // only the first plus is escaped
  EXPECT_EQ(GenderQueryValue("FEMALE"), "F");
  EXPECT_EQ(GenderQueryValue("divers"), "");
  Session().gender = "divers";
  EXPECT_TRUE(FileListUrl(Session()).ends_with("&Gender="));  // the key is always there
}

}  // namespace

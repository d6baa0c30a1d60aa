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
    session.demo = 0;
  }
};

TEST_F(SiteUrls, TheFileListOfAMultilingualLineCarriesEveryKeyInOrder) {
  Session().productLine = "QS2003";
  EXPECT_EQ(FileListUrl(Session()),
            "http://updates.example/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&AssortmentCode=QS2003"
            "&Release=17.1&help=1&Demo=0&Language=NL&Country=BE&ContactName=Jan Smit&Email=jan@example.nl"
            "&Phone=0201234567&JobTitle=Boekhouder&Title=Dhr&Gender=M");
}

TEST_F(SiteUrls, LanguageKeysOnlyForTheMultilingualLinesInInternetModesWithALanguage) {
  auto hasLanguage = [](const std::string& url) { return url.find("&Language=") != std::string::npos; };
  Session().productLine = "qs2003se";
  EXPECT_TRUE(hasLanguage(FileListUrl(Session())));
  Session().productLine = "FNC";
  EXPECT_FALSE(hasLanguage(FileListUrl(Session())));

  Session().productLine = "QS2000";
  Session().installMode = kCdCreation;
  EXPECT_TRUE(hasLanguage(FileListUrl(Session())));
  Session().installMode = kLanWorkstation;
  EXPECT_FALSE(hasLanguage(FileListUrl(Session())));

  Session().installMode = kInternetNetwork;
  Session().language = "  ";
  EXPECT_FALSE(hasLanguage(FileListUrl(Session())));
  EXPECT_EQ(FileListUrl(Session()).find("&Country="), std::string::npos);
}

TEST_F(SiteUrls, TheDemoKeyFollowsTheDemoChoice) {
  Session().demo = 1;
  EXPECT_NE(FileListUrl(Session()).find("&help=1&Demo=1&ContactName="), std::string::npos);
  for (const char* line : {"KS", "FYNDRA", "halomir.net"}) {
    Session().productLine = line;
    EXPECT_EQ(FileListUrl(Session()).find("&Demo="), std::string::npos) << line;
  }
  Session().productLine = "FNC";
  Session().installMode = kCdCreation;
  EXPECT_EQ(FileListUrl(Session()).find("&Demo="), std::string::npos);
}

TEST_F(SiteUrls, TheSpecialEditionIsSentAsItsBaseLine) {
  Session().productLine = "QS2003SE";
  EXPECT_NE(FileListUrl(Session()).find("&AssortmentCode=QS2003E&"), std::string::npos);
  EXPECT_EQ(ReleaseListUrl(kSite, "QS2003SE"),
            "http://updates.example/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=QS2003E");
}

TEST_F(SiteUrls, OnlyTheFirstPlusOfTheReleaseIsEscaped) {
  EXPECT_EQ(ReleaseQueryValue("30052+1"), "30052%2B1");
  EXPECT_EQ(ReleaseQueryValue("30052"), "30052");
  EXPECT_EQ(ReleaseQueryValue("1+2+3"), "1%2B2+3");
}

TEST_F(SiteUrls, TheGenderKeyIsAlwaysThereAndEmptyForAnyOtherText) {
  EXPECT_EQ(GenderQueryValue("FEMALE"), "F");
  EXPECT_EQ(GenderQueryValue("Male"), "M");
  EXPECT_EQ(GenderQueryValue("divers"), "");
  EXPECT_EQ(GenderQueryValue(""), "");
  Session().gender = "divers";
  std::string url = FileListUrl(Session());
  EXPECT_EQ(url.substr(url.size() - 8), "&Gender=");
}

TEST_F(SiteUrls, TimeStampAndItemAddresses) {
  EXPECT_EQ(TimestampUrl(kSite), kTimestampUrl);
  EXPECT_EQ(ItemUrl(kSite, "FNC0042", "17.1"),
            "http://updates.example/docs/LogItemAttachment.aspx?Item=FNC0042&Release=17.1&Action=2");
}

}  // namespace

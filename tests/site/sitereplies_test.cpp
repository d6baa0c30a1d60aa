// The sample product published and served: the replies the installer relies on,
// checked over HTTP against the running plandrix-site, and the published lists read
// with the program's own parser.
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <algorithm>

#include "filelist/filelist.h"
#include "session/session.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using sitetest::ReadText;

namespace {

constexpr char kStamp[] = "/docs/LogItemAttachUpDnLoad.aspx?Action=10";

std::string ItemUrl(const FileEntry& r) {
  return "/docs/LogItemAttachment.aspx?Item=" + r.itemCode.str() + "&Release=" + r.itemRelease.str() + "&Action=2";
}

// Publishes the sample as FNC 30052 (MSZIP) and 30051 (stored) and serves it with authentication.
class PublishedSite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = sitetest::FreshFolder("site");
    sitetest::WriteText(scratch_ / "users.txt", "jan:geheim\nCORP\\piet:pw:with:colons\n");
    for (auto [release, compress] : {std::pair{"30052", "mszip"}, std::pair{"30051", "none"}}) {
      auto run = sitetest::Run({sitetest::Tool("plandrix-publish"), "--from", PLANDRIX_SAMPLE_DIR, "--site",
                                (scratch_ / "site").string(), "--line", "FNC", "--release", release, "--layout",
                                PLANDRIX_SAMPLE_LAYOUT, "--compress", compress});
      ASSERT_EQ(run.status, 0) << run.output;
    }
    server_ = new sitetest::SiteProcess(scratch_ / "site", {"--users", (scratch_ / "users.txt").string()}, scratch_);
  }
  static void TearDownTestSuite() {
    EXPECT_EQ(server_->Stop(), 0) << "the site did not stop cleanly on SIGTERM";
    delete server_;
  }
  void SetUp() override { ASSERT_GT(server_->port(), 0) << server_->Output(); }

  static httplib::Client Client(const char* user = "jan", const char* password = "geheim") {
    httplib::Client client("127.0.0.1", server_->port());
    client.set_url_encode(false);
    client.set_read_timeout(10, 0);
    if (user) client.set_basic_auth(user, password);
    return client;
  }
  static std::string Body(const std::string& target) {
    auto reply = Client().Get(target);
    EXPECT_TRUE(reply && reply->status == 200) << target;
    return reply ? reply->body : "";
  }
  static fs::path Release(const char* number) { return scratch_ / "site" / "FNC" / number; }
  static std::vector<FileEntry> List(const char* release = "30052", const char* name = "filelist.lst") {
    std::vector<FileEntry> records;
    for (const std::string& record : SplitListRecords(ReadText(Release(release) / name)))
      records.push_back(ParseFileListRecord(record, kInternetWorkstation));
    return records;
  }

  static inline fs::path scratch_;
  static inline sitetest::SiteProcess* server_ = nullptr;
};

TEST_F(PublishedSite, ListsCarryTheLayoutsGroupsAndVersions) {
  auto records = List();
  auto core = std::find_if(records.begin(), records.end(),
                           [](const FileEntry& r) { return r.fileName == "fnccore.dll"; });
  ASSERT_NE(core, records.end());
  EXPECT_EQ(core->registrationKind, 1);
  EXPECT_EQ(core->version, "17.0.3.12");
  EXPECT_EQ(core->size, static_cast<int64_t>(fs::file_size(fs::path(PLANDRIX_SAMPLE_DIR) / "bin" / "fnccore.dll")));
  EXPECT_EQ(core->cabSize, static_cast<int64_t>(fs::file_size(Release("30052") / "items" / core->itemCode.str())));
  auto help = List("30052", "help.lst");
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].folder, "help\\en");
  EXPECT_EQ(List("30052", "demo.lst").size(), 1u);
}

TEST_F(PublishedSite, FileListAddsTheGroupsAskedFor) {
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=fnc"), "\t30052\t30051\r\n");  // any case
  std::string prefix = "/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&AssortmentCode=FNC&Release=30052";
  std::string who = "&ContactName=Jan%0D%0AForged%09Line&Email=jan@example.org&Phone=+31%2020";
  std::string base = ReadText(Release("30052") / "filelist.lst");
  std::string help = ReadText(Release("30052") / "help.lst");
  EXPECT_EQ(Body(prefix + "&help=1&Demo=0" + who), base + help);
  EXPECT_EQ(Body(prefix + "&help=1&Demo=1&Language=NL" + who), base + help + ReadText(Release("30052") / "demo.lst"));
  EXPECT_EQ(Body(prefix + "&help=0" + who), base);  // no Demo key for lines without a demo company
}

TEST_F(PublishedSite, UnknownReleasesItemsAndPathAttemptsGetAnErrorNeverAFile) {
  sitetest::WriteText(scratch_ / "secret.txt", "secret");
  std::string code = List().front().itemCode;
  const std::string list = "/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&";
  auto item = [](const std::string& query) { return "/docs/LogItemAttachment.aspx?" + query + "&Action=2"; };
  for (const std::string& target : {
           list + "AssortmentCode=FNC&Release=99999&help=0", list + "AssortmentCode=FNC&Release=..\\..\\FNC&help=0",
           list + "AssortmentCode=..&Release=30052&help=0", list + "AssortmentCode=FNC&Release=%2E%2E%2Fsite&help=0",
           item("Item=NOSUCHITEM&Release=30052"), item("Item=" + code + "&Release=30050"),
           item("Item=../../../secret.txt&Release=30052"), item("Item=%2e%2e%2fsecret.txt&Release=30052"),
           item("Item=" + code + "&Release=30052/../30052"), item("Item=items&Release=30052")}) {
    std::string body = Body(target);
    EXPECT_EQ(body.rfind("__ERROR__", 0), 0u) << target << ": " << body.substr(0, 40);
    EXPECT_GT(body.size(), 9u) << target;
    EXPECT_EQ(body.find("secret"), std::string::npos);
  }
}

TEST_F(PublishedSite, WrongSizesGetTheSizesReplyAndEachReleaseItsOwnItems) {
  const FileEntry r = List().front();
  std::string sizes = "_ItemAttachmentSizes_\r\n" + std::to_string(r.size) + "\t" + std::to_string(r.cabSize);
  for (std::string wrong : {"&Size=" + std::to_string(r.size) + "&CabSize=0", std::string("&Size=abc&CabSize=-1")})
    EXPECT_EQ(Body(ItemUrl(r) + wrong), sizes) << wrong;
  FileEntry stored = List("30051").front();
  auto item = Client().Get(ItemUrl(stored));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->body, ReadText(Release("30051") / "items" / stored.itemCode.str()));
  EXPECT_EQ(item->get_header_value("Cache-Control"), "no-cache");
}

TEST_F(PublishedSite, AuthenticationAsksWithARealmAndAcceptsDomains) {
  auto none = Client(nullptr).Get(kStamp);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->status, 401);
  EXPECT_EQ(none->get_header_value("WWW-Authenticate"), "Basic realm=\"Plandrix update site\"");
  const std::tuple<const char*, const char*, int> cases[] = {
      {"jan", "Geheim", 401}, {"SOMEWHERE\\jan", "geheim", 200}, {"corp\\PIET", "pw:with:colons", 200},
      {"piet", "pw:with:colons", 401}, {"OTHER\\piet", "pw:with:colons", 401}};  // the entry names a domain
  for (const auto& [user, password, status] : cases)
    EXPECT_EQ(Client(user, password).Get(kStamp)->status, status) << user << ":" << password;
  // The help pages open in a browser that has no credentials.
  EXPECT_EQ(Client(nullptr).Get("/docs/SysHelp.aspx?Topic=Plandrix_T17_AE.exe&TopicFilter=FNC&Language=EN")->status,
            200);
}

}  // namespace

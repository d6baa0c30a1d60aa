// The sample product published and served: every reply the installer relies on,
// checked over HTTP against the running plandrix-site.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "listrecord.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using sitetest::ReadText;

namespace {

constexpr char kUsers[] = "jan:geheim\nCORP\\piet:pw2\n";

std::vector<site::ListRecord> Records(const std::string& text) {
  std::vector<site::ListRecord> records;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (auto record = site::ParseListRecord(line)) records.push_back(*record);
  return records;
}

// Publishes the sample as FNC 30052 (MSZIP) and 30051 (stored) and serves it with
// authentication and a fault file that starts out empty.
class PublishedSite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new fs::path(sitetest::FreshFolder("site"));
    root_ = new fs::path(*scratch_ / "site");
    faults_ = new fs::path(*scratch_ / "faults.txt");
    sitetest::WriteText(*scratch_ / "users.txt", kUsers);
    sitetest::WriteText(*faults_, "");
    for (auto [release, compress] : {std::pair{"30052", "mszip"}, std::pair{"30051", "none"}}) {
      auto run = sitetest::Run({sitetest::Tool("plandrix-publish"), "--from", PLANDRIX_SAMPLE_DIR, "--site",
                                root_->string(), "--line", "FNC", "--release", release, "--layout",
                                PLANDRIX_SAMPLE_LAYOUT, "--compress", compress});
      ASSERT_EQ(run.status, 0) << run.output;
    }
    server_ = new sitetest::SiteProcess(*root_,
                                        {"--users", (*scratch_ / "users.txt").string(), "--faults", faults_->string(),
                                         "--log", (*scratch_ / "access.log").string()},
                                        *scratch_);
  }
  static void TearDownTestSuite() {
    EXPECT_EQ(server_->Stop(), 0) << "the site did not stop cleanly on SIGTERM";
    delete server_;
    delete root_;
    delete faults_;
    delete scratch_;
  }
  void SetUp() override {
    ASSERT_GT(server_->port(), 0) << server_->Output();
    SetFaults("");
  }

  static void SetFaults(const std::string& text) {
    // A new modification time even within the same second.
    sitetest::WriteText(*faults_, text);
    static int bump = 0;
    fs::last_write_time(*faults_, fs::file_time_type::clock::now() + std::chrono::seconds(++bump));
  }

  httplib::Client Client(const char* user = "jan", const char* password = "geheim") const {
    httplib::Client client("127.0.0.1", server_->port());
    client.set_url_encode(false);
    client.set_read_timeout(10, 0);
    if (user) client.set_basic_auth(user, password);
    return client;
  }
  std::string Body(const std::string& target) const {
    auto reply = Client().Get(target.c_str());
    EXPECT_TRUE(reply) << target;
    if (!reply) return {};
    EXPECT_EQ(reply->status, 200) << target;
    return reply->body;
  }
  static fs::path Release(const char* number) { return *root_ / "FNC" / number; }
  static std::string ItemUrl(const site::ListRecord& r, bool sizes = true) {
    std::string url = "/docs/LogItemAttachment.aspx?Item=" + r.itemCode + "&Release=" + r.itemRelease + "&Action=2";
    if (sizes) url += "&Size=" + std::to_string(r.size) + "&CabSize=" + std::to_string(r.cabSize);
    return url;
  }

  static fs::path* scratch_;
  static fs::path* root_;
  static fs::path* faults_;
  static sitetest::SiteProcess* server_;
};
fs::path* PublishedSite::scratch_;
fs::path* PublishedSite::root_;
fs::path* PublishedSite::faults_;
sitetest::SiteProcess* PublishedSite::server_;

TEST_F(PublishedSite, EveryCabinetExtractsToTheOriginalFile) {
  std::map<std::string, fs::path> sources;  // "folder\name|variant" -> sample file
  for (const auto& entry : fs::recursive_directory_iterator(PLANDRIX_SAMPLE_DIR))
    if (entry.is_regular_file()) sources[entry.path().filename().string() + "|" + entry.path().string()] = entry.path();
  for (const char* release : {"30052", "30051"}) {
    std::string lists;
    for (const char* list : {"filelist.lst", "help.lst", "demo.lst"}) lists += ReadText(Release(release) / list);
    auto records = Records(lists);
    EXPECT_EQ(records.size(), sources.size());
    std::set<std::string> codes;
    for (const auto& r : records) {
      EXPECT_TRUE(codes.insert(r.itemCode).second) << r.itemCode;
      EXPECT_EQ(r.itemCode.rfind("CSFNC_", 0), 0u);
      EXPECT_LE(r.itemCode.size(), 30u);
      fs::path cab = Release(release) / "items" / r.itemCode;
      EXPECT_EQ(static_cast<int64_t>(fs::file_size(cab)), r.cabSize);
      fs::path out = *scratch_ / "extract" / release / r.itemCode;
      auto run = sitetest::Run({"cabextract", "-q", "-d", out.string(), cab.string()});
      ASSERT_EQ(run.status, 0) << run.output;
      // The one file inside is byte for byte one of the sample's files of that name.
      auto extracted = sitetest::ReadBytes(out / r.fileName);
      EXPECT_EQ(static_cast<int64_t>(extracted.size()), r.size);
      bool found = false;
      for (const auto& [key, path] : sources)
        if (path.filename() == r.fileName && sitetest::ReadBytes(path) == extracted) found = true;
      EXPECT_TRUE(found) << r.fileName;
    }
  }
}

TEST_F(PublishedSite, ListFieldsFollowTheLayoutAndCarryVersions) {
  auto base = Records(ReadText(Release("30052") / "filelist.lst"));
  std::map<std::string, site::ListRecord> byTarget;
  for (const auto& r : base)
    byTarget[r.folder + "\\" + r.fileName + (r.itemCode.ends_with("_NT") ? "|NT" : r.itemCode.ends_with("_9X") ? "|9X" : "")] = r;
  ASSERT_TRUE(byTarget.count("SystemFolder\\fncshared.dll"));
  EXPECT_EQ(byTarget["SystemFolder\\fncshared.dll"].version, "2.5.0.7");
  EXPECT_EQ(byTarget["bin\\fnccore.dll"].registrationKind, 1);
  EXPECT_EQ(byTarget["bin\\fnccore.dll"].version, "17.0.3.12");
  EXPECT_EQ(byTarget["bin\\fncplat.dll|NT"].version, "17.0.3.4");
  EXPECT_EQ(byTarget["bin\\fncplat.dll|9X"].version, "17.0.3.3");
  EXPECT_TRUE(byTarget.count("WindowsFolder\\Fonts\\fncsymbols.ttf"));
  EXPECT_TRUE(byTarget.count("CommonFilesFolder\\Crystal\\fncformats.txt"));
  EXPECT_TRUE(byTarget.count("Root\\readme.txt"));
  EXPECT_EQ(byTarget["Root\\readme.txt"].version, "");
  for (const auto& r : base) {
    EXPECT_EQ(r.date.size(), 19u);
    EXPECT_EQ(r.date[2], '-');
    EXPECT_EQ(r.date[13], ':');
  }
  auto help = Records(ReadText(Release("30052") / "help.lst"));
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].folder, "help\\en");
  EXPECT_EQ(Records(ReadText(Release("30052") / "demo.lst")).size(), 1u);
  // Every record ends in CR LF.
  std::string text = ReadText(Release("30052") / "filelist.lst");
  size_t crlf = 0;
  for (size_t i = 1; i < text.size(); ++i) crlf += text[i] == '\n' && text[i - 1] == '\r';
  EXPECT_EQ(crlf, base.size());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(base.size()));
}

TEST_F(PublishedSite, PublishingAgainGivesTheSameRelease) {
  fs::path again = *scratch_ / "again";
  auto run = sitetest::Run({sitetest::Tool("plandrix-publish"), "--from", PLANDRIX_SAMPLE_DIR, "--site",
                            again.string(), "--line", "FNC", "--release", "30052", "--layout", PLANDRIX_SAMPLE_LAYOUT});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("items"), std::string::npos);
  for (const auto& entry : fs::recursive_directory_iterator(Release("30052"))) {
    if (!entry.is_regular_file()) continue;
    fs::path twin = again / "FNC" / "30052" / fs::relative(entry.path(), Release("30052"));
    EXPECT_EQ(sitetest::ReadBytes(entry.path()), sitetest::ReadBytes(twin)) << entry.path();
  }
}

TEST_F(PublishedSite, BadPublishRequestsChangeNothing) {
  fs::path site = *scratch_ / "refused";
  auto publish = [&](std::vector<std::string> extra) {
    std::vector<std::string> argv = {sitetest::Tool("plandrix-publish"), "--from", PLANDRIX_SAMPLE_DIR, "--site",
                                     site.string(), "--line", "FNC"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return sitetest::Run(argv);
  };
  EXPECT_EQ(publish({"--release", "../evil"}).status, 1);
  EXPECT_EQ(publish({"--release", "1", "--compress", "lzx"}).status, 2);
  EXPECT_EQ(publish({"--release", "1", "--bogus", "x"}).status, 2);
  fs::path badLayout = *scratch_ / "bad.layout";
  sitetest::WriteText(badLayout, "bin/* register=9\n");
  auto run = publish({"--release", "1", "--layout", badLayout.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("line 1"), std::string::npos) << run.output;
  // Two files that would land on the same target.
  fs::path clash = *scratch_ / "clash.layout";
  sitetest::WriteText(clash, "variants/nt/* folder=bin\nvariants/9x/* folder=bin\n");
  run = publish({"--release", "1", "--layout", clash.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("already goes to bin\\fncplat.dll"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(site / "FNC" / "1"));
  for (const auto& entry : fs::recursive_directory_iterator(site))
    EXPECT_TRUE(entry.is_directory()) << "left behind: " << entry.path();
  EXPECT_EQ(sitetest::Run({sitetest::Tool("plandrix-publish"), "--help"}).status, 0);
}

TEST_F(PublishedSite, TimestampIsExactlyNineteenCharacters) {
  std::string stamp = Body("/docs/LogItemAttachUpDnLoad.aspx?Action=10");
  ASSERT_EQ(stamp.size(), 19u);
  EXPECT_EQ(stamp[2], '-');
  EXPECT_EQ(stamp[5], '-');
  EXPECT_EQ(stamp[13], ':');
  EXPECT_EQ(stamp[16], ':');
}

TEST_F(PublishedSite, ReleaseListIsNewestFirstForAnyCaseOfTheCode) {
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=FNC"), "\t30052\t30051\r\n");
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=fnc"), "\t30052\t30051\r\n");
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=KS").rfind("__ERROR__", 0), 0u);
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=..").rfind("__ERROR__", 0), 0u);
}

TEST_F(PublishedSite, FileListAddsTheGroupsAskedForAndRecordsTheRegistration) {
  std::string prefix = "/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&AssortmentCode=FNC&Release=30052";
  std::string who = "&ContactName=Jan%0D%0AForged%09Line&Email=jan@example.org&Phone=+31%2020&JobTitle=Boss&Title=Dr&Gender=M";
  std::string base = ReadText(Release("30052") / "filelist.lst");
  std::string help = ReadText(Release("30052") / "help.lst");
  std::string demo = ReadText(Release("30052") / "demo.lst");
  EXPECT_EQ(Body(prefix + "&help=0&Demo=0" + who), base);
  EXPECT_EQ(Body(prefix + "&help=1&Demo=0" + who), base + help);
  EXPECT_EQ(Body(prefix + "&help=1&Demo=1&Language=NL&Country=NL" + who), base + help + demo);
  EXPECT_EQ(Body(prefix + "&help=0" + who), base);  // no Demo key for lines without a demo company

  std::string log = ReadText(*root_ / "registrations.log");
  EXPECT_NE(log.find("ContactName=Jan  Forged Line\tEmail=jan@example.org"), std::string::npos) << log;
  EXPECT_NE(log.find("Language=NL\tCountry=NL"), std::string::npos);
  EXPECT_NE(log.find("Phone=+31 20\t"), std::string::npos);
  EXPECT_NE(log.find("user=jan"), std::string::npos);
  EXPECT_EQ(log.find("\nForged"), std::string::npos);
}

TEST_F(PublishedSite, FileListOfUnknownReleaseOrAssortmentIsAnError) {
  for (std::string query : {"AssortmentCode=FNC&Release=99999", "AssortmentCode=XYZ&Release=30052",
                            "AssortmentCode=FNC&Release=..\\..\\FNC", "AssortmentCode=..&Release=30052",
                            "AssortmentCode=FNC&Release=%2E%2E%2Fsite"}) {
    std::string body = Body("/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&" + query + "&help=0");
    EXPECT_EQ(body.rfind("__ERROR__", 0), 0u) << query << ": " << body;
    EXPECT_GT(body.size(), 9u);
  }
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=77"), "__ERROR__Unknown action");
}

TEST_F(PublishedSite, ItemBytesOrTheSizesReplyWhenTheSizesDiffer) {
  auto records = Records(ReadText(Release("30052") / "filelist.lst"));
  ASSERT_FALSE(records.empty());
  for (const auto& r : records) {
    std::string cab = ReadText(Release("30052") / "items" / r.itemCode);
    EXPECT_EQ(Body(ItemUrl(r)), cab) << r.itemCode;
    EXPECT_EQ(Body(ItemUrl(r, false)), cab) << r.itemCode;
  }
  const auto& r = records.front();
  std::string sizes = "_ItemAttachmentSizes_\r\n" + std::to_string(r.size) + "\t" + std::to_string(r.cabSize);
  std::string base = ItemUrl(r, false);
  EXPECT_EQ(Body(base + "&Size=1&CabSize=" + std::to_string(r.cabSize)), sizes);
  EXPECT_EQ(Body(base + "&Size=" + std::to_string(r.size) + "&CabSize=0"), sizes);
  EXPECT_EQ(Body(base + "&Size=abc&CabSize=-1"), sizes);
  // The stored release's items are found by their own release number.
  auto stored = Records(ReadText(Release("30051") / "filelist.lst"));
  EXPECT_EQ(Body(ItemUrl(stored.front())), ReadText(Release("30051") / "items" / stored.front().itemCode));
}

TEST_F(PublishedSite, UnknownItemsAndPathAttemptsGetAnErrorNeverAFile) {
  sitetest::WriteText(*scratch_ / "secret.txt", "secret");
  auto records = Records(ReadText(Release("30052") / "filelist.lst"));
  std::string code = records.front().itemCode;
  for (const std::string& query : std::vector<std::string>{"Item=NOSUCHITEM&Release=30052", "Item=" + code + "&Release=30050", "Item=..\\..\\x&Release=30052",
        "Item=../../../secret.txt&Release=30052", "Item=" + code + "&Release=..", "Item=%2e%2e%2fsecret.txt&Release=30052",
        "Item=" + code + "&Release=30052/../30052", "Item=/etc/passwd&Release=30052", "Item=&Release=",
        "Item=.&Release=30052", "Item=items&Release=30052"}) {
    std::string body = Body("/docs/LogItemAttachment.aspx?" + query + "&Action=2");
    EXPECT_EQ(body.rfind("__ERROR__", 0), 0u) << query << ": " << body.substr(0, 40);
    EXPECT_EQ(body.find("secret"), std::string::npos);
  }
}

TEST_F(PublishedSite, AuthenticationAsksWithARealmAndAcceptsDomains) {
  const char* stamp = "/docs/LogItemAttachUpDnLoad.aspx?Action=10";
  auto none = Client(nullptr).Get(stamp);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->status, 401);
  EXPECT_EQ(none->get_header_value("WWW-Authenticate"), "Basic realm=\"Plandrix update site\"");
  struct Case {
    const char* user;
    const char* password;
    int status;
  };
  for (const Case& c : {Case{"jan", "wrong", 401}, Case{"jan", "geheim", 200}, Case{"SOMEWHERE\\jan", "geheim", 200},
                        Case{"CORP\\piet", "pw2", 200}, Case{"corp\\PIET", "pw2", 200}, Case{"piet", "pw2", 401},
                        Case{"OTHER\\piet", "pw2", 401}, Case{"nobody", "", 401}}) {
    auto reply = Client(c.user, c.password).Get(stamp);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, c.status) << c.user << ":" << c.password;
  }
  // The help and document pages open in a browser that has no credentials.
  auto help = Client(nullptr).Get("/docs/SysHelp.aspx?Topic=Plandrix_T17_AE.exe&TopicFilter=FNC&Language=EN");
  ASSERT_TRUE(help);
  EXPECT_EQ(help->status, 200);
  EXPECT_NE(help->body.find("Plandrix_T17_AE.exe"), std::string::npos);
  auto doc = Client(nullptr).Get("/docs/DocView.aspx?Action=View&DocumentID={40B4BC84-3696-48BB-9D8E-2791D775E86C}");
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->status, 200);
  EXPECT_EQ(Client().Get("/other/page")->status, 404);
}

TEST_F(PublishedSite, OversizedRequestsAreRefused) {
  auto reply = Client().Get(("/docs/LogItemAttachUpDnLoad.aspx?Action=10&ContactName=" + std::string(300, 'x')).c_str());
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 400);
  std::string many = "/docs/LogItemAttachUpDnLoad.aspx?Action=10";
  for (int i = 0; i < 40; ++i) many += "&k" + std::to_string(i) + "=v";
  EXPECT_EQ(Client().Get(many.c_str())->status, 400);
  reply = Client().Get(("/docs/x.aspx?a=" + std::string(20000, 'y')).c_str());
  ASSERT_TRUE(reply);
  EXPECT_GE(reply->status, 400);
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=10").size(), 19u);  // still serving
}

TEST_F(PublishedSite, FaultsShapeTheRepliesTheyMatch) {
  auto records = Records(ReadText(Release("30052") / "filelist.lst"));
  site::ListRecord big = records.front();
  for (const auto& r : records)
    if (r.cabSize > big.cabSize) big = r;
  std::string cab = ReadText(Release("30052") / "items" / big.itemCode);
  SetFaults("LogItemAttachUpDnLoad.aspx?Action=10 html times=1\n"
            "LogItemAttachment.aspx?Item=" + big.itemCode + "&Size=1 sizes 2048 1024\n"
            "LogItemAttachment.aspx?Item=" + big.itemCode + " short 10 times=1\n"
            "LogItemAttachment.aspx?Item=" + big.itemCode + " cut 1000 times=1\n"
            "LogItemAttachUpDnLoad.aspx?Action=3 error Closed for maintenance\n"
            "LogItemAttachUpDnLoad.aspx?Action=1 status 500\n"
            "LogItemAttachment.aspx?Item=NOSUCHITEM 401\n");
  std::string stamp = "/docs/LogItemAttachUpDnLoad.aspx?Action=10";
  EXPECT_EQ(Client(nullptr).Get(stamp.c_str())->status, 401);  // turned away: the fault stays
  EXPECT_NE(Body(stamp).find("<HTML>"), std::string::npos);
  EXPECT_EQ(Body(stamp).size(), 19u);  // used up after once
  EXPECT_EQ(Body(ItemUrl(big, false) + "&Size=1"), "_ItemAttachmentSizes_\r\n2048\t1024");
  EXPECT_EQ(Body(ItemUrl(big)), cab.substr(0, 10));
  auto cut = Client().Get(ItemUrl(big).c_str());
  EXPECT_TRUE(!cut || cut->body.size() < cab.size());  // announced whole, dropped after 1000 bytes
  EXPECT_EQ(Body(ItemUrl(big)), cab);                   // both used up
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=FNC"), "__ERROR__Closed for maintenance");
  EXPECT_EQ(Client().Get("/docs/LogItemAttachUpDnLoad.aspx?Action=1&AssortmentCode=FNC&Release=30052")->status, 500);
  auto loop = Client().Get("/docs/LogItemAttachment.aspx?Item=NOSUCHITEM&Release=30052&Action=2");
  EXPECT_EQ(loop->status, 401);  // right credentials, refused all the same
  EXPECT_EQ(Client().Get("/docs/LogItemAttachment.aspx?Item=NOSUCHITEM&Release=30052&Action=2")->status, 401);
}

TEST_F(PublishedSite, SlowTransfersAndClientsThatLeaveCostNothing) {
  auto records = Records(ReadText(Release("30052") / "filelist.lst"));
  site::ListRecord big = records.front();
  for (const auto& r : records)
    if (r.cabSize > big.cabSize) big = r;
  SetFaults("LogItemAttachment.aspx?Item=" + big.itemCode + " slow 20000\n");
  auto openFiles = [] {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator("/proc/" + std::to_string(server_->pid()) + "/fd")) ++n;
    return n;
  };
  size_t before = openFiles();
  for (int i = 0; i < 5; ++i) {
    size_t received = 0;
    auto reply = Client().Get(ItemUrl(big).c_str(), [&](const char*, size_t length) {
      received += length;
      return received < 4000;  // go away after a few KB of a slow transfer
    });
    EXPECT_FALSE(reply);
    EXPECT_LT(received, static_cast<size_t>(big.cabSize));
  }
  // The slow sender notices within its next chunk; then its file and socket are closed.
  bool settled = false;
  for (int wait = 0; wait < 50 && !settled; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    settled = openFiles() <= before;
  }
  EXPECT_TRUE(settled) << "open descriptors: " << openFiles() << ", before: " << before;
  SetFaults("");
  EXPECT_EQ(Body(ItemUrl(big)), ReadText(Release("30052") / "items" / big.itemCode));
}

TEST(SiteStartup, WrongOptionsAreRefusedClearly) {
  fs::path scratch = sitetest::FreshFolder("startup");
  auto run = sitetest::Run({sitetest::Tool("plandrix-site"), "--root", scratch.string(), "--listen", "nowhere"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("--listen"), std::string::npos);
  sitetest::WriteText(scratch / "users.txt", "no colon here\n");
  run = sitetest::Run({sitetest::Tool("plandrix-site"), "--root", scratch.string(), "--listen", "127.0.0.1:0",
                       "--users", (scratch / "users.txt").string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("line 1"), std::string::npos) << run.output;
  EXPECT_EQ(sitetest::Run({sitetest::Tool("plandrix-site"), "--help"}).status, 0);
}

TEST(SiteStartup, StopsCleanlyEvenWhenTheSignalComesAtOnce) {
  fs::path scratch = sitetest::FreshFolder("quickstop");
  for (int i = 0; i < 3; ++i) {
    sitetest::SiteProcess server(scratch, {}, scratch);
    ASSERT_GT(server.port(), 0) << server.Output();
    EXPECT_EQ(server.Stop(), 0) << server.Output();
  }
}

TEST(SiteStartup, ServesHttpsWithAGivenCertificate) {
  fs::path scratch = sitetest::FreshFolder("tls");
  fs::create_directories(scratch / "site");
  auto made = sitetest::Run({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                             "/CN=127.0.0.1", "-keyout", (scratch / "key.pem").string(), "-out",
                             (scratch / "cert.pem").string()});
  ASSERT_EQ(made.status, 0) << made.output;
  sitetest::SiteProcess server(scratch / "site",
                               {"--tls-cert", (scratch / "cert.pem").string(), "--tls-key",
                                (scratch / "key.pem").string()},
                               scratch);
  ASSERT_GT(server.port(), 0) << server.Output();
  httplib::SSLClient client("127.0.0.1", server.port());
  client.enable_server_certificate_verification(false);
  auto reply = client.Get("/docs/LogItemAttachUpDnLoad.aspx?Action=10");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->body.size(), 19u);
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace

namespace {

// A release with '+' travels as "%2B" in the file-list request and as a bare '+' in
// item requests; both must reach the same release, not "30052 1".
TEST(SiteReleases, PlusInAReleaseSurvivesBothSpellings) {
  fs::path scratch = sitetest::FreshFolder("plus");
  fs::path product = scratch / "product";
  fs::create_directories(product / "bin");
  sitetest::WriteText(product / "bin" / "a.txt", "alpha\r\n");
  auto run = sitetest::Run({sitetest::Tool("plandrix-publish"), "--from", product.string(), "--site",
                            (scratch / "site").string(), "--line", "FNS", "--release", "30052+1"});
  ASSERT_EQ(run.status, 0) << run.output;
  sitetest::SiteProcess server(scratch / "site", {}, scratch);
  ASSERT_GT(server.port(), 0) << server.Output();
  httplib::Client client("127.0.0.1", server.port());
  client.set_url_encode(false);
  auto releases = client.Get("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=FNS");
  ASSERT_TRUE(releases);
  EXPECT_EQ(releases->body, "\t30052+1\r\n");
  auto list = client.Get("/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&AssortmentCode=FNS&Release=30052%2B1&help=0");
  ASSERT_TRUE(list);
  auto records = Records(list->body);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].itemCode.rfind("CSFNSTU1_", 0), 0u);
  EXPECT_EQ(records[0].itemRelease, "30052+1");
  auto item = client.Get(("/docs/LogItemAttachment.aspx?Item=" + records[0].itemCode + "&Release=30052+1&Action=2")
                             .c_str());
  ASSERT_TRUE(item);
  EXPECT_EQ(item->body, ReadText(scratch / "site" / "FNS" / "30052+1" / "items" / records[0].itemCode));
  EXPECT_EQ(item->get_header_value("Cache-Control"), "no-cache");
  // Without credentials configured the site asks for none.
  EXPECT_EQ(item->status, 200);
}

TEST(SiteReleases, NamesWindowsCannotHoldAreRefused) {
  fs::path scratch = sitetest::FreshFolder("names");
  fs::path product = scratch / "product";
  fs::create_directories(product / "bin");
  sitetest::WriteText(product / "bin" / "what?.txt", "x");
  auto run = sitetest::Run({sitetest::Tool("plandrix-publish"), "--from", product.string(), "--site",
                            (scratch / "site").string(), "--line", "FNC", "--release", "1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("not valid on Windows"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(scratch / "site" / "FNC" / "1"));
}

}  // namespace

// The sample product published and served: every reply the installer relies on,
// checked over HTTP against the running plandrix-site, and the published lists read
// with the program's own parser.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "filelist/filelist.h"
#include "session/session.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using sitetest::ReadText;

namespace {

constexpr char kStamp[] = "/docs/LogItemAttachUpDnLoad.aspx?Action=10";

std::vector<FileEntry> Records(const std::string& text) {
  std::vector<FileEntry> records;
  for (const std::string& record : SplitListRecords(text))
    records.push_back(ParseFileListRecord(record, kInternetWorkstation));
  return records;
}

std::string ItemUrl(const FileEntry& r, bool sizes = true) {
  std::string url = "/docs/LogItemAttachment.aspx?Item=" + r.itemCode.str() + "&Release=" + r.itemRelease.str() +
                    "&Action=2";
  return sizes ? url + "&Size=" + std::to_string(r.size) + "&CabSize=" + std::to_string(r.cabSize) : url;
}

sitetest::RunResult Publish(const fs::path& from, const fs::path& site, std::vector<std::string> options) {
  std::vector<std::string> argv = {sitetest::Tool("plandrix-publish"), "--from", from.string(), "--site", site.string()};
  argv.insert(argv.end(), options.begin(), options.end());
  return sitetest::Run(argv);
}

// Publishes the sample as FNC 30052 (MSZIP) and 30051 (stored) and serves it with
// authentication and a fault file that starts out empty.
class PublishedSite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = sitetest::FreshFolder("site");
    sitetest::WriteText(scratch_ / "users.txt", "jan:geheim\nCORP\\piet:pw:with:colons\n");
    sitetest::WriteText(scratch_ / "faults.txt", "");
    for (auto [release, compress] : {std::pair{"30052", "mszip"}, std::pair{"30051", "none"}}) {
      auto run = Publish(PLANDRIX_SAMPLE_DIR, scratch_ / "site", {"--line", "FNC", "--release", release, "--layout",
                                                                  PLANDRIX_SAMPLE_LAYOUT, "--compress", compress});
      ASSERT_EQ(run.status, 0) << run.output;
    }
    server_ = new sitetest::SiteProcess(scratch_ / "site",
                                        {"--users", (scratch_ / "users.txt").string(), "--faults",
                                         (scratch_ / "faults.txt").string(), "--log",
                                         (scratch_ / "access.log").string()},
                                        scratch_);
  }
  static void TearDownTestSuite() {
    EXPECT_EQ(server_->Stop(), 0) << "the site did not stop cleanly on SIGTERM";
    delete server_;
  }
  void SetUp() override {
    ASSERT_GT(server_->port(), 0) << server_->Output();
    SetFaults("");
  }

  static void SetFaults(const std::string& text) {
    sitetest::WriteText(scratch_ / "faults.txt", text);
    static int bump = 0;  // a new modification time even within the same second
    fs::last_write_time(scratch_ / "faults.txt", fs::file_time_type::clock::now() + std::chrono::seconds(++bump));
  }
  static httplib::Client Client(const char* user = "jan", const char* password = "geheim") {
    httplib::Client client("127.0.0.1", server_->port());
    client.set_url_encode(false);
    client.set_read_timeout(10, 0);
    if (user) client.set_basic_auth(user, password);
    return client;
  }
  static int Status(const std::string& target, httplib::Client client = Client()) {
    auto reply = client.Get(target);
    return reply ? reply->status : -1;
  }
  static std::string Body(const std::string& target) {
    auto reply = Client().Get(target);
    EXPECT_TRUE(reply) << target;
    if (!reply) return {};
    EXPECT_EQ(reply->status, 200) << target;
    return reply->body;
  }
  static fs::path Release(const char* number) { return scratch_ / "site" / "FNC" / number; }
  static std::vector<FileEntry> List(const char* release = "30052", const char* name = "filelist.lst") {
    return Records(ReadText(Release(release) / name));
  }
  static FileEntry Biggest() {
    auto records = List();
    return *std::max_element(records.begin(), records.end(),
                             [](const FileEntry& a, const FileEntry& b) { return a.cabSize < b.cabSize; });
  }
  static std::string Cabinet(const FileEntry& r) { return ReadText(Release("30052") / "items" / r.itemCode.str()); }

  static inline fs::path scratch_;
  static inline sitetest::SiteProcess* server_ = nullptr;
};

TEST_F(PublishedSite, EveryCabinetExtractsToTheOriginalFile) {
  std::multimap<std::string, fs::path> sources;  // file name -> sample file
  for (const auto& entry : fs::recursive_directory_iterator(PLANDRIX_SAMPLE_DIR))
    if (entry.is_regular_file()) sources.emplace(entry.path().filename().string(), entry.path());
  for (const char* release : {"30052", "30051"}) {
    std::vector<FileEntry> records;
    for (const char* list : {"filelist.lst", "help.lst", "demo.lst"})
      for (const FileEntry& r : List(release, list)) records.push_back(r);
    EXPECT_EQ(records.size(), sources.size());
    std::set<std::string> codes;
    for (const FileEntry& r : records) {
      EXPECT_TRUE(codes.insert(r.itemCode).second) << r.itemCode.str();
      EXPECT_EQ(r.itemCode.str().rfind("CSFNC_", 0), 0u);
      fs::path cab = Release(release) / "items" / r.itemCode.str();
      EXPECT_EQ(static_cast<int64_t>(fs::file_size(cab)), r.cabSize);
      fs::path out = scratch_ / "extract" / release / r.itemCode.str();
      auto run = sitetest::Run({"cabextract", "-q", "-d", out.string(), cab.string()});
      ASSERT_EQ(run.status, 0) << run.output;
      // The one file inside is byte for byte one of the sample's files of that name.
      std::string extracted = ReadText(out / r.fileName.str());
      EXPECT_EQ(static_cast<int64_t>(extracted.size()), r.size);
      auto [first, last] = sources.equal_range(r.fileName);
      EXPECT_TRUE(std::any_of(first, last, [&](const auto& source) { return ReadText(source.second) == extracted; }))
          << r.fileName.str();
    }
  }
}

TEST_F(PublishedSite, ListFieldsFollowTheLayoutAndCarryVersions) {
  std::map<std::string, FileEntry> byTarget;
  for (const FileEntry& r : List()) {
    std::string code = r.itemCode;
    byTarget[r.folder.str() + "\\" + r.fileName.str() + (code.ends_with("_NT") ? "|NT" : code.ends_with("_9X") ? "|9X" : "")] = r;
    EXPECT_EQ(r.date.size(), 19u);
    EXPECT_EQ(r.date[2], '-');
    EXPECT_EQ(r.date[13], ':');
  }
  EXPECT_EQ(byTarget["SystemFolder\\fncshared.dll"].version, "2.5.0.7");
  EXPECT_EQ(byTarget["bin\\fnccore.dll"].registrationKind, 1);
  EXPECT_EQ(byTarget["bin\\fnccore.dll"].version, "17.0.3.12");
  EXPECT_EQ(byTarget["bin\\fncplat.dll|NT"].version, "17.0.3.4");
  EXPECT_EQ(byTarget["bin\\fncplat.dll|9X"].version, "17.0.3.3");
  for (const char* target : {"WindowsFolder\\Fonts\\fncsymbols.ttf", "CommonFilesFolder\\Crystal\\fncformats.txt",
                             "Root\\readme.txt"})
    EXPECT_TRUE(byTarget.count(target)) << target;
  EXPECT_EQ(byTarget["Root\\readme.txt"].version, "");
  auto help = List("30052", "help.lst");
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].folder, "help\\en");
  EXPECT_EQ(List("30052", "demo.lst").size(), 1u);
  // Every record ends in CR LF and no LF stands alone.
  std::string text = ReadText(Release("30052") / "filelist.lst");
  size_t crlf = 0;
  for (size_t i = 1; i < text.size(); ++i) crlf += text[i] == '\n' && text[i - 1] == '\r';
  EXPECT_EQ(crlf, byTarget.size());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(byTarget.size()));
}

TEST_F(PublishedSite, PublishingAgainGivesTheSameRelease) {
  fs::path again = scratch_ / "again";
  auto run = Publish(PLANDRIX_SAMPLE_DIR, again, {"--line", "FNC", "--release", "30052", "--layout",
                                                  PLANDRIX_SAMPLE_LAYOUT});
  ASSERT_EQ(run.status, 0) << run.output;
  for (const auto& entry : fs::recursive_directory_iterator(Release("30052"))) {
    if (!entry.is_regular_file()) continue;
    fs::path twin = again / "FNC" / "30052" / fs::relative(entry.path(), Release("30052"));
    EXPECT_EQ(ReadText(entry.path()), ReadText(twin)) << entry.path();
  }
}

TEST_F(PublishedSite, BadPublishRequestsChangeNothing) {
  fs::path site = scratch_ / "refused";
  auto publish = [&](std::vector<std::string> extra, fs::path from = PLANDRIX_SAMPLE_DIR) {
    extra.insert(extra.begin(), {"--line", "FNC"});
    return Publish(from, site, extra);
  };
  EXPECT_EQ(publish({"--release", "../evil"}).status, 1);
  EXPECT_EQ(publish({"--release", "1", "--compress", "lzx"}).status, 2);
  EXPECT_EQ(publish({"--release", "1", "--bogus", "x"}).status, 2);
  sitetest::WriteText(scratch_ / "bad.layout", "bin/* register=9\n");
  auto run = publish({"--release", "1", "--layout", (scratch_ / "bad.layout").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("line 1"), std::string::npos) << run.output;
  // Two files that would land on the same target.
  sitetest::WriteText(scratch_ / "clash.layout", "variants/nt/* folder=bin\nvariants/9x/* folder=bin\n");
  run = publish({"--release", "1", "--layout", (scratch_ / "clash.layout").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("already goes to bin\\fncplat.dll"), std::string::npos) << run.output;
  // A name Windows cannot hold.
  fs::create_directories(scratch_ / "odd" / "bin");
  sitetest::WriteText(scratch_ / "odd" / "bin" / "what?.txt", "x");
  run = publish({"--release", "1"}, scratch_ / "odd");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("not valid on Windows"), std::string::npos) << run.output;
  for (const auto& entry : fs::recursive_directory_iterator(site))
    EXPECT_TRUE(entry.is_directory()) << "left behind: " << entry.path();
  EXPECT_EQ(sitetest::Run({sitetest::Tool("plandrix-publish"), "--help"}).status, 0);
}

TEST_F(PublishedSite, TimeStampAndReleaseListForAnyCaseOfTheCode) {
  std::string stamp = Body(kStamp);
  ASSERT_EQ(stamp.size(), 19u);
  EXPECT_TRUE(stamp[2] == '-' && stamp[5] == '-' && stamp[13] == ':' && stamp[16] == ':') << stamp;
  const std::string releases = "/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=";
  EXPECT_EQ(Body(releases + "FNC"), "\t30052\t30051\r\n");
  EXPECT_EQ(Body(releases + "fnc"), "\t30052\t30051\r\n");
  EXPECT_EQ(Body(releases + "KS").rfind("__ERROR__", 0), 0u);
  EXPECT_EQ(Body(releases + "..").rfind("__ERROR__", 0), 0u);
}

TEST_F(PublishedSite, FileListAddsTheGroupsAskedForAndRecordsTheRegistration) {
  std::string prefix = "/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&AssortmentCode=FNC&Release=30052";
  std::string who =
      "&ContactName=Jan%0D%0AForged%09Line&Email=jan@example.org&Phone=+31%2020&JobTitle=Boss&Title=Dr&Gender=M";
  std::string base = ReadText(Release("30052") / "filelist.lst");
  std::string help = ReadText(Release("30052") / "help.lst");
  EXPECT_EQ(Body(prefix + "&help=0&Demo=0" + who), base);
  EXPECT_EQ(Body(prefix + "&help=1&Demo=0" + who), base + help);
  EXPECT_EQ(Body(prefix + "&help=1&Demo=1&Language=NL&Country=NL" + who),
            base + help + ReadText(Release("30052") / "demo.lst"));
  EXPECT_EQ(Body(prefix + "&help=0" + who), base);  // no Demo key for lines without a demo company

  std::string log = ReadText(scratch_ / "site" / "registrations.log");
  for (const char* field : {"ContactName=Jan  Forged Line\tEmail=jan@example.org", "Language=NL\tCountry=NL",
                            "Phone=+31 20\t", "user=jan"})
    EXPECT_NE(log.find(field), std::string::npos) << field << " in " << log;
  EXPECT_EQ(log.find("\nForged"), std::string::npos);
}

TEST_F(PublishedSite, UnknownReleasesItemsAndPathAttemptsGetAnErrorNeverAFile) {
  sitetest::WriteText(scratch_ / "secret.txt", "secret");
  std::string code = List().front().itemCode;
  const std::string list = "/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&";
  auto item = [](const std::string& query) { return "/docs/LogItemAttachment.aspx?" + query + "&Action=2"; };
  for (const std::string& target : {
           list + "AssortmentCode=FNC&Release=99999&help=0", list + "AssortmentCode=XYZ&Release=30052&help=0",
           list + "AssortmentCode=FNC&Release=..\\..\\FNC&help=0", list + "AssortmentCode=..&Release=30052&help=0",
           list + "AssortmentCode=FNC&Release=%2E%2E%2Fsite&help=0", item("Item=NOSUCHITEM&Release=30052"),
           item("Item=" + code + "&Release=30050"), item("Item=..\\..\\x&Release=30052"),
           item("Item=../../../secret.txt&Release=30052"), item("Item=" + code + "&Release=.."),
           item("Item=%2e%2e%2fsecret.txt&Release=30052"), item("Item=" + code + "&Release=30052/../30052"),
           item("Item=/etc/passwd&Release=30052"), item("Item=&Release="), item("Item=.&Release=30052"),
           item("Item=items&Release=30052")}) {
    std::string body = Body(target);
    EXPECT_EQ(body.rfind("__ERROR__", 0), 0u) << target << ": " << body.substr(0, 40);
    EXPECT_GT(body.size(), 9u) << target;
    EXPECT_EQ(body.find("secret"), std::string::npos);
  }
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=77"), "__ERROR__Unknown action");
}

TEST_F(PublishedSite, ItemBytesOrTheSizesReplyWhenTheSizesDiffer) {
  for (const FileEntry& r : List()) {
    EXPECT_EQ(Body(ItemUrl(r)), Cabinet(r)) << r.itemCode.str();
    EXPECT_EQ(Body(ItemUrl(r, false)), Cabinet(r)) << r.itemCode.str();
  }
  const FileEntry r = List().front();
  std::string sizes = "_ItemAttachmentSizes_\r\n" + std::to_string(r.size) + "\t" + std::to_string(r.cabSize);
  for (std::string wrong : {"&Size=1&CabSize=" + std::to_string(r.cabSize),
                            "&Size=" + std::to_string(r.size) + "&CabSize=0", std::string("&Size=abc&CabSize=-1")})
    EXPECT_EQ(Body(ItemUrl(r, false) + wrong), sizes) << wrong;
  // The stored release's items are found by their own release number.
  FileEntry stored = List("30051").front();
  EXPECT_EQ(Body(ItemUrl(stored)), ReadText(Release("30051") / "items" / stored.itemCode.str()));
}

TEST_F(PublishedSite, AuthenticationAsksWithARealmAndAcceptsDomains) {
  auto none = Client(nullptr).Get(kStamp);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->status, 401);
  EXPECT_EQ(none->get_header_value("WWW-Authenticate"), "Basic realm=\"Plandrix update site\"");
  const std::tuple<const char*, const char*, int> cases[] = {
      {"jan", "wrong", 401},      {"jan", "Geheim", 401},      {"SOMEWHERE\\jan", "geheim", 200},
      {"corp\\PIET", "pw:with:colons", 200}, {"piet", "pw:with:colons", 401},  // the entry names a domain
      {"OTHER\\piet", "pw:with:colons", 401}, {"nobody", "", 401}};
  for (const auto& [user, password, status] : cases)
    EXPECT_EQ(Status(kStamp, Client(user, password)), status) << user << ":" << password;
  for (const char* header : {"Basic !!!", "Digest abc"})
    EXPECT_EQ(Client(nullptr).Get(kStamp, {{"Authorization", header}})->status, 401) << header;
  // The help and document pages open in a browser that has no credentials.
  auto help = Client(nullptr).Get("/docs/SysHelp.aspx?Topic=Plandrix_T17_AE.exe&TopicFilter=FNC&Language=EN");
  ASSERT_TRUE(help);
  EXPECT_EQ(help->status, 200);
  EXPECT_NE(help->body.find("Plandrix_T17_AE.exe"), std::string::npos);
  EXPECT_EQ(Status("/docs/DocView.aspx?Action=View&DocumentID={40B4BC84-3696-48BB-9D8E-2791D775E86C}",
                   Client(nullptr)), 200);
  EXPECT_EQ(Status("/other/page"), 404);
}

TEST_F(PublishedSite, OversizedRequestsAreRefused) {
  EXPECT_EQ(Status(kStamp + ("&ContactName=" + std::string(300, 'x'))), 400);
  std::string many = kStamp;
  for (int i = 0; i < 40; ++i) many += "&k" + std::to_string(i) + "=v";
  EXPECT_EQ(Status(many), 400);
  EXPECT_GE(Status("/docs/x.aspx?a=" + std::string(20000, 'y')), 400);
  EXPECT_EQ(Body(kStamp).size(), 19u);  // still serving
}

TEST_F(PublishedSite, FaultsShapeTheRepliesTheyMatch) {
  FileEntry big = Biggest();
  std::string code = big.itemCode;
  SetFaults("LogItemAttachUpDnLoad.aspx?Action=10 html times=1\n"
            "LogItemAttachment.aspx?Item=" + code + "&Size=1 sizes 2048 1024\n"
            "LogItemAttachment.aspx?Item=" + code + " short 10 times=1\n"
            "LogItemAttachment.aspx?Item=" + code + " cut 1000 times=1\n"
            "LogItemAttachUpDnLoad.aspx?Action=3 error Closed for maintenance\n"
            "*?Action=1 status 500\n"
            "LogItemAttachment.aspx?Item=NOSUCHITEM 401\n");
  EXPECT_EQ(Status(kStamp, Client(nullptr)), 401);  // turned away: the fault stays
  EXPECT_NE(Body(kStamp).find("<HTML>"), std::string::npos);
  EXPECT_EQ(Body(kStamp).size(), 19u);  // used up after once
  EXPECT_EQ(Body(ItemUrl(big, false) + "&Size=1"), "_ItemAttachmentSizes_\r\n2048\t1024");
  EXPECT_EQ(Body(ItemUrl(big)), Cabinet(big).substr(0, 10));
  auto cut = Client().Get(ItemUrl(big));
  EXPECT_TRUE(!cut || cut->body.size() < Cabinet(big).size());  // announced whole, dropped after 1000 bytes
  EXPECT_EQ(Body(ItemUrl(big)), Cabinet(big));                   // both used up
  EXPECT_EQ(Body("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=FNC"), "__ERROR__Closed for maintenance");
  EXPECT_EQ(Status("/docs/LogItemAttachUpDnLoad.aspx?Action=1&AssortmentCode=FNC&Release=30052"), 500);
  for (int twice = 0; twice < 2; ++twice)  // right credentials, refused all the same
    EXPECT_EQ(Status("/docs/LogItemAttachment.aspx?Item=NOSUCHITEM&Release=30052&Action=2"), 401);
}

TEST_F(PublishedSite, SlowTransfersAndClientsThatLeaveCostNothing) {
  FileEntry big = Biggest();
  SetFaults("LogItemAttachment.aspx?Item=" + big.itemCode.str() + " slow 20000\n");
  auto openFiles = [] {
    auto fds = fs::directory_iterator("/proc/" + std::to_string(server_->pid()) + "/fd");
    return static_cast<size_t>(std::distance(begin(fds), end(fds)));
  };
  size_t before = openFiles();
  for (int i = 0; i < 5; ++i) {
    size_t received = 0;
    auto reply = Client().Get(ItemUrl(big), [&](const char*, size_t length) {
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
  EXPECT_EQ(Body(ItemUrl(big)), Cabinet(big));
}

TEST(SiteStartup, WrongOptionsAreRefusedClearlyAndAQuickStopIsClean) {
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
  for (int i = 0; i < 3; ++i) {  // the signal may come at once
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
  sitetest::SiteProcess server(
      scratch / "site", {"--tls-cert", (scratch / "cert.pem").string(), "--tls-key", (scratch / "key.pem").string()},
      scratch);
  ASSERT_GT(server.port(), 0) << server.Output();
  httplib::SSLClient client("127.0.0.1", server.port());
  client.enable_server_certificate_verification(false);
  auto reply = client.Get(kStamp);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->body.size(), 19u);
  EXPECT_EQ(server.Stop(), 0);
}

// A release with '+' travels as "%2B" in the file-list request and as a bare '+' in
// item requests; both must reach the same release, not "30052 1".
TEST(SiteReleases, PlusInAReleaseSurvivesBothSpellings) {
  fs::path scratch = sitetest::FreshFolder("plus");
  fs::create_directories(scratch / "product" / "bin");
  sitetest::WriteText(scratch / "product" / "bin" / "a.txt", "alpha\r\n");
  auto run = Publish(scratch / "product", scratch / "site", {"--line", "FNS", "--release", "30052+1"});
  ASSERT_EQ(run.status, 0) << run.output;
  sitetest::SiteProcess server(scratch / "site", {}, scratch);
  ASSERT_GT(server.port(), 0) << server.Output();
  httplib::Client client("127.0.0.1", server.port());
  client.set_url_encode(false);
  auto releases = client.Get("/docs/LogItemAttachUpDnLoad.aspx?Action=3&AssortmentCode=FNS");
  ASSERT_TRUE(releases);
  EXPECT_EQ(releases->body, "\t30052+1\r\n");
  auto list = client.Get("/docs/LogItemAttachUpDnLoad.aspx?Action=1&Install=0&AssortmentCode=FNS&Release=30052%2B1");
  ASSERT_TRUE(list);
  auto records = Records(list->body);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].itemCode.str().rfind("CSFNSTU1_", 0), 0u);
  EXPECT_EQ(records[0].itemRelease, "30052+1");
  auto item = client.Get(ItemUrl(records[0], false));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->status, 200);  // without credentials configured the site asks for none
  EXPECT_EQ(item->body, ReadText(scratch / "site" / "FNS" / "30052+1" / "items" / records[0].itemCode.str()));
  EXPECT_EQ(item->get_header_value("Cache-Control"), "no-cache");
}

}  // namespace

// Reading a file list, judging its fields, and where its entries go (and may not go).
#include "filelist/filelist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "fakes/fake_clock.h"
#include "fakes/fake_os.h"
#include "filelist/clusters.h"
#include "filelist/fileversion.h"
#include "filelist/listdate.h"
#include "filelist/osvariant.h"
#include "filelist/targetfolder.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"

namespace {

using Records = std::vector<std::string>;
constexpr uint64_t kSecond = 10'000'000;

TEST(ListRecords, CrEndsARecordAndLfIsDroppedWhereverAndBlocksAreJoined) {
  EXPECT_EQ(SplitListRecords("a\r\nb\rc\r"), (Records{"a", "b", "c"}));
  EXPECT_EQ(SplitListRecords("a\nb\r\n\r"), (Records{"ab", ""}));
  EXPECT_EQ(SplitListRecords("one\ntwo\r\ntail without end"), (Records{"onetwo"}));
  EXPECT_EQ(CountListRecords("one\r\ntwo\rthree\n"), 2u);
  EXPECT_EQ(SplitListRecords(std::string(5000, 'x') + "\r\nnext\r\n"), (Records{std::string(2047, 'x'), "next"}));
  ListRecordSplitter splitter;
  Records records;
  for (const char* block : {"A1\tR\tx.d", "ll\r", "\nB2\r"}) splitter.Feed(block, records);
  EXPECT_EQ(records, (Records{"A1\tR\tx.dll", "B2"}));
}

TEST(ListFields, MissingFieldsStayEmptyOverlongOnesAreCutAndNumbersSaturateAt32Bits) {
  const std::pair<const char*, int32_t> cases[] = {
      {"1234", 1234}, {"   42abc", 42}, {"-17", -17}, {"+8", 8}, {"", 0}, {"abc", 0}, {"- 5", 0}, {"12 34", 12},
      {"2147483648", 2147483647}, {"-2147483648", -2147483647 - 1}, {"-99999999999999999999", -2147483647 - 1}};
  for (const auto& [text, number] : cases) EXPECT_EQ(ParseListNumber(text), number) << text;
  FileEntry gaps = ParseFileListRecord("A1\t\t\t\t\t\t1", 0);
  EXPECT_TRUE(gaps.itemRelease.empty() && gaps.fileName.empty() && gaps.version.empty() && gaps.size == 0);
  EXPECT_EQ(gaps.registrationKind, 1);  // missing trailing fields and empty ones stay empty
  FileEntry cut = ParseFileListRecord(std::string(40, 'c') + "\t" + std::string(50, 'r') + "\t" + std::string(70, 'f') +
                                          "\t1\t" + std::string(30, 'd') + "\t" + std::string(100, 'b') +
                                          "\t0\t\t\t\t\t0\t" + std::string(40, '9'), 0);
  const std::array<std::size_t, 7> sizes = {cut.itemCode.size(), cut.itemRelease.size(), cut.fileName.size(),
                                            cut.date.size(), cut.folder.size(), cut.version.size(), cut.placeCut};
  EXPECT_EQ(sizes, (std::array<std::size_t, 7>{30, 38, 60, 20, 80, 32, 1}));
  EXPECT_FALSE(ParseFileListRecord("c\tr\t" + std::string(60, 'f') + "\t1\td\t" + std::string(80, 'b'), 0).placeCut);
}

TEST(FieldJudgements, TheFirstDifferingUnsignedVersionPartDecidesFileTimesCompareLooselySizesRoundUp) {
  const struct {
    sys::FileVersion installed, offered;
    bool older;  // the installed one is not newer
  } cases[] = {{{5, 1, 221, 0}, {5, 1, 221, 0}, true}, {{5, 1, 221, 9}, {5, 1, 222, 0}, true},
               {{5, 1, 0, 0}, {5, 0, 999, 9}, false}, {{1, 0, 0, 65535}, {1, 0, 0, 32768}, false}};
  for (const auto& c : cases) EXPECT_EQ(CompareVersions(c.installed, c.offered), c.older) << c.installed[0];
  // File times up to three seconds, or an hour within three seconds, apart are equal.
  const uint64_t t = 130'000'000'000'000'000ull;
  const std::pair<uint64_t, int> times[] = {{0, 0}, {kSecond / 2, 1}, {kSecond, 0}, {39 * kSecond / 10, 0},
                                            {4 * kSecond, 1}, {3596 * kSecond, 1}, {3597 * kSecond, 0},
                                            {3603 * kSecond, 0}, {3604 * kSecond, 1}};
  for (const auto& [later, order] : times) {
    EXPECT_EQ(CompareFileTimesLoosely(t + later, t), order) << later;
    EXPECT_EQ(CompareFileTimesLoosely(t, t + later), -order) << later;
  }
  // Sizes round up to whole clusters.
  const std::array<int64_t, 3> sizes[] = {{1, 4096, 4096}, {4096, 4096, 4096}, {4097, 4096, 8192}, {0, 4096, 0},
                                          {2147483647, 65536, 2147483648}, {100, 0, 100}};
  for (const auto& [size, cluster, rounded] : sizes) EXPECT_EQ(RoundUpToCluster(size, cluster), rounded) << size;
}

// A clock whose local time runs `bias` ahead of UTC, as east of Greenwich.
class ZonedClock : public fakes::FakeClock {
 public:
  explicit ZonedClock(int64_t biasSeconds) : bias_(biasSeconds) {}
  sys::LocalTime Now() override { return fakes::LocalTimeOf(NowFileTime() + static_cast<uint64_t>(bias_ * 10'000'000)); }
  int64_t bias_;
};

// Local list dates become UTC with the current bias. Fields the C library cannot read stay
// 0, so "01-02-2003" alone is that day's midnight; a text that makes no time gives 0.
TEST(ListDates, AgreeWithTheCLibrarysReadingInLocalTime) {
  ZonedClock clock(0);
  sys::Os os;
  os.clock = &clock;
  sys::InstallOs(os);
  EXPECT_EQ(ParseListDate("29-02-2024 23:59:59"), fakes::FileTimeOf({2024, 2, 0, 29, 23, 59, 59, 0}));
  for (const char* text : {"01-02-2003 04:05:06", " 1- 2-2003  4: 5: 6", "+1-+2-2003 04:05:06", "01-02-2003 04-05-06",
                           "1-1-1601 0:0:0", "31-12-30827 23:59:59", "0101-2003", "-1-02-2003 04:05:06", "01-02-2003",
                           "01-02-20031 04:05:06", "12-12-12 12:12:12", "not a date", "29-02-2003 00:00:00",
                           "01-13-2003 00:00:00", "01-01-1600 00:00:00", "01-01-2003 24:00:00"}) {
    sys::LocalTime reference;
    std::sscanf(text, "%02hu-%02hu-%04hu %02hu:%02hu:%02hu", &reference.day, &reference.month, &reference.year,
                &reference.hour, &reference.minute, &reference.second);
    EXPECT_EQ(ParseListDate(text), FileTimeFromSystemTime(reference).value_or(0)) << text;
  }
  for (int64_t bias : {2 * 3600, -5 * 3600 - 30 * 60}) {
    clock.bias_ = bias;
    EXPECT_EQ(ParseListDate("01-02-2003 04:05:06"), *FileTimeFromSystemTime({2003, 2, 0, 1, 4, 5, 6, 0}) - bias * 10'000'000);
  }
  sys::InstallOs(sys::Os{});
}

TEST(OsVariants, TheOtherFamilysVariantIsExcludedAndTheLinesItemsAreKnownByTheirPrefix) {
  auto item = [](const char* code) { return ParseFileListRecord(code, 0); };
  Session().isNtFamily = false;
  EXPECT_TRUE(OsVariantExcluded(item("X_nt")) && !OsVariantExcluded(item("X_9x")));
  EXPECT_FALSE(OsVariantExcluded(item("_9X")) || OsVariantExcluded(item("X_9Y")));
  EXPECT_TRUE(HasItemPrefix(item("X_CSFNC_ABC"), "CSFNC_"));  // anywhere, with letter case
  EXPECT_FALSE(HasItemPrefix(item("csfnc_ABC"), "CSFNC_") || HasItemPrefix(item("CSFNC"), "CSFNC_"));
}

class TargetFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    Places().windowsFolder = "C:\\WINDOWS";
    Places().systemFolder = "C:\\WINDOWS\\system32";
    Places().tempFolder = "C:\\Temp\\";
    Places().commonFilesFolder = "C:\\CF";
    Session().installDir = "C:\\Fennic";
    os.files.MakeDirectories("C:\\Fennic\\usr");  // the log goes there
  }
  void TearDown() override { CloseLog(); }

  static FileEntry Entry(const std::string& folder, const std::string& code = "ITEM", const std::string& file = "x.dll") {
    return ParseFileListRecord(code + "\t\t" + file + "\t0\t\t" + folder, 0);
  }
  std::string Resolve(FileEntry& entry, int32_t mode, int pass = kPassSingle) {
    Session().installMode = mode;
    return ResolveTargetFolder(entry, pass);
  }
  std::string Log() {
    CloseLog();
    return os.files.ReadText(Session().installDir.str() + "\\usr\\Plandrix.log").value_or("");
  }

  FakeOs os;
};

// A workstation reads the folder macros; a network installation or CD image takes the
// field as it stands, below its OS variant folder.
TEST_F(TargetFolders, MacrosNameTheWorkstationsPlacesAndNetworkInstallationsTakeTheField) {
  const struct {
    const char *field, *code, *workstation, *network;
    bool protectedTarget, sharedFile;
    int32_t reportRuntimeCopy;
  } cases[] = {
      {"systemfolder\\drivers", "X_NT", "C:\\WINDOWS\\system32\\drivers", "C:\\Fennic\\systemfolder\\drivers\\nt", true, true, 0},
      {"WindowsFolder", "X", "C:\\WINDOWS", "C:\\Fennic\\WindowsFolder", true, true, 0},
      {"WindowsFolder\\Fonts", "x_9x", "C:\\WINDOWS\\Fonts", "C:\\Fennic\\WindowsFolder\\Fonts\\9X", true, false, 0},
      {"COMMONFILESFOLDER\\cRYSTAL", "X", "C:\\CF\\cRYSTAL", "C:\\Fennic\\COMMONFILESFOLDER\\cRYSTAL", true, false, 1},
      {"CommonFilesFolder\\Crystal\\bin", "X", "C:\\CF\\Crystal\\bin",
       "C:\\Fennic\\CommonFilesFolder\\Crystal\\bin", true, false, 0},
      {"Root\\bin", "_NT", "C:\\Fennic\\bin", "C:\\Fennic\\Root\\bin", true, false, 0},
      {"bin\\SystemFolder", "X", "C:\\Fennic\\bin\\SystemFolder", "C:\\Fennic\\bin\\SystemFolder", false, false, 0},
      {"donotparse\\x", "X", "", "C:\\Fennic\\donotparse\\x", false, false, 0},
  };
  for (const auto& c : cases) {
    for (int32_t mode = 0; mode <= 7; ++mode) {
      for (int pass : {kPassSingle, kPassFromCache}) {
        FileEntry entry = Entry(c.field, c.code);
        bool workstation = IsWorkstationMode(mode);
        EXPECT_EQ(Resolve(entry, mode, pass), workstation ? c.workstation : c.network) << c.field << " mode " << mode;
        EXPECT_EQ(entry.protectedTarget, workstation && c.protectedTarget) << c.field;
        EXPECT_EQ(entry.sharedFile, workstation && c.sharedFile) << c.field;
        EXPECT_EQ(entry.reportRuntimeCopy, workstation ? c.reportRuntimeCopy : 0) << c.field;
      }
    }
  }
}

TEST_F(TargetFolders, AnUnknownPlaceGivesNoFolderAndTheSpreadsheetIsAskedOnce) {
  FileEntry start = Entry("ExcelStartFolder"), excel = Entry("ExcelFolder\\XLStart"), network = Entry("bin", "X_NT");
  EXPECT_EQ(Resolve(start, kInternetWorkstation), "");  // no spreadsheet to ask
  os.automation.Register("Excel.Application", {"{00024500-0000-0000-C000-000000000046}", {{"StartupPath", "C:\\X"}}});
  EXPECT_EQ(Resolve(start, kInternetWorkstation), "");  // and it is not asked again
  EXPECT_EQ(os.automation.created.size(), 1u);
  EXPECT_EQ(Resolve(excel, kInternetWorkstation), "");
  Session().installDir = "";
  EXPECT_EQ(Resolve(network, kInternetNetwork), "");
  Places().tempFolder.clear();
  EXPECT_EQ(Resolve(network, kInternetNetwork, kPassToCache), "");
}

TEST_F(TargetFolders, TheSpreadsheetNamesItsStartUpAndLibraryFolders) {
  FileEntry start = Entry("ExcelStartFolder"), library = Entry("ExcelLibFolder\\Analysis");
  os.automation.Register("Excel.Application", {"{00024500-0000-0000-C000-000000000046}",
                                               {{"StartupPath", "C:\\XLStart"}, {"LibraryPath", "C:\\Library"}}});
  EXPECT_EQ(Resolve(start, kInternetWorkstation), "C:\\XLStart");
  EXPECT_EQ(Resolve(library, kLanWorkstation, kPassFromCache), "C:\\Library\\Analysis");
  EXPECT_TRUE(start.protectedTarget && os.automation.created.size() == 1);
}

TEST_F(TargetFolders, ThePlayersFolderIsWhereItsControlIsRegisteredElseTheSystemsFlashFolder) {
  constexpr const char* kFlashClass = "{D27CDB6E-AE6D-11CF-96B8-444553540000}";
  constexpr const char* kFallback = "C:\\WINDOWS\\system32\\macromed\\flash";
  FileEntry entry = Entry("FlashFolder");
  EXPECT_TRUE(Resolve(entry, kInternetWorkstation) == kFallback && entry.protectedTarget);  // not registered
  os.automation.Register("ShockwaveFlash.ShockwaveFlash", {kFlashClass, {}});
  os.files.WriteText("C:\\WINDOWS\\system32\\Macromed\\Flash\\Flash10a.ocx", "MZ");
  os.files.MakeDirectories("C:\\WINDOWS\\Flash Player");
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\WINDOWS\\system32\\Macromed\\Flash\\Flash10a.ocx", "C:\\WINDOWS\\system32\\Macromed\\Flash"},
      {"  \"%SystemRoot%\\Flash Player\\flash.ocx\" ", "C:\\WINDOWS\\Flash Player"},  // quotes, variables
      {"flash.ocx", kFallback}, {"C:\\Gone\\flash.ocx", kFallback}, {"..\\..\\flash.ocx", kFallback}};
  for (const auto& [server, folder] : cases) {
    os.registry.PutString(sys::Hive::ClassesRoot, std::string("CLSID\\") + kFlashClass + "\\InprocServer32", "", server);
    EXPECT_EQ(Resolve(entry, kInternetWorkstation), folder) << server;
  }
  Places().systemFolder.clear();
  EXPECT_EQ(Resolve(entry, kInternetWorkstation), "");
}

TEST_F(TargetFolders, FieldsThatLeadOutsideOrWereCutGiveNoFolderInEveryModeAndPass) {
  const std::string hostile[] = {"..",   "..\\Windows", "bin\\..\\..\\evil", "SystemFolder\\..\\..\\evil", "C:\\evil",
                                 "c:evil", "\\evil", "\\\\server\\share", "\\\\?\\C:\\evil", "bin/../../evil", "/etc",
                                 "bin\\...\\evil", "bin\\. .\\x", "Root\\..", "bin\\x:stream", "bin\x01x",
                                 std::string("bin\0..", 6)};
  for (const std::string& field : hostile) {
    FileEntry entry = Entry(field, "EVIL1", "e.dll");
    for (int32_t mode = 0; mode <= 7; ++mode) {
      for (int pass : {kPassSingle, kPassToCache, kPassFromCache}) {
        EXPECT_EQ(Resolve(entry, mode, pass), "") << field << " mode " << mode << " pass " << pass;
        EXPECT_FALSE(entry.protectedTarget || entry.sharedFile) << field;
      }
    }
  }
  for (const char* file : {"..\\evil.dll", "C:\\evil.dll", "\\evil.dll", "sub\\..\\..\\evil.dll", "../e.dll"}) {
    FileEntry entry = Entry("bin", "EVIL2", file);
    EXPECT_EQ(Resolve(entry, kInternetWorkstation), "") << file;
  }
  const std::string log = Log();  // each refused entry named once, whatever the passes
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::size(hostile) + 5);
  EXPECT_NE(log.find("EVIL2: leads outside the installation's places (folder 'bin', file 'C:\\evil.dll')"),
            std::string::npos);
  const std::pair<const char*, const char*> inside[] = {  // look-alikes that stay inside are kept
      {"bin\\..x", "C:\\Fennic\\bin\\..x"}, {"a.b\\c", "C:\\Fennic\\a.b\\c"}, {"bin\\", "C:\\Fennic\\bin"}, {"", "C:\\Fennic"}};
  for (const auto& [field, folder] : inside) {
    FileEntry entry = Entry(field, "GOOD", "x..dll");
    EXPECT_EQ(Resolve(entry, kLanWorkstation), folder) << field;
  }
  // A field cut at its limit, or longer than a path, is not installed either.
  FileEntry cut = ParseFileListRecord("A\tR\tx.dll\t1\td\tbin\\" + std::string(80, 's'), kLanWorkstation);
  EXPECT_TRUE(Resolve(cut, kLanWorkstation).empty() && Log().find("longer than the list allows") != std::string::npos);
  Session().installDir = "C:\\" + std::string(200, 'i');
  os.files.MakeDirectories(Session().installDir.str() + "\\usr");
  FileEntry tooLong = Entry(std::string(70, 'f')), fits = Entry(std::string(50, 'f'));
  EXPECT_EQ(Resolve(fits, kLanWorkstation).size(), 3u + 200 + 1 + 50);
  EXPECT_TRUE(Resolve(tooLong, kLanWorkstation).empty() && Log().find("longer than a path") != std::string::npos);
}

}  // namespace

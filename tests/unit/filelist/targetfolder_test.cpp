// Where entries go: folder macros on a workstation, sub-folders in network installations,
// the download cache, the spreadsheet's and the player's folders, fields that try to leave.
#include "filelist/targetfolder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "filelist/filelist.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"

namespace {

constexpr const char* kCache = "C:\\Temp\\Molvex Update Setup Files";

class TargetFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    Places().windowsFolder = "C:\\WINDOWS";
    Places().systemFolder = "C:\\WINDOWS\\system32";
    Places().tempFolder = "C:\\Temp\\";
    Places().commonFilesFolder = "C:\\Program Files\\Common Files";
    Places().excelFolder = "C:\\Office\\Excel";
    Session().installDir = "C:\\Fennic";
    os.files.MakeDirectories("C:\\Fennic\\usr");  // the log goes there
  }
  void TearDown() override { CloseLog(); }

  static FileEntry Entry(const std::string& folder, const std::string& code = "ITEM", const std::string& file = "x.dll") {
    FileEntry entry;
    entry.itemCode = code;
    entry.folder = folder;
    entry.fileName = file;
    return entry;
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
      {"COMMONFILESFOLDER\\cRYSTAL", "X", "C:\\Program Files\\Common Files\\cRYSTAL",
       "C:\\Fennic\\COMMONFILESFOLDER\\cRYSTAL", true, false, 1},
      {"CommonFilesFolder\\Crystal\\bin", "X", "C:\\Program Files\\Common Files\\Crystal\\bin",
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

TEST_F(TargetFolders, TheCachePassKeepsTheFieldBelowTheCacheAndTheAnalysisFlags) {
  for (int32_t mode = 0; mode <= 7; ++mode) {
    FileEntry entry = Entry("SystemFolder\\drivers", "X_NT");
    const std::string variant = IsWorkstationMode(mode) ? "" : "\\nt";
    EXPECT_EQ(Resolve(entry, mode, kPassToCache), std::string(kCache) + "\\SystemFolder\\drivers" + variant) << mode;
    EXPECT_FALSE(entry.protectedTarget || entry.sharedFile);
  }
  FileEntry analysed = Entry("SystemFolder");
  Resolve(analysed, kInternetWorkstation);
  EXPECT_EQ(Resolve(analysed, kInternetWorkstation, kPassToCache), std::string(kCache) + "\\SystemFolder");
  EXPECT_TRUE(analysed.protectedTarget && analysed.sharedFile);
}

TEST_F(TargetFolders, AnUnknownPlaceGivesNoFolderAndTheSpreadsheetIsAskedOnce) {
  FileEntry start = Entry("ExcelStartFolder"), excel = Entry("ExcelFolder\\XLStart"), network = Entry("bin", "X_NT");
  EXPECT_EQ(Resolve(start, kInternetWorkstation), "");  // no spreadsheet to ask
  os.automation.Register("Excel.Application", {"{00024500-0000-0000-C000-000000000046}", {{"StartupPath", "C:\\X"}}});
  EXPECT_EQ(Resolve(start, kInternetWorkstation), "");  // and it is not asked again
  EXPECT_EQ(os.automation.faults.Calls(fakes::FakeAutomation::Op::Create), 1);
  Places().excelFolder.clear();
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
      {"flash.ocx", kFallback}, {"C:\\Gone\\flash.ocx", kFallback}, {"%APPDATA%\\flash.ocx", kFallback},
      {"..\\..\\flash.ocx", kFallback}};
  for (const auto& [server, folder] : cases) {
    os.registry.PutString(sys::Hive::ClassesRoot, std::string("CLSID\\") + kFlashClass + "\\InprocServer32", "", server);
    EXPECT_EQ(Resolve(entry, kInternetWorkstation), folder) << server;
  }
  Places().systemFolder.clear();
  EXPECT_EQ(Resolve(entry, kInternetWorkstation), "");
}

TEST_F(TargetFolders, FieldsThatLeadOutsideGiveNoFolderInEveryModeAndPass) {
  const std::string hostile[] = {"..",   "..\\Windows", "bin\\..\\..\\evil", "SystemFolder\\..\\..\\evil", "C:\\evil",
                                 "c:evil", "\\evil", "\\\\server\\share", "\\\\?\\C:\\evil", "bin/../../evil", "/etc",
                                 "bin\\...\\evil", "bin\\. .\\x", "Root\\..", "bin\\x:stream", "bin\x01x",
                                 std::string("bin\0..", 6)};
  for (const std::string& field : hostile) {
    for (int32_t mode = 0; mode <= 7; ++mode) {
      for (int pass : {kPassSingle, kPassToCache, kPassFromCache}) {
        FileEntry entry = Entry(field, "EVIL1", "e.dll");
        EXPECT_EQ(Resolve(entry, mode, pass), "") << field << " mode " << mode << " pass " << pass;
        EXPECT_FALSE(entry.protectedTarget || entry.sharedFile) << field;
      }
    }
  }
  for (const char* file : {"..\\evil.dll", "C:\\evil.dll", "\\evil.dll", "sub\\..\\..\\evil.dll", "../e.dll"}) {
    FileEntry entry = Entry("bin", "EVIL2", file);
    EXPECT_EQ(Resolve(entry, kInternetWorkstation), "") << file;
  }
  const std::pair<const char*, const char*> inside[] = {  // look-alikes that stay inside are kept
      {"bin\\..x", "C:\\Fennic\\bin\\..x"}, {"a.b\\c", "C:\\Fennic\\a.b\\c"}, {"bin\\", "C:\\Fennic\\bin"}, {"", "C:\\Fennic"}};
  for (const auto& [field, folder] : inside) {
    FileEntry entry = Entry(field, "GOOD", "x..dll");
    EXPECT_EQ(Resolve(entry, kLanWorkstation), folder) << field;
  }
}

TEST_F(TargetFolders, TheLogNamesAnEntryThatLeadsOutsideOnce) {
  FileEntry entry = Entry("bin\\..\\..\\evil", "EVIL1", "e.dll"), other = Entry("bin", "EVIL2", "C:\\e.dll");
  for (int pass : {kPassSingle, kPassToCache, kPassFromCache, kPassSingle}) Resolve(entry, kInternetWorkstation, pass);
  Resolve(other, kInternetWorkstation);
  EXPECT_EQ(Log(),
            "Not installed, EVIL1: leads outside the installation's places (folder 'bin\\..\\..\\evil', file 'e.dll')\r\n"
            "Not installed, EVIL2: leads outside the installation's places (folder 'bin', file 'C:\\e.dll')\r\n");
}

TEST_F(TargetFolders, AFieldCutAtItsLimitOrLongerThanAPathIsNotInstalled) {
  FileEntry cut = ParseFileListRecord("A\tR\tx.dll\t1\td\tbin\\" + std::string(80, 's'), kLanWorkstation);
  EXPECT_EQ(Resolve(cut, kLanWorkstation), "");
  EXPECT_NE(Log().find("longer than the list allows"), std::string::npos);
  Session().installDir = "C:\\" + std::string(200, 'i');
  os.files.MakeDirectories(Session().installDir.str() + "\\usr");
  FileEntry tooLong = Entry(std::string(70, 'f')), fits = Entry(std::string(50, 'f'));
  EXPECT_EQ(Resolve(tooLong, kLanWorkstation), "");
  EXPECT_EQ(Resolve(fits, kLanWorkstation).size(), 3u + 200 + 1 + 50);
  EXPECT_NE(Log().find("longer than a path"), std::string::npos);
}

}  // namespace

// Where entries go: folder macros on a workstation, plain sub-folders in network
// installations and CD images, the download cache, and fields that try to leave.
#include "filelist/targetfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "session/log.h"
#include "session/session.h"
#include "filelist/filelist.h"
#include "session/knownplaces.h"

namespace {

constexpr const char* kInstallDir = "C:\\Fennic";
constexpr const char* kCache = "C:\\Temp\\Molvex Update Setup Files";
const std::vector<int32_t> kWorkstationModes = {0, 3, 4, 6};
const std::vector<int32_t> kNetworkModes = {1, 2, 5, 7};

class TargetFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseLog();
    Places() = KnownPlaces{};
    Places().windowsFolder = "C:\\WINDOWS";
    Places().systemFolder = "C:\\WINDOWS\\system32";
    Places().tempFolder = "C:\\Temp\\";
    Places().programFilesFolder = "C:\\Program Files";
    Places().commonFilesFolder = "C:\\Program Files\\Common Files";
    Places().excelFolder = "C:\\Office\\Excel";
    Session().installDir = kInstallDir;
    os.files.MakeDirectories("C:\\Fennic\\usr");  // the log goes there
  }
  void TearDown() override {
    CloseLog();
    Places() = KnownPlaces{};
  }

  static FileEntry Entry(const std::string& folder, const std::string& code = "ITEM",
                         const std::string& file = "x.dll") {
    FileEntry entry;
    entry.itemCode = code;
    entry.folder = folder;
    entry.fileName = file;
    return entry;
  }
  std::string Resolve(FileEntry& entry, int32_t mode, int pass) {
    Session().installMode = mode;
    return ResolveTargetFolder(entry, pass);
  }
  std::string Log() { return os.files.ReadText("C:\\Fennic\\usr\\Plandrix.log").value_or(""); }

  FakeOs os;
};

struct MacroCase {
  const char* field;
  const char* folder;
  bool protectedTarget;
  bool sharedFile;
  int32_t reportRuntimeCopy;
};

TEST_F(TargetFolders, MacrosNameTheWorkstationsPlacesInEveryWorkstationModeAndInstallPass) {
  const std::vector<MacroCase> cases = {
      {"SystemFolder", "C:\\WINDOWS\\system32", true, true, 0},
      {"systemfolder\\drivers", "C:\\WINDOWS\\system32\\drivers", true, true, 0},
      {"WindowsFolder", "C:\\WINDOWS", true, true, 0},
      {"WindowsFolder\\Fonts", "C:\\WINDOWS\\Fonts", true, false, 0},
      {"ProgramFilesFolder\\Molvex", "C:\\Program Files\\Molvex", true, false, 0},
      {"CommonFilesFolder\\Crystal", "C:\\Program Files\\Common Files\\Crystal", true, false, 1},
      {"COMMONFILESFOLDER\\cRYSTAL", "C:\\Program Files\\Common Files\\cRYSTAL", true, false, 1},
      {"CommonFilesFolder\\Crystal\\bin", "C:\\Program Files\\Common Files\\Crystal\\bin", true, false, 0},
      {"ExcelFolder", "C:\\Office\\Excel", true, false, 0},
      {"Root", kInstallDir, true, false, 0},
      {"Root\\bin", "C:\\Fennic\\bin", true, false, 0},
      {"bin", "C:\\Fennic\\bin", false, false, 0},
      {"Crystal", "C:\\Fennic\\Crystal", false, false, 0},
      {"bin\\SystemFolder", "C:\\Fennic\\bin\\SystemFolder", false, false, 0},
      {"DoNotParse\\x", "", false, false, 0},
      {"donotparse", "", false, false, 0},
  };
  for (const MacroCase& c : cases) {
    for (int32_t mode : kWorkstationModes) {
      for (int pass : {kPassSingle, kPassFromCache}) {
        FileEntry entry = Entry(c.field, "X_NT");  // no variant folder on a workstation
        EXPECT_EQ(Resolve(entry, mode, pass), c.folder) << c.field << " mode " << mode << " pass " << pass;
        EXPECT_EQ(entry.protectedTarget, c.protectedTarget) << c.field;
        EXPECT_EQ(entry.sharedFile, c.sharedFile) << c.field;
        EXPECT_EQ(entry.reportRuntimeCopy, c.reportRuntimeCopy) << c.field;
      }
    }
  }
}

TEST_F(TargetFolders, NetworkInstallationsAndCdImagesTakeTheFieldAsItStandsWithTheVariantFolder) {
  struct Case {
    const char* field;
    const char* code;
    const char* folder;
  };
  const std::vector<Case> cases = {
      {"SystemFolder", "ITEM", "C:\\Fennic\\SystemFolder"},
      {"WindowsFolder\\Fonts", "ITEM", "C:\\Fennic\\WindowsFolder\\Fonts"},
      {"DoNotParse\\x", "ITEM", "C:\\Fennic\\DoNotParse\\x"},
      {"bin", "X_NT", "C:\\Fennic\\bin\\nt"},
      {"bin", "x_9x", "C:\\Fennic\\bin\\9X"},
      {"bin", "_NT", "C:\\Fennic\\bin"},
      {"CommonFilesFolder\\Crystal", "ITEM", "C:\\Fennic\\CommonFilesFolder\\Crystal"},
  };
  for (const Case& c : cases) {
    for (int32_t mode : kNetworkModes) {
      for (int pass : {kPassSingle, kPassFromCache}) {
        FileEntry entry = Entry(c.field, c.code);
        EXPECT_EQ(Resolve(entry, mode, pass), c.folder) << c.field << " mode " << mode << " pass " << pass;
        EXPECT_FALSE(entry.protectedTarget || entry.sharedFile || entry.reportRuntimeCopy) << c.field;
      }
    }
  }
}

TEST_F(TargetFolders, TheCachePassKeepsTheFieldBelowTheCacheInEveryMode) {
  for (int32_t mode : kWorkstationModes) {
    FileEntry entry = Entry("SystemFolder\\drivers", "X_NT");
    EXPECT_EQ(Resolve(entry, mode, kPassToCache), std::string(kCache) + "\\SystemFolder\\drivers");
    EXPECT_FALSE(entry.protectedTarget || entry.sharedFile);
  }
  for (int32_t mode : kNetworkModes) {
    FileEntry entry = Entry("SystemFolder\\drivers", "X_NT");
    EXPECT_EQ(Resolve(entry, mode, kPassToCache), std::string(kCache) + "\\SystemFolder\\drivers\\nt");
  }
}

TEST_F(TargetFolders, FlagsSetByTheAnalysisStaySetInTheLaterPasses) {
  FileEntry entry = Entry("SystemFolder");
  Resolve(entry, kInternetWorkstation, kPassSingle);
  EXPECT_EQ(Resolve(entry, kInternetWorkstation, kPassToCache), std::string(kCache) + "\\SystemFolder");
  EXPECT_TRUE(entry.protectedTarget && entry.sharedFile);
}

TEST_F(TargetFolders, AnUnknownPlaceGivesNoFolder) {
  Places().excelFolder.clear();
  FileEntry entry = Entry("ExcelFolder\\XLStart");
  EXPECT_EQ(Resolve(entry, kInternetWorkstation, kPassSingle), "");
  Session().installDir = "";
  FileEntry relative = Entry("bin");
  EXPECT_EQ(Resolve(relative, kLanWorkstation, kPassSingle), "");
  FileEntry network = Entry("bin", "X_NT");
  EXPECT_EQ(Resolve(network, kInternetNetwork, kPassSingle), "");
  Places().tempFolder.clear();
  EXPECT_EQ(Resolve(network, kInternetNetwork, kPassToCache), "");
}

TEST_F(TargetFolders, TheSpreadsheetIsAskedOnceForItsStartUpAndLibraryFolders) {
  os.automation.Register("Excel.Application",
                         {"{00024500-0000-0000-C000-000000000046}",
                          {{"StartupPath", "C:\\Office\\XLStart"}, {"LibraryPath", "C:\\Office\\Library"}}});
  FileEntry start = Entry("ExcelStartFolder");
  EXPECT_EQ(Resolve(start, kInternetWorkstation, kPassSingle), "C:\\Office\\XLStart");
  EXPECT_TRUE(start.protectedTarget);
  FileEntry library = Entry("ExcelLibFolder\\Analysis");
  EXPECT_EQ(Resolve(library, kLanWorkstation, kPassFromCache), "C:\\Office\\Library\\Analysis");
  EXPECT_EQ(os.automation.created.size(), 1u);
}

TEST_F(TargetFolders, WithoutTheSpreadsheetItsFoldersAreEmptyAndNotAskedAgain) {
  FileEntry start = Entry("ExcelStartFolder");
  EXPECT_EQ(Resolve(start, kInternetWorkstation, kPassSingle), "");
  os.automation.Register("Excel.Application", {"{00024500-0000-0000-C000-000000000046}",
                                               {{"StartupPath", "C:\\Office\\XLStart"}}});
  EXPECT_EQ(Resolve(start, kInternetWorkstation, kPassSingle), "");
  EXPECT_EQ(os.automation.faults.Calls(fakes::FakeAutomation::Op::Create), 1);
  EXPECT_TRUE(os.automation.created.empty());
}

class FlashFolders : public TargetFolders {
 protected:
  void RegisterFlash(const std::string& server) {
    os.automation.Register("ShockwaveFlash.ShockwaveFlash", {kFlashClass, {}});
    os.registry.PutString(sys::Hive::ClassesRoot, std::string("CLSID\\") + kFlashClass + "\\InprocServer32", "",
                          server);
  }
  std::string FlashFolder() {
    FileEntry entry = Entry("FlashFolder");
    std::string folder = Resolve(entry, kInternetWorkstation, kPassSingle);
    EXPECT_TRUE(entry.protectedTarget);
    return folder;
  }
  static constexpr const char* kFlashClass = "{D27CDB6E-AE6D-11CF-96B8-444553540000}";
  static constexpr const char* kFallback = "C:\\WINDOWS\\system32\\macromed\\flash";
};

TEST_F(FlashFolders, TheRegisteredControlsFolderIsUsed) {
  os.files.WriteText("C:\\WINDOWS\\system32\\Macromed\\Flash\\Flash10a.ocx", "MZ");
  RegisterFlash("C:\\WINDOWS\\system32\\Macromed\\Flash\\Flash10a.ocx");
  EXPECT_EQ(FlashFolder(), "C:\\WINDOWS\\system32\\Macromed\\Flash");
}

TEST_F(FlashFolders, QuotesAndTheSystemsOwnVariablesAreUnderstood) {
  os.files.MakeDirectories("C:\\WINDOWS\\Flash Player");
  RegisterFlash("  \"%SystemRoot%\\Flash Player\\flash.ocx\" ");
  EXPECT_EQ(FlashFolder(), "C:\\WINDOWS\\Flash Player");
}

TEST_F(FlashFolders, AnythingUnusableFallsBackToTheSystemFoldersFlashFolder) {
  EXPECT_EQ(FlashFolder(), kFallback);  // not registered
  for (const char* server : {"flash.ocx", "C:\\Gone\\flash.ocx", "%APPDATA%\\flash.ocx", "", "C:\\flash.ocx",
                             "..\\..\\flash.ocx"}) {
    RegisterFlash(server);
    EXPECT_EQ(FlashFolder(), kFallback) << server;
  }
  Places().systemFolder.clear();
  EXPECT_EQ(FlashFolder(), "");
}

TEST_F(TargetFolders, FieldsThatLeadOutsideGiveNoFolderInEveryModeAndPass) {
  const std::vector<std::string> hostileFolders = {
      "..",          "..\\Windows",         "bin\\..\\..\\evil",  "SystemFolder\\..\\..\\evil", "C:\\evil",
      "c:evil",      "\\evil",              "\\\\server\\share",  "\\\\?\\C:\\evil",            "bin/../../evil",
      "/etc",        "bin\\...\\evil",      "bin\\. .\\x",        "Root\\..",                   "bin\\x:stream",
      "bin\x01x",    std::string("bin\0..", 6)};
  for (const std::string& field : hostileFolders) {
    for (int32_t mode = 0; mode <= 7; ++mode) {
      for (int pass : {kPassSingle, kPassToCache, kPassFromCache}) {
        FileEntry entry = Entry(field);
        EXPECT_EQ(Resolve(entry, mode, pass), "") << field << " mode " << mode << " pass " << pass;
        EXPECT_FALSE(entry.protectedTarget || entry.sharedFile) << field;
      }
    }
  }
  for (const char* file : {"..\\evil.dll", "C:\\evil.dll", "\\evil.dll", "sub\\..\\..\\evil.dll", "../e.dll"}) {
    FileEntry entry = Entry("bin", "ITEM", file);
    EXPECT_EQ(Resolve(entry, kInternetWorkstation, kPassSingle), "") << file;
  }
}

TEST_F(TargetFolders, LookAlikesThatStayInsideAreKept) {
  for (const auto& [field, folder] : std::vector<std::pair<std::string, std::string>>{
           {"bin\\..x", "C:\\Fennic\\bin\\..x"},
           {"bin\\x..", "C:\\Fennic\\bin\\x.."},
           {"a.b\\c", "C:\\Fennic\\a.b\\c"},
           {"bin\\", "C:\\Fennic\\bin"},
           {"", kInstallDir}}) {
    FileEntry entry = Entry(field, "ITEM", "x..dll");
    EXPECT_EQ(Resolve(entry, kLanWorkstation, kPassSingle), folder) << field;
  }
}

TEST_F(TargetFolders, TheLogNamesAnEntryThatLeadsOutsideOnce) {
  FileEntry entry = Entry("bin\\..\\..\\evil", "EVIL1", "e.dll");
  for (int pass : {kPassSingle, kPassToCache, kPassFromCache, kPassSingle}) Resolve(entry, kInternetWorkstation, pass);
  FileEntry other = Entry("bin", "EVIL2", "C:\\e.dll");
  Resolve(other, kInternetWorkstation, kPassSingle);
  FileEntry fine = Entry("bin", "GOOD", "g.dll");
  Resolve(fine, kInternetWorkstation, kPassSingle);
  CloseLog();

  const std::string log = Log();
  EXPECT_EQ(log,
            "Not installed, EVIL1: leads outside the installation's places (folder 'bin\\..\\..\\evil', file 'e.dll')\r\n"
            "Not installed, EVIL2: leads outside the installation's places (folder 'bin', file 'C:\\e.dll')\r\n");
}

TEST_F(TargetFolders, AFieldCutAtItsLimitIsNotInstalled) {
  FileEntry entry = ParseFileListRecord("A\tR\tx.dll\t1\td\tbin\\" + std::string(80, 's'), kLanWorkstation);
  EXPECT_EQ(Resolve(entry, kLanWorkstation, kPassSingle), "");
  CloseLog();
  EXPECT_NE(Log().find("longer than the list allows"), std::string::npos);
}

TEST_F(TargetFolders, AFolderLongerThanAPathIsNotInstalled) {
  Session().installDir = "C:\\" + std::string(200, 'i');
  os.files.MakeDirectories(Session().installDir.str() + "\\usr");
  FileEntry entry = Entry(std::string(70, 'f'));
  EXPECT_EQ(Resolve(entry, kLanWorkstation, kPassSingle), "");
  FileEntry fits = Entry(std::string(50, 'f'));
  EXPECT_EQ(Resolve(fits, kLanWorkstation, kPassSingle).size(), 3u + 200 + 1 + 50);
  CloseLog();
  const auto log = os.files.ReadText(Session().installDir.str() + "\\usr\\Plandrix.log");
  ASSERT_TRUE(log.has_value());
  EXPECT_NE(log->find("longer than a path"), std::string::npos);
}

}  // namespace

// The machine's places that settings, the log and the folder macros refer to.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/knownplaces.h"

namespace {

using sys::Hive;

constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

// Under Wine every end-to-end run reads the named folders; here the fallbacks and limits.
TEST(KnownPlaces, LongTextsAreCutEmptyValuesFallBackAndTheSpreadsheetFolderMustExist) {
  FakeOs os;
  os.registry.PutString(Hive::LocalMachine, kCurrentVersion, "ProgramFilesDir", "D:\\" + std::string(400, 'p'));
  os.registry.PutString(Hive::LocalMachine, kCurrentVersion, "CommonFilesDir", "");
  os.registry.PutString(Hive::LocalMachine, std::string(kCurrentVersion) + "\\App Paths\\EXCEL.EXE", "Path",
                        "C:\\Office\\");
  ResolveKnownPlaces();
  EXPECT_EQ(Places().programFilesFolder, "D:\\" + std::string(252, 'p'));
  EXPECT_EQ(Places().commonFilesFolder, "C:\\Program Files\\Common Files");
  // Before the shell has filled its folder list the documents folder comes from the shell.
  EXPECT_EQ(Places().documentsFolder, "C:\\Users\\tester\\Documents");
  EXPECT_EQ(Places().excelFolder, "");
  os.files.MakeDirectories("C:\\Office");
  os.registry.PutString(Hive::CurrentUser, std::string(kCurrentVersion) + "\\Explorer\\Shell Folders", "Personal",
                        "H:\\Docs");
  ResolveKnownPlaces();
  EXPECT_EQ(Places().excelFolder, "C:\\Office");
  EXPECT_EQ(Places().documentsFolder, "H:\\Docs");
}

}  // namespace

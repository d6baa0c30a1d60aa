// The machine's places that settings, the log and the folder macros refer to.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/knownplaces.h"

namespace {

using sys::Hive;

constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kExcelPath = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\EXCEL.EXE";

TEST(KnownPlaces, RegistryNamesTheProgramFoldersAndTheDocuments) {
  FakeOs os;
  os.registry.PutString(Hive::LocalMachine, kCurrentVersion, "ProgramFilesDir", "D:\\Apps");
  os.registry.PutString(Hive::LocalMachine, kCurrentVersion, "CommonFilesDir", "D:\\Apps\\Shared");
  os.registry.PutString(Hive::CurrentUser, kShellFolders, "Personal", "H:\\Docs");
  ResolveKnownPlaces();
  const KnownPlaces& places = Places();
  EXPECT_EQ(places.windowsFolder, "C:\\Windows");
  EXPECT_EQ(places.systemFolder, "C:\\Windows\\system32");
  EXPECT_EQ(places.tempFolder, "C:\\Users\\tester\\AppData\\Local\\Temp\\");
  EXPECT_EQ(places.programFilesFolder, "D:\\Apps");
  EXPECT_EQ(places.commonFilesFolder, "D:\\Apps\\Shared");
  EXPECT_EQ(places.documentsFolder, "H:\\Docs");
}

TEST(KnownPlaces, MissingOrEmptyValuesFallBack) {
  FakeOs os;
  os.registry.PutString(Hive::LocalMachine, kCurrentVersion, "ProgramFilesDir", "");
  ResolveKnownPlaces();
  EXPECT_EQ(Places().programFilesFolder, "C:\\Program Files");
  EXPECT_EQ(Places().commonFilesFolder, "C:\\Program Files\\Common Files");
  // Before the shell has filled its folder list the documents folder comes from the shell.
  EXPECT_EQ(Places().documentsFolder, "C:\\Users\\tester\\Documents");
}

TEST(KnownPlaces, SpreadsheetFolderCountsOnlyWhenItExists) {
  FakeOs os;
  os.registry.PutString(Hive::LocalMachine, kExcelPath, "Path", "C:\\Office\\");
  ResolveKnownPlaces();
  EXPECT_EQ(Places().excelFolder, "");
  os.files.MakeDirectories("C:\\Office");
  ResolveKnownPlaces();
  EXPECT_EQ(Places().excelFolder, "C:\\Office");
}

TEST(KnownPlaces, LongRegistryTextsAreCutToThePlaceCapacity) {
  FakeOs os;
  os.registry.PutString(Hive::LocalMachine, kCurrentVersion, "ProgramFilesDir", "D:\\" + std::string(400, 'p'));
  ResolveKnownPlaces();
  EXPECT_EQ(Places().programFilesFolder.size(), 255u);
}

}  // namespace

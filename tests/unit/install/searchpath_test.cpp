// The bin folder on the search path: the registry's path values on the NT family and
// "autoexec.bat" on the older systems.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/searchpath.h"
#include "session/session.h"
#include "sys/registry_helpers.h"

namespace {

using sys::Hive;
using sys::ValueType;
constexpr const char* kMachine = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kUser = "Environment";

class SearchPath : public ::testing::Test {
 protected:
  void SetUp() override {
    Session().installDir = "D:\\App";
    Session().isNtFamily = true;
    os.files.AddVolume("D:");
  }
  std::string Value(Hive hive, const char* key) { return os.registry.StringOf(hive, key, "path").value_or("(none)"); }
  ValueType Type(Hive hive, const char* key) {
    return os.registry.ValueOf(hive, key, "path").value_or(sys::RegValue{}).type;
  }
  FakeOs os;
};

TEST_F(SearchPath, TheBinFolderGoesInFrontOnceAndOnlyTheValueTypeChangesOnTheSecondRun) {
  struct Case {
    bool admin;
    const char* machineBefore;
    const char* userBefore;
    const char* machineAfter;
    const char* userAfter;
  };
  const Case cases[] = {
      {true, "C:\\WINDOWS;C:\\WINDOWS\\SYSTEM32", "D:\\App\\bin;C:\\Mine", "D:\\App\\bin;C:\\WINDOWS;C:\\WINDOWS\\SYSTEM32",
       "C:\\Mine"},
      {true, "C:\\WINDOWS;d:\\app\\BIN", "", "C:\\WINDOWS;d:\\app\\BIN", "(none)"},  // there already: only the type
      {false, "C:\\WINDOWS", "C:\\Mine", "C:\\WINDOWS", "D:\\App\\bin;C:\\Mine"},
  };
  for (const Case& c : cases) {
    FakeOs fresh;
    Session().installDir = "D:\\App";
    Session().isNtFamily = true;
    Session().hasAdminRights = c.admin;
    fresh.registry.PutString(Hive::LocalMachine, kMachine, "path", c.machineBefore);
    if (*c.userBefore) fresh.registry.PutString(Hive::CurrentUser, kUser, "path", c.userBefore);
    AddToSearchPath();
    AddToSearchPath();
    EXPECT_EQ(fresh.registry.StringOf(Hive::LocalMachine, kMachine, "path"), c.machineAfter);
    EXPECT_EQ(fresh.registry.StringOf(Hive::CurrentUser, kUser, "path").value_or("(none)"), c.userAfter);
    EXPECT_EQ(fresh.registry.ValueOf(Hive::LocalMachine, kMachine, "path")->type,
              c.admin ? ValueType::ExpandString : ValueType::String);
    EXPECT_EQ(fresh.systemInfo.settingChangeBroadcasts, (std::vector<std::string>{"Environment", "Environment"}));
  }
}

TEST_F(SearchPath, RemovalCutsTheFolderOutOfBothValues) {
  Session().hasAdminRights = true;
  os.registry.PutString(Hive::LocalMachine, kMachine, "path", "c:\\Windows;D:\\APP\\bin;C:\\Tools");
  os.registry.PutValue(Hive::CurrentUser, kUser, "path", sys::StringValue("D:\\app\\bin", ValueType::ExpandString));
  RemoveFromSearchPath();
  EXPECT_EQ(Value(Hive::LocalMachine, kMachine), "c:\\Windows;C:\\Tools");
  EXPECT_EQ(Type(Hive::LocalMachine, kMachine), ValueType::ExpandString);
  EXPECT_TRUE(Value(Hive::CurrentUser, kUser).empty() && Type(Hive::CurrentUser, kUser) == ValueType::String);
}

TEST_F(SearchPath, WithoutAdministratorRightsAFolderOnTheMachinePathIsLeftAlone) {
  os.registry.PutString(Hive::LocalMachine, kMachine, "path", "C:\\WINDOWS;D:\\App\\bin");
  AddToSearchPath();
  EXPECT_FALSE(os.registry.HasKey(Hive::CurrentUser, kUser));
  EXPECT_EQ(Type(Hive::LocalMachine, kMachine), ValueType::String);
  EXPECT_TRUE(os.systemInfo.settingChangeBroadcasts.empty());
}

TEST_F(SearchPath, OnOlderSystemsTheSetPathLineOfAutoexecTakesTheEntry) {
  Session().isNtFamily = false;
  os.files.WriteText("D:\\OLD\\BIN\\k7shell.exe", "");
  os.files.WriteText("D:\\App\\bin\\k7shell.exe", "");
  struct Case {
    const char* before;
    bool adding;
    const char* after;
  };
  const Case cases[] = {
      {"@ECHO OFF\r\nSET PATH=C:\\DOS;D:\\OLD\\BIN\r\nPATH=D:\\OLD\\BIN;C:\\X\r\n", true,
       "@ECHO OFF\r\nSET PATH=C:\\DOS;\"D:\\App\\bin\";\r\nPATH=C:\\X\r\n"},
      {"PATH C:\\DOS\r\n", true, "PATH C:\\DOS;\"D:\\App\\bin\";\r\n"},
      {"@ECHO OFF\r\n", true, "@ECHO OFF\r\nSET PATH=\"D:\\App\\bin\";\n"},
      {"SET PATH=\"D:\\App\\bin\";\r\nSET PATH=%PATH%;C:\\X\r\n", false, "SET PATH=%PATH%;C:\\X\r\n"},
  };
  for (const Case& c : cases) {
    os.files.WriteText("C:\\autoexec.bat", c.before);
    os.files.SetAttributes("C:\\autoexec.bat", sys::attr::kHidden);
    if (c.adding) AddToSearchPath();
    else RemoveFromSearchPath();
    EXPECT_EQ(os.files.ReadText("C:\\autoexec.bat"), c.after);
    EXPECT_EQ(os.files.ReadText("C:\\autoexec.bak"), c.before);
    EXPECT_FALSE(os.files.Exists("C:\\autoexec.new"));
    EXPECT_EQ(os.files.GetAttributes("C:\\autoexec.bat").value, sys::attr::kHidden);
  }
  os.files.WriteText("C:\\autoexec.bat", "SET PATH=\"d:\\app\\BIN\";\r\n");
  os.files.DeleteFile("C:\\autoexec.bak");
  AddToSearchPath();  // the entry is there already: the file is not rewritten
  EXPECT_FALSE(os.files.Exists("C:\\autoexec.bak") || os.files.Exists("C:\\autoexec.new"));
}

}  // namespace

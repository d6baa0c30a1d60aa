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

struct SearchPath : ::testing::Test {
  void SetUp() override {
    Session().installDir = "D:\\App";
    Session().isNtFamily = true;
  }
  // The value and its type number, "(none)" when absent.
  std::string Path(Hive hive, const char* key) {
    std::optional<sys::RegValue> value = os.registry.ValueOf(hive, key, "path");
    return value ? sys::StringOf(*value) + " #" + std::to_string(static_cast<int>(value->type)) : "(none)";
  }
  FakeOs os;
};

TEST_F(SearchPath, TheBinFolderGoesInFrontOnceAndComesOutAgainKeepingTheRestAsItWas) {
  const struct {
    bool admin;
    const char *machineBefore, *userBefore, *machineAfter, *userAfter;
  } cases[] = {
      {true, "C:\\WINDOWS;C:\\WINDOWS\\SYSTEM32", "D:\\App\\bin;C:\\Mine",
       "D:\\App\\bin;C:\\WINDOWS;C:\\WINDOWS\\SYSTEM32 #2", "C:\\Mine #2"},
      {false, "C:\\WINDOWS", "C:\\Mine", "C:\\WINDOWS #1", "D:\\App\\bin;C:\\Mine #2"},
      {false, "C:\\WINDOWS;D:\\App\\bin", "C:\\Mine", "C:\\WINDOWS;D:\\App\\bin #1", "C:\\Mine #1"},  // untouched
  };
  for (const auto& c : cases) {
    Session().hasAdminRights = c.admin;
    os.registry.PutString(Hive::LocalMachine, kMachine, "path", c.machineBefore);
    os.registry.DeleteValue(Hive::CurrentUser, kUser, "path", sys::RegistryView::Native);
    if (*c.userBefore) os.registry.PutString(Hive::CurrentUser, kUser, "path", c.userBefore);
    os.systemInfo.settingChangeBroadcasts.clear();
    AddToSearchPath();
    AddToSearchPath();
    EXPECT_EQ(Path(Hive::LocalMachine, kMachine) + " / " + Path(Hive::CurrentUser, kUser),
              std::string(c.machineAfter) + " / " + c.userAfter);
    EXPECT_EQ(os.systemInfo.settingChangeBroadcasts.size(), c.admin || *c.userAfter == 'D' ? 2u : 0u);
  }
  os.registry.PutString(Hive::LocalMachine, kMachine, "path", "c:\\Windows;D:\\APP\\bin;C:\\Tools");
  os.registry.PutValue(Hive::CurrentUser, kUser, "path", sys::StringValue("D:\\app\\bin", ValueType::ExpandString));
  RemoveFromSearchPath();
  EXPECT_EQ(Path(Hive::LocalMachine, kMachine) + " / " + Path(Hive::CurrentUser, kUser), "c:\\Windows;C:\\Tools #2 /  #1");
}

TEST_F(SearchPath, OnOlderSystemsTheSetPathLineOfAutoexecTakesTheEntry) {
  Session().isNtFamily = false;
  os.files.AddVolume("D:");
  os.files.WriteText("D:\\OLD\\BIN\\k7shell.exe", "");
  os.files.WriteText("D:\\App\\bin\\k7shell.exe", "");
  const struct {
    const char* before;
    bool adding;
    const char* after;
  } cases[] = {
      {"@ECHO OFF\r\nSET PATH=C:\\DOS;D:\\OLD\\BIN\r\nPATH=D:\\OLD\\BIN;C:\\X\r\n", true,
       "@ECHO OFF\r\nSET PATH=C:\\DOS;\"D:\\App\\bin\";\r\nPATH=C:\\X\r\n"},
      {"@ECHO OFF\r\n", true, "@ECHO OFF\r\nSET PATH=\"D:\\App\\bin\";\n"},
      {"SET PATH=\"D:\\App\\bin\";\r\nSET PATH=%PATH%;C:\\X\r\n", false, "SET PATH=%PATH%;C:\\X\r\n"},
  };
  for (const auto& c : cases) {
    os.files.WriteText("C:\\autoexec.bat", c.before);
    os.files.SetAttributes("C:\\autoexec.bat", sys::attr::kHidden);
    c.adding ? AddToSearchPath() : RemoveFromSearchPath();
    EXPECT_EQ(os.files.ReadText("C:\\autoexec.bat"), c.after);
    EXPECT_EQ(os.files.ReadText("C:\\autoexec.bak"), c.before);
    EXPECT_TRUE(!os.files.Exists("C:\\autoexec.new") && os.files.GetAttributes("C:\\autoexec.bat").value == sys::attr::kHidden);
  }
}

}  // namespace

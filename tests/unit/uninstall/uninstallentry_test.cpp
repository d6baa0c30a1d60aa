// The installation's entry in the list of installed programs.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/session.h"
#include "uninstall/uninstallentry.h"

namespace {

using sys::Hive;
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\uninstall\\";

TEST(UninstallEntry, OneEntryPerFolderCallsTheProgramBackForItsFolderAndLine) {
  struct Case {
    const char* line;
    const char* installDir;
    const char* virtualDir;
    const char* key;
    const char* command;
  };
  const Case cases[] = {
      {"QS2003E", "D:\\Apps\\Fin", "", "Molvex-D:-Apps-Fin",
       "D:\\Apps\\Fin\\bin\\Plandrix_T17_AE.exe /UNINSTALL:\"D:\\Apps\\Fin\" /P:QS2003E"},
      {"FYNDRA", "\\\\srv\\share\\Fin", "Web", "Molvex---srv-share-Fin",
       "\\\\srv\\share\\Fin\\bin\\Plandrix_T17_AE.exe /UNINSTALL:\"\\\\srv\\share\\Fin\" /P:FYNDRA /V:Web"},
      {"FYNDRA", "C:\\Fin", "", "Molvex-C:-Fin", "C:\\Fin\\bin\\Plandrix_T17_AE.exe /UNINSTALL:\"C:\\Fin\" /P:FYNDRA"},
      {"DORVAL5", "C:\\Fin", "Web", "Molvex-C:-Fin", "C:\\Fin\\sis\\Plandrix_T17_AE.exe /UNINSTALL:\"C:\\Fin\" /P:DORVAL5"},
  };
  for (const Case& c : cases) {
    FakeOs os;
    os.desktop.UseProductStrings();
    os.registry.PutString(Hive::LocalMachine, std::string(kUninstall) + "MolvexStrond", "Displayname", "old");
    Session().productLine = c.line;
    Session().installDir = c.installDir;
    Session().virtualDir = c.virtualDir;
    Results().productTitle = "Product";
    RegisterUninstallEntry();
    const std::string key = std::string(kUninstall) + c.key;
    EXPECT_EQ(os.registry.StringOf(Hive::LocalMachine, key, "UninstallString"), c.command);
    EXPECT_EQ(os.registry.StringOf(Hive::LocalMachine, key, "DisplayIcon"),
              std::string(c.command).substr(0, std::string(c.command).find(' ')));
    EXPECT_EQ(os.registry.StringOf(Hive::LocalMachine, key, "Displayname"), "Product");
    EXPECT_FALSE(os.registry.HasKey(Hive::LocalMachine, std::string(kUninstall) + "MolvexStrond"));
  }
}

}  // namespace

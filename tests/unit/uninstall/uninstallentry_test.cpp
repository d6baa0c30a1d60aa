// The installation's entry in the list of installed programs.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/session.h"
#include "uninstall/uninstallentry.h"

namespace {

TEST(UninstallEntry, OneEntryPerFolderCallsTheProgramBackForItsFolderAndLine) {
  const std::string keys = "Software\\Microsoft\\Windows\\CurrentVersion\\uninstall\\";
  const struct {
    const char *line, *installDir, *virtualDir, *key, *command;
  } cases[] = {
      {"FYNDRA", "\\\\srv\\share\\Fin", "Web", "Molvex---srv-share-Fin",
       "\\\\srv\\share\\Fin\\bin\\Plandrix_T17_AE.exe /UNINSTALL:\"\\\\srv\\share\\Fin\" /P:FYNDRA /V:Web"},
      {"FYNDRA", "D:\\Apps\\Fin", "", "Molvex-D:-Apps-Fin",
       "D:\\Apps\\Fin\\bin\\Plandrix_T17_AE.exe /UNINSTALL:\"D:\\Apps\\Fin\" /P:FYNDRA"},
  };
  for (const auto& c : cases) {
    FakeOs os;
    os.desktop.UseProductStrings();
    Session().productLine = c.line;
    Session().installDir = c.installDir;
    Session().virtualDir = c.virtualDir;
    Results().productTitle = "Product";
    RegisterUninstallEntry();
    auto value = [&](const char* name) { return os.registry.StringOf(sys::Hive::LocalMachine, keys + c.key, name); };
    EXPECT_EQ(value("UninstallString"), c.command);
    EXPECT_EQ(value("DisplayIcon").value_or("") + " " + value("Displayname").value_or(""),
              std::string(c.command).substr(0, std::string(c.command).find(' ')) + " Product");
  }
}

}  // namespace

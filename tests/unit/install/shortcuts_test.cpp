// The product's shortcuts: what each line's shortcut holds, which old ones a new one
// replaces, and what the uninstall takes away.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/productshortcuts.h"
#include "install/shortcuts.h"
#include "productline/productline.h"
#include "session/session.h"

namespace {

using sys::LinkKind;
constexpr const char* kDesktop = "C:\\Users\\Public\\Desktop\\";
constexpr const char* kMenu = "C:\\ProgramData\\Start Menu\\";
constexpr int kDesktopCsidl = sys::csidl::kCommonDesktopDirectory;

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [csidl, folder] : {std::pair{kDesktopCsidl, kDesktop}, {sys::csidl::kCommonStartMenu, kMenu},
                                 {sys::csidl::kCommonPrograms, "C:\\ProgramData\\Start Menu\\Programs"},
                                 {sys::csidl::kSendTo, "C:\\Users\\tester\\SendTo"}}) {
      os.desktop.specialFolders[csidl] = sys::WithoutTrailingBackslash(folder);
      os.files.MakeDirectories(folder);
    }
    Session().installDir = "C:\\Fin";
    Results().productTitle = "Product";
  }
  // Target, arguments, working folder, name and icon in one line.
  std::string Read(const std::string& path, LinkKind kind = LinkKind::Shell) {
    sys::LinkRecord l = os.shellLinks.Load(kind, path).value;
    return l.target + "|" + l.arguments + "|" + l.workingFolder + "|" + l.description + "|" + l.iconFile;
  }
  std::string Names(const std::string& pattern) {
    std::string names;  // in the order the folder lists them
    for (const sys::FindEntry& entry : os.files.Find(pattern).value) names += entry.name + ";";
    return names;
  }
  FakeOs os;
};

TEST_F(Shortcuts, EachLineGetsItsShortcutOnceHoweverOftenItIsMade) {
  const struct {
    const char* line;
    int csidl;
    std::string file;
    const char* fields;
  } cases[] = {
      {"PINDRELV8", sys::csidl::kCommonStartMenu, "C:\\ProgramData\\Start Menu\\Product.lnk",
       "C:\\Fin\\bin\\k7shell.exe|-T6|C:\\Fin\\bin|Product|C:\\Fin\\bin\\Plandrix_T6_AE.exe"},
      {"DORVAL5", sys::csidl::kCommonStartMenu, "C:\\ProgramData\\Start Menu\\DORVAL Servidor DDE.lnk",
       "C:\\Fin\\sis\\KEL.EXE||C:\\Fin\\sis|DORVAL Servidor DDE|C:\\Fin\\sis\\KEL.EXE"},
      {"KS", sys::csidl::kCommonPrograms, "C:\\ProgramData\\Start Menu\\Programs\\KORDAN SALV\\Product.lnk",
       "C:\\Fin\\bin\\salvix.exe||C:\\Fin\\rels|Product|C:\\Fin\\bin\\salvix.exe"},
  };
  for (const auto& c : cases) {
    Session().productLine = c.line;
    Results().mainExecutableCode = DistributionCode(c.line);
    MakeProductShortcuts(false, c.csidl);
    MakeProductShortcuts(false, c.csidl);
    EXPECT_EQ(Read(c.file), c.fields) << c.line;
  }
  EXPECT_EQ(Names(std::string(kMenu) + "*.lnk"), "DORVAL Servidor DDE.lnk;Product.lnk;");  // PINDRELV8's gave way
  EXPECT_EQ(Names(std::string(kMenu) + "Programs\\KORDAN SALV\\*.lnk"), "Datensicherung.lnk;Product.lnk;");
}

TEST_F(Shortcuts, ANewShortcutReplacesOnesOfItsNameOrTargetAndTheUninstallOnesOfItsFolder) {
  Session().productLine = "FNC";
  os.shellLinks.Save(LinkKind::Shell, std::string(kDesktop) + "My Omnis.lnk", {"c:\\fin\\OMNIS7.EXE", "", "D:\\Elsewhere"});
  os.shellLinks.Save(LinkKind::Shell, std::string(kDesktop) + "Product (old).lnk", {"C:\\Old\\x.exe", "", "C:\\Old"});
  os.shellLinks.Save(LinkKind::Shell, std::string(kDesktop) + "Editor.lnk", {"C:\\Tools\\edit.exe", "", "C:\\fin"});
  MakeProductShortcuts(false, kDesktopCsidl);
  EXPECT_EQ(Names(std::string(kDesktop) + "*.lnk"), "Editor.lnk;Product.lnk;");
  // The web lines keep a user's own link of another name to the same target.
  Session().productLine = "FYNDRA";
  os.shellLinks.Save(LinkKind::Shell, std::string(kDesktop) + "My Omnis.lnk", {"C:\\Fin\\Omnis7.exe"});
  FindOrCleanShortcuts(kDesktopCsidl, {"C:\\Fin\\Omnis7.exe", "Product"}, false);
  EXPECT_EQ(Names(std::string(kDesktop) + "*.lnk"), "Editor.lnk;My Omnis.lnk;");
  // Removal goes by the working folder, whatever the name.
  Session().productLine = "FNC";
  MakeProductShortcuts(true, kDesktopCsidl);
  EXPECT_EQ(Names(std::string(kDesktop) + "*.lnk"), "My Omnis.lnk;");
}

TEST_F(Shortcuts, AWebLineGetsOneInternetShortcutToItsAddressAndTheDocumentsToolGoesToSendTo) {
  Session().productLine = "FYNDRA";
  os.shellLinks.Save(LinkKind::Internet, std::string(kDesktop) + "Old name.url", {"HTTP://ws-test/halomir"});
  MakeProductShortcuts(false, kDesktopCsidl);
  MakeProductShortcuts(false, kDesktopCsidl);
  EXPECT_EQ(Names(std::string(kDesktop) + "*.url"), "Product.url;");
  EXPECT_EQ(Read(std::string(kDesktop) + "Product.url", LinkKind::Internet),
            "http://WS-TEST/Halomir||||C:\\Fin\\bin\\Plandrix_T8_AE.exe");

  Session().productLine = "QS2003E";
  Results().mainExecutableCode = "T0";
  os.files.WriteText("C:\\Fin\\bin\\k7brandT0.dll", "icons");
  MakeSendToShortcut(false);
  EXPECT_TRUE(os.files.ReadText("C:\\Fin\\bin\\Icon2003T0.dll") == "icons");
  EXPECT_EQ(Read("C:\\Users\\tester\\SendTo\\Product.lnk"),
            "C:\\Fin\\bin\\MDocuments.exe||C:\\Fin\\bin|Product|C:\\Fin\\bin\\Icon2003T0.dll");
}

}  // namespace

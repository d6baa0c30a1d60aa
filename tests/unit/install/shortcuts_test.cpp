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
using sys::LinkRecord;
constexpr const char* kDesktop = "C:\\Users\\Public\\Desktop";
constexpr const char* kMenu = "C:\\ProgramData\\Start Menu";
constexpr const char* kPrograms = "C:\\ProgramData\\Start Menu\\Programs";

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [csidl, folder] : {std::pair{sys::csidl::kCommonDesktopDirectory, kDesktop},
                                 {sys::csidl::kCommonStartMenu, kMenu}, {sys::csidl::kCommonPrograms, kPrograms},
                                 {sys::csidl::kSendTo, "C:\\Users\\tester\\SendTo"}}) {
      os.desktop.specialFolders[csidl] = folder;
      os.files.MakeDirectories(folder);
    }
    Session().installDir = "C:\\Fin";
    Results().productTitle = "Product";
  }
  void Put(const std::string& path, const LinkRecord& link, LinkKind kind = LinkKind::Shell) {
    os.shellLinks.Save(kind, path, link);
  }
  LinkRecord Read(const std::string& path, LinkKind kind = LinkKind::Shell) {
    return os.shellLinks.Load(kind, path).value;
  }
  std::vector<std::string> Files(const std::string& pattern) {
    std::vector<std::string> names;
    for (const sys::FindEntry& entry : os.files.Find(pattern).value) names.push_back(entry.name);
    return names;
  }
  FakeOs os;
};

TEST_F(Shortcuts, EachLineGetsItsShortcutOnceHoweverOftenItIsMade) {
  struct Case {
    const char* line;
    int csidl;
    const char* file;
    LinkRecord expected;
  };
  const Case cases[] = {
      {"FNC", sys::csidl::kCommonDesktopDirectory, "C:\\Users\\Public\\Desktop\\Product.lnk",
       {"C:\\Fin\\Omnis7.exe", "", "C:\\Fin", "Product", "C:\\Fin\\FENNIC.ICO", 0, 1}},
      {"PINDRELV8", sys::csidl::kCommonStartMenu, "C:\\ProgramData\\Start Menu\\Product.lnk",
       {"C:\\Fin\\bin\\k7shell.exe", "-T6", "C:\\Fin\\bin", "Product", "C:\\Fin\\bin\\Plandrix_T6_AE.exe", 0, 1}},
      {"DORVAL5", sys::csidl::kCommonStartMenu, "C:\\ProgramData\\Start Menu\\DORVAL Servidor DDE.lnk",
       {"C:\\Fin\\sis\\KEL.EXE", "", "C:\\Fin\\sis", "DORVAL Servidor DDE", "C:\\Fin\\sis\\KEL.EXE", 0, 1}},
      {"KS", sys::csidl::kCommonPrograms, "C:\\ProgramData\\Start Menu\\Programs\\KORDAN SALV\\Product.lnk",
       {"C:\\Fin\\bin\\salvix.exe", "", "C:\\Fin\\rels", "Product", "C:\\Fin\\bin\\salvix.exe", 0, 1}},
  };
  for (const Case& c : cases) {
    Session().productLine = c.line;
    Results().mainExecutableCode = DistributionCode(c.line);
    MakeProductShortcuts(false, c.csidl);
    MakeProductShortcuts(false, c.csidl);
    LinkRecord link = Read(c.file);
    EXPECT_EQ(std::tie(link.target, link.arguments, link.workingFolder, link.description, link.iconFile),
              std::tie(c.expected.target, c.expected.arguments, c.expected.workingFolder, c.expected.description,
                       c.expected.iconFile))
        << c.line;
  }
  EXPECT_EQ(Files(std::string(kDesktop) + "\\*.lnk").size(), 1u);
  EXPECT_EQ(Files(std::string(kMenu) + "\\*.lnk").size(), 2u);  // PINDRELV8's gave way to DORVAL5's, plus its second
  EXPECT_EQ(Files(std::string(kPrograms) + "\\KORDAN SALV\\*.lnk").size(), 2u);  // with "Datensicherung"
}

TEST_F(Shortcuts, ANewShortcutReplacesOnesOfItsNameOrTargetAndTheUninstallOnesOfItsFolder) {
  Session().productLine = "FNC";
  const std::string mine = std::string(kDesktop) + "\\My Omnis.lnk";
  const std::string older = std::string(kDesktop) + "\\Product (old).lnk";
  const std::string other = std::string(kDesktop) + "\\Editor.lnk";
  Put(mine, {"c:\\fin\\OMNIS7.EXE", "", "D:\\Elsewhere"});
  Put(older, {"C:\\Old\\x.exe", "", "C:\\Old"});
  Put(other, {"C:\\Tools\\edit.exe", "", "C:\\fin"});
  MakeProductShortcuts(false, sys::csidl::kCommonDesktopDirectory);
  EXPECT_TRUE(!os.files.Exists(mine) && !os.files.Exists(older) && os.files.Exists(other));
  // The web lines keep a user's own link of another name to the same target.
  Session().productLine = "FYNDRA";
  Put(mine, {"C:\\Fin\\Omnis7.exe"});
  FindOrCleanShortcuts(sys::csidl::kCommonDesktopDirectory, {"C:\\Fin\\Omnis7.exe", "Product"}, false);
  EXPECT_TRUE(os.files.Exists(mine));
  // Removal goes by the working folder, whatever the name.
  Session().productLine = "FNC";
  MakeProductShortcuts(true, sys::csidl::kCommonDesktopDirectory);
  EXPECT_EQ(Files(std::string(kDesktop) + "\\*.lnk"), std::vector<std::string>{"My Omnis.lnk"});
}

TEST_F(Shortcuts, AConvertedLineReplacesTheShortcutOfItsFormerName) {
  const std::string former = std::string(kMenu) + "\\Nordhal voor Windows.lnk";
  Put(former, {"C:\\Fin\\bin\\nordhal.exe", "-T2", "C:\\Fin\\bin"});
  Session().productLine = "QS2003E";
  Results().convertedProductLine = true;
  Results().previousProductLine = "NHVW";
  MakeProductShortcuts(false, sys::csidl::kCommonStartMenu);
  EXPECT_EQ(Files(std::string(kMenu) + "\\*.lnk"), std::vector<std::string>{"Product.lnk"});
  EXPECT_EQ(Read(std::string(kMenu) + "\\Product.lnk").target, "C:\\Fin\\Omnis.exe");
}

TEST_F(Shortcuts, AWebLineGetsOneInternetShortcutToItsAddress) {
  Session().productLine = "FYNDRA";
  Put(std::string(kDesktop) + "\\Old name.url", {"HTTP://ws-test/halomir"}, LinkKind::Internet);
  MakeProductShortcuts(false, sys::csidl::kCommonDesktopDirectory);
  MakeProductShortcuts(false, sys::csidl::kCommonDesktopDirectory);
  EXPECT_EQ(Files(std::string(kDesktop) + "\\*.url"), std::vector<std::string>{"Product.url"});
  LinkRecord url = Read(std::string(kDesktop) + "\\Product.url", LinkKind::Internet);
  EXPECT_EQ(url.target, "http://WS-TEST/Halomir");
  EXPECT_EQ(url.iconFile, "C:\\Fin\\bin\\Plandrix_T8_AE.exe");
  MakeProductShortcuts(true, sys::csidl::kCommonDesktopDirectory);
  EXPECT_TRUE(Files(std::string(kDesktop) + "\\*.url").empty());
}

TEST_F(Shortcuts, TheDocumentsToolGoesToSendToWithTheBrandIconCopiedBeside) {
  Session().productLine = "QS2003E";
  Results().mainExecutableCode = "T0";
  os.files.WriteText("C:\\Fin\\bin\\k7brandT0.dll", "icons");
  MakeSendToShortcut(false);
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\Icon2003T0.dll"), "icons");
  LinkRecord tool = Read("C:\\Users\\tester\\SendTo\\Product.lnk");
  EXPECT_EQ(tool.target + "|" + tool.iconFile, "C:\\Fin\\bin\\MDocuments.exe|C:\\Fin\\bin\\Icon2003T0.dll");
}

}  // namespace

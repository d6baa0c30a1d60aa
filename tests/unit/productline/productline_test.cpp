// The per-line rules: codes, offered choices, help pages, captions, the marker, and what a
// finished run leaves in the registry, the INI files and the payroll data folders.
#include "productline/productline.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "fakes/fake_os.h"
#include "app/productline_payroll.h"
#include "app/productline_registrations.h"
#include "session/session.h"
#include "sys/os.h"

namespace {

using sys::Hive;

constexpr const char* kMolvexKey = "Software\\Molvex\\Molvex for Windows\\4.0";
constexpr const char* kSalvIni = "C:\\Windows\\salv.ini";

TEST(ProductLineCodes, CodesKeysAndAssortmentsIgnoreLetterCase) {
  const std::pair<const char*, const char*> codes[] = {{"qs2003se", "T12"}, {"HALOMIR.NET", "T15"}, {"", "T0"}};
  for (const auto& [productLine, code] : codes)
    EXPECT_EQ(DistributionCode(productLine, "Plandrix_T17_AE.exe"), code) << productLine;
  // Only the Spanish build (named in its own letter case) gives the desktop line its code.
  EXPECT_EQ(DistributionCode("qs2000", "Plandrix_T7_ES.exe"), "T7");
  EXPECT_EQ(DistributionCode("QS2000", "plandrix_t7_es.exe"), "T0");
  EXPECT_EQ(DistributionCode("QS2000", "HalomirPlandrix.exe"), "T0");
  FakeOs os;
  os.desktop.strings[11] = "Plandrix_T7_ES.exe";
  EXPECT_EQ(DistributionCode("QS2000"), "T7");

  EXPECT_EQ(MachineKeyPath("dorval5"), "Software\\Dorval\\Quarzel\\5.0");
  EXPECT_EQ(MachineKeyPath("FYNDRA"), kMolvexKey);
  EXPECT_EQ(AssortmentCode("qs2003se"), "QS2003E");
  EXPECT_EQ(AssortmentCode("QS2003"), "QS2003");
  EXPECT_TRUE(IsWebLine("halomir.net"));
  EXPECT_FALSE(IsWebLine("Halomir"));
}

TEST(OfferedChoices, OnlyTheSiteModesOfferHelpAndDemoAndSomeLinesNever) {
  for (int mode = -1; mode <= 8; ++mode) {
    bool siteMode = mode >= 0 && mode <= 2;
    EXPECT_EQ(HelpChoiceOffered("QS2003E", mode), siteMode) << mode;
    EXPECT_EQ(DemoChoiceOffered("QS2003E", mode), siteMode) << mode;
  }
  for (const char* productLine : {"ks", "FYNDRA", "Halomir.NET"}) {
    EXPECT_FALSE(HelpChoiceOffered(productLine, 0)) << productLine;
    EXPECT_FALSE(DemoChoiceOffered(productLine, 1)) << productLine;
  }
  EXPECT_FALSE(HelpChoiceOffered("pindrelv8", 2));
  EXPECT_TRUE(DemoChoiceOffered("PINDRELV8", 2)) << "the demo company is still offered";
}

TEST(HelpPages, HelpAndReleaseNotesOpenTheLinesTopicOnTheBuiltInSite) {
  FakeOs os;
  os.desktop.strings = {{9, "NL"}, {17, "https://update.molvex.example"}};
  Session().productLine = "qs2003se";
  Session().webSite = "https://other.example";
  OpenHelp(0x42);
  OpenReleaseNotes(0);
  ASSERT_EQ(os.processes.shellCalls.size(), 2u);
  const fakes::ShellCall& call = os.processes.shellCalls[0];
  EXPECT_EQ(std::tuple(call.owner, call.verb, call.showState), std::tuple(0x42u, "open", sys::show::kNormal));
  const std::string page = "https://update.molvex.example/docs/SysHelp.aspx?";
  EXPECT_EQ(call.file, page + "Topic=Plandrix_T0_NL.exe&TopicFilter=QS2003E&Language=NL");
  EXPECT_EQ(os.processes.shellCalls[1].file, page + "action=1&TopicFilter=QS2003E&Language=NL");

  const std::pair<const char*, const char*> topics[] = {
      {"FYNDRA", "Topic=HalomirPlandrix.exe&TopicFilter=FYNDRA"},
      {"KS", "Topic=Plandrix_T11_DE.exe&TopicFilter=KS"},
      {"fnc", "Topic=Plandrix_T17_AE.exe&TopicFilter=fnc"}};
  for (const auto& [productLine, topic] : topics)
    EXPECT_EQ(HelpUrl(productLine), page + topic + "&Language=NL");
}

TEST(ConversionCaption, ConvertedLinesGetTheirCaptionPerMode) {
  FakeOs os;
  Session().captionText = "Fennic Duziderav";
  Session().installMode = kLanWorkstationUpdate;
  SetConversionCaption("nhvw");
  EXPECT_EQ(Session().captionText, "Molvex Werkstationupdate");
  SetConversionCaption("QS2003E");
  EXPECT_EQ(Session().captionText, "Molvex Werkstationupdate") << "other lines keep the caption";
  EXPECT_EQ(ConversionCaption("wenzlorpro", 7), "Molvex Netzwerk-Installation");
}

TEST(InstallStatus, MarkerInTheLinesOwnMachineKey) {
  FakeOs os;
  Session().productLine = "DORVAL5";
  EXPECT_FALSE(InstallStatusSet()) << "no key";
  os.registry.PutString(Hive::LocalMachine, kMolvexKey, "MolvexInstallStatus", "Updating");
  EXPECT_FALSE(InstallStatusSet()) << "another line's key";
  os.registry.PutString(Hive::LocalMachine, "Software\\Dorval\\Quarzel\\5.0", "MolvexInstallStatus", "");
  EXPECT_FALSE(InstallStatusSet()) << "empty marker";
  os.registry.PutString(Hive::LocalMachine, "Software\\Dorval\\Quarzel\\5.0", "MolvexInstallStatus", "Reboot");
  EXPECT_TRUE(InstallStatusSet());

  Session().productLine = "FYNDRA";
  EXPECT_FALSE(InstallStatusSet()) << "the web lines keep no marker";
  Session().productLine = "QS2003E";
  EXPECT_TRUE(InstallStatusSet());
  os.registry.RefuseAccess(Hive::LocalMachine, kMolvexKey, sys::KeyAccess::Read);
  EXPECT_FALSE(InstallStatusSet()) << "a key that cannot be opened";
}

// Records the descriptor the Spanish key is created with.
class DescriptorRegistry : public fakes::FakeRegistry {
 public:
  sys::Error CreateKeyWithDescriptor(Hive hive, const std::string& path, const std::string& descriptor) override {
    descriptors[path] = descriptor;
    return CreateKey(hive, path, sys::RegistryView::Native);
  }
  std::map<std::string, std::string> descriptors;
};

TEST(SpanishLine, KeyFileTypeAndFontsAreRegisteredWhereTheSystemKeepsThemAndOnlyWithRights) {
  FakeOs os;
  DescriptorRegistry registry;
  sys::os().registry = &registry;
  const char* fontsNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  const char* key = "Software\\Dorval\\Quarzel\\5.0";
  auto font = [&](const char* name) { return registry.StringOf(Hive::LocalMachine, fontsNt, name); };
  registry.PutString(Hive::LocalMachine, fontsNt, "Arial (TrueType)", "ARIAL.TTF");
  Session().installDir = "C:\\Quarzel";
  Session().isNtFamily = false;  // an older system keeps its fonts elsewhere; a missing fonts key is skipped
  RegisterSpanishLine();
  EXPECT_FALSE(registry.HasKey(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts"));
  EXPECT_EQ(font("Swiss 721 Condensed BT (TrueType)"), std::nullopt);
  EXPECT_EQ(os.systemInfo.fontChangeBroadcasts, 0);
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, ".QDC", ""), "Quarzel_DC") << "the rest is still registered";

  Session().isNtFamily = true;
  RegisterSpanishLine();
  EXPECT_EQ(registry.descriptors[key], "D:(A;OICIID;GA;;;AU)");  // every user may write the line's key
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, key, "Trayectoria"), "C:\\Quarzel");
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, "Quarzel_DC\\shell\\open\\command", ""),
            "\"C:\\Quarzel\\SIS\\QUARZEL.EXE\" /E \"%1\"");
  EXPECT_EQ(font("Swiss 721 Bold Condensed BT (TrueType)"), "SWZ721BC.TTF");
  EXPECT_EQ(os.systemInfo.fontChangeBroadcasts, 1);

  registry.RefuseAccess(Hive::LocalMachine, "", sys::KeyAccess::Write);  // without rights nothing is written
  Session().installDir = "D:\\Other";
  RegisterSpanishLine();
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, key, "Trayectoria"), "C:\\Quarzel");
  EXPECT_EQ(os.systemInfo.fontChangeBroadcasts, 1);
}

TEST(PayrollSettings, OptionsDecideSingleUserAndProgramEntriesFollowTheFolder) {
  FakeOs os;
  auto ini = [&](const char* key) { return os.profiles.GetString(kSalvIni, "INIT", key, "<none>", 261); };
  EXPECT_FALSE(PayrollOptionsSet()) << "no salv.ini";
  EXPECT_TRUE(PayrollSingleUser());
  const std::tuple<const char*, bool, bool> cases[] = {
      {"MULTI", true, false}, {"SINGLE", true, true}, {"NOTHING", false, true}};
  for (const auto& [options, set, single] : cases) {
    os.files.WriteText(kSalvIni, std::string("[INIT]\r\nOPTIONS=") + options + "\r\n");
    EXPECT_EQ(PayrollOptionsSet(), set) << options;
    EXPECT_EQ(PayrollSingleUser(), single) << options;
  }

  // The program entries come from the installation folder unless it is on the network.
  Session().installDir = "D:\\Apps\\Salvix";
  WritePayrollSettings();
  EXPECT_TRUE(os.registry.HasKey(Hive::LocalMachine, "Software\\Molvex\\Salvix\\9.0"));
  EXPECT_EQ(ini("TREEVIEW"), "1");
  EXPECT_EQ(ini("PROG-DRIVE"), "D");
  EXPECT_EQ(ini("PROG-PATH"), "\\Apps\\Salvix\\bin\\");
  EXPECT_EQ(ini("SALVHOME"), "D:\\Apps\\Salvix");

  Session().installDir = "\\\\srv\\apps\\Salvix";
  WritePayrollSettings();
  EXPECT_EQ(ini("PROG-DRIVE"), "D");
  EXPECT_EQ(ini("PROG-PATH"), "\\Apps\\Salvix\\bin\\");
  EXPECT_EQ(ini("SALVHOME"), "\\\\srv\\apps\\Salvix");
}

class PayrollConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    os.files.AddVolume("D:");
    os.files.WriteText(kSalvIni,
                       "[INIT]\r\nDATA-DRIVE=D\r\nDATA-PATH=\\Salvix\\RELS\r\nPROG-DRIVE=C\r\n"
                       "PROG-PATH=\\Salvix\\bin\\\r\n[KS-TITEL]\r\nText=SALV Professional\r\n");
    for (const char* folder : {"D:\\Salvix\\rels2", "D:\\Salvix\\rels\\APFOLDER", "C:\\Salvix\\rels\\SUB"})
      os.files.MakeDirectories(folder);
    for (const char* file : {"D:\\Salvix\\rels\\COMMAND.LOG", "D:\\Salvix\\rels\\AP0001.DAT", "D:\\Salvix\\rels\\KEEP.DAT",
                             "C:\\Salvix\\rels\\LOHN.DEF", "C:\\Salvix\\rels\\STATE.$B$"})
      os.files.WriteText(file, "x");
    Session().installDir = "C:\\Salvix";

    steps.showProgress = [this](const std::string& phase, const std::string& item, const std::string& detail) {
      progress.push_back(phase + "|" + item + "|" + detail);
    };
    steps.controlDatabaseServer = [this](const std::string& action) { actions.push_back("services " + action); };
    steps.copyFileWithRetry = [this](const std::string& from, const std::string& to) {
      actions.push_back("copy " + from + " > " + to);
    };
    steps.deleteFileWithRetry = [this](const std::string& path) { actions.push_back("delete " + path); };
    steps.createFolder = [this](const std::string& path) { actions.push_back("folder " + path); };
  }

  // Each started program as "command line @ working folder".
  std::vector<std::string> Started() const {
    std::vector<std::string> started;
    for (const fakes::StartedProcess& process : os.processes.started)
      started.push_back(process.commandLine + " @ " + process.options.workingFolder);
    return started;
  }

  FakeOs os;
  PayrollConversionSteps steps;
  std::vector<std::string> progress;
  std::vector<std::string> actions;
};

TEST_F(PayrollConversion, EveryExistingDataFolderIsConvertedInOrderAndMissingOnesAreSkipped) {
  os.files.WriteText("C:\\Windows\\sxtable.ini", "[SALVARTEN]\r\nrels2=XXKUG\r\n");
  RunPayrollDataConversion(steps);
  EXPECT_EQ(Started(), (std::vector<std::string>{
                           "C:\\Salvix\\bin\\apupdate . -m @ D:\\Salvix\\rels",
                           "C:\\Salvix\\bin\\apupdate . -m @ D:\\Salvix\\rels2",
                           "C:\\Salvix\\bin\\sv_lkosx.exe @ D:\\Salvix\\rels",
                           "C:\\Salvix\\bin\\SV_LR.EXE @ D:\\Salvix\\rels",
                           "C:\\Salvix\\bin\\sv_relmi.exe D:\\Salvix\\tmp D:\\Salvix\\rels STD MENU @ D:\\Salvix\\rels",
                           "C:\\Salvix\\bin\\sv_relmi.exe D:\\Salvix\\tmp D:\\Salvix\\rels2 KUG MENU @ D:\\Salvix\\rels2",
                       }));
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
  EXPECT_EQ(actions, (std::vector<std::string>{"folder D:\\Salvix\\rels\\TMP", "delete D:\\Salvix\\rels\\COMMAND.LOG",
                                               "delete D:\\Salvix\\rels\\AP0001.DAT", "folder D:\\Salvix\\rels2\\TMP"}))
      << "a single-user installation stops no services and copies no templates";
  // The progress counts through all ten thousand folder names, twice.
  ASSERT_EQ(progress.size(), 1u + 2 * 10000u);
  EXPECT_EQ(progress[0], "RelsVerzeichniss Update|Rels:  |0%");
  EXPECT_EQ(progress[5001], "RelsVerzeichniss Update|rels5000|50%");
  EXPECT_EQ(progress[10000], "RelsVerzeichniss Update|rels9999|100%");
  EXPECT_EQ(progress[10001], "RelsVerzeichniss Update|rels|0%");
}

TEST_F(PayrollConversion, AMultiUserInstallationStopsTheServicesAndFillsTheFirstFolder) {
  os.files.WriteText(kSalvIni,
                     "[INIT]\r\nOPTIONS=MULTI\r\nDATA-DRIVE=D\r\nDATA-PATH=\\Salvix\r\nPROG-DRIVE=C\r\n"
                     "PROG-PATH=\\Salvix\\BIN\r\n");
  RunPayrollDataConversion(steps);
  EXPECT_EQ(actions, (std::vector<std::string>{
                         "services STOP", "copy C:\\Salvix\\rels\\LOHN.DEF > D:\\Salvix\\rels\\LOHN.DEF",
                         "folder D:\\Salvix\\rels\\TMP", "delete D:\\Salvix\\rels\\COMMAND.LOG",
                         "delete D:\\Salvix\\rels\\AP0001.DAT", "folder D:\\Salvix\\rels2\\TMP", "services START"}))
      << "only the first data folder, only files, no backups";
}

TEST_F(PayrollConversion, TheSmallEditionGetsItsMenuTablesAndAMissingToolStopsNothing) {
  os.profiles.WriteString(kSalvIni, "KS-TITEL", std::string("Text"), std::string("SALV XS 2010"));
  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);  // the first tool is missing
  RunPayrollDataConversion(steps);
  EXPECT_EQ(os.processes.started.size(), 5u);
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
  EXPECT_EQ(Started()[3], "C:\\Salvix\\bin\\sv_relmi.exe D:\\Salvix\\tmp D:\\Salvix\\rels STD NOMENU @ D:\\Salvix\\rels");
  EXPECT_EQ(std::vector<std::string>(actions.end() - 3, actions.end()),
            (std::vector<std::string>{"copy C:\\Salvix\\ETC\\EASY\\lmenutbl > D:\\Salvix\\RELS\\lmenutbl",
                                      "copy C:\\Salvix\\ETC\\EASY\\lmenutbl > D:\\Salvix\\BIN\\sxv.dll",
                                      "copy C:\\Salvix\\ETC\\EASY\\lmenutbl > D:\\Salvix\\BIN\\sxv1.dll"}));
}

}  // namespace

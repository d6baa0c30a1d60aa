// The per-line rules as a user meets them: codes, offered choices, help pages, captions,
// the marker, and what a finished run leaves in the registry, the INI files and the
// payroll data folders.
#include "productline/productline.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "fakes/fake_os.h"
#include "app/productline_payroll.h"
#include "app/productline_registrations.h"
#include "session/session.h"
#include "sys/os.h"

namespace {

using sys::Hive;

TEST(ProductLineCodes, EveryLineHasItsDistributionCodeWhateverTheLetterCase) {
  const std::map<std::string, std::string> expected = {
      {"QS2003E", "T0"}, {"QS2003", "T0"},  {"qs2003se", "T12"}, {"QK2000", "T10"},     {"QK2003", "T10"},
      {"QF2003", "T1"},  {"nhvw", "T2"},    {"WENZLORPRO", "T3"}, {"QTRAX", "T4"},      {"QW2000", "T5"},
      {"PINDRELV8", "T6"}, {"Fyndra", "T8"}, {"DORVAL5", "T9"},   {"ks", "T11"},        {"HALOMIR.NET", "T15"},
      {"FNS", "T16"},    {"fnc", "T17"},    {"Tallyo", "T0"},     {"QBA", "T0"},        {"SOMETHING", "T0"},
      {"", "T0"},
  };
  for (const auto& [productLine, code] : expected) {
    EXPECT_EQ(DistributionCode(productLine, "Plandrix_T17_AE.exe"), code) << productLine;
  }
}

TEST(ProductLineCodes, TheSpanishBuildGivesTheDesktopLineItsOwnCode) {
  EXPECT_EQ(DistributionCode("QS2000", "Plandrix_T7_ES.exe"), "T7");
  EXPECT_EQ(DistributionCode("qs2000", "Plandrix_T7_ES.exe"), "T7");
  EXPECT_EQ(DistributionCode("QS2000", "plandrix_t7_es.exe"), "T0") << "the build name keeps its case";
  EXPECT_EQ(DistributionCode("QS2000", "HalomirPlandrix.exe"), "T0");

  FakeOs os;
  os.desktop.strings[11] = "Plandrix_T7_ES.exe";
  EXPECT_EQ(DistributionCode("QS2000"), "T7");
  EXPECT_EQ(DistributionCode("QS2003SE"), "T12");
}

TEST(ProductLineCodes, MachineKeysAndTheSiteAssortment) {
  EXPECT_EQ(MachineKeyPath("dorval5"), "Software\\Dorval\\Quarzel\\5.0");
  EXPECT_EQ(MachineKeyPath("KS"), "Software\\Molvex\\Salvix\\9.0");
  EXPECT_EQ(MachineKeyPath("FYNDRA"), "Software\\Molvex\\Molvex for Windows\\4.0");
  EXPECT_EQ(MachineKeyPath("FNC"), "Software\\Molvex\\Molvex for Windows\\4.0");
  EXPECT_EQ(AssortmentCode("qs2003se"), "QS2003E");
  EXPECT_EQ(AssortmentCode("QS2003"), "QS2003");
  EXPECT_TRUE(IsWebLine("halomir.net"));
  EXPECT_FALSE(IsWebLine("Halomir"));
  EXPECT_TRUE(IsTallyoLine("TALLYO"));
}

TEST(OfferedChoices, OnlyTheSiteModesOfferHelpAndDemo) {
  for (int mode = 0; mode <= 7; ++mode) {
    bool siteMode = mode <= 2;
    EXPECT_EQ(HelpChoiceOffered("QS2003E", mode), siteMode) << mode;
    EXPECT_EQ(DemoChoiceOffered("QS2003E", mode), siteMode) << mode;
  }
  EXPECT_FALSE(HelpChoiceOffered("QS2003E", -1));
  EXPECT_FALSE(DemoChoiceOffered("QS2003E", 8));
}

TEST(OfferedChoices, SomeLinesHaveNoHelpOrDemoChoice) {
  for (const char* productLine : {"ks", "FYNDRA", "Halomir.NET"}) {
    EXPECT_FALSE(HelpChoiceOffered(productLine, 0)) << productLine;
    EXPECT_FALSE(DemoChoiceOffered(productLine, 1)) << productLine;
  }
  EXPECT_FALSE(HelpChoiceOffered("pindrelv8", 2));
  EXPECT_TRUE(DemoChoiceOffered("PINDRELV8", 2)) << "the demo company is still offered";
  EXPECT_TRUE(HelpChoiceOffered("DORVAL5", 0));
}

class HelpPages : public ::testing::Test {
 protected:
  void SetUp() override {
    os.desktop.strings[17] = "https://update.molvex.example";
    os.desktop.strings[9] = "NL";
  }
  FakeOs os;
};

TEST_F(HelpPages, HelpOpensTheLinesTopicOnTheBuiltInSite) {
  Session().productLine = "qs2003se";
  Session().webSite = "https://other.example";
  OpenHelp(0x42);
  ASSERT_EQ(os.processes.shellCalls.size(), 1u);
  const fakes::ShellCall& call = os.processes.shellCalls[0];
  EXPECT_EQ(call.owner, 0x42u);
  EXPECT_EQ(call.verb, "open");
  EXPECT_EQ(call.showState, sys::show::kNormal);
  EXPECT_EQ(call.file,
            "https://update.molvex.example/docs/SysHelp.aspx?Topic=Plandrix_T0_NL.exe&TopicFilter=QS2003E&Language=NL");
}

TEST_F(HelpPages, EachLineWithItsOwnTopic) {
  const std::map<std::string, std::string> topics = {
      {"FYNDRA", "Topic=HalomirPlandrix.exe&TopicFilter=FYNDRA"},
      {"Halomir.NET", "Topic=HalomirPlandrix.exe&TopicFilter=Halomir.NET"},
      {"DORVAL5", "Topic=Plandrix_T9.exe&TopicFilter=DORVAL5"},
      {"KS", "Topic=Plandrix_T11_DE.exe&TopicFilter=KS"},
      {"FNS", "Topic=Plandrix_T16_AE.exe&TopicFilter=FNS"},
      {"fnc", "Topic=Plandrix_T17_AE.exe&TopicFilter=fnc"},
      {"QTRAX", "Topic=Plandrix_T0_NL.exe&TopicFilter=QTRAX"},
  };
  for (const auto& [productLine, topic] : topics) {
    EXPECT_EQ(HelpUrl(productLine), "https://update.molvex.example/docs/SysHelp.aspx?" + topic + "&Language=NL");
  }
}

TEST_F(HelpPages, ReleaseNotesUseTheActionPage) {
  Session().productLine = "QS2003SE";
  OpenReleaseNotes(0);
  ASSERT_EQ(os.processes.shellCalls.size(), 1u);
  EXPECT_EQ(os.processes.shellCalls[0].file,
            "https://update.molvex.example/docs/SysHelp.aspx?action=1&TopicFilter=QS2003E&Language=NL");
}

TEST_F(HelpPages, AShellThatRefusesIsLoggedNotFatal) {
  Session().productLine = "FNC";
  os.processes.faults.FailNext(fakes::ProcessOp::ShellExecute, 31);
  OpenHelp(0);
  OpenHelp(0);
  EXPECT_EQ(os.processes.shellCalls.size(), 1u);
}

TEST(ConversionCaption, ConvertedLinesGetTheirCaptionPerMode) {
  FakeOs os;
  Session().captionText = "Fennic Duziderav";
  Session().installMode = kLanWorkstationUpdate;
  SetConversionCaption("nhvw");
  EXPECT_EQ(Session().captionText, "Molvex Werkstationupdate");
  SetConversionCaption("QS2003E");
  EXPECT_EQ(Session().captionText, "Molvex Werkstationupdate") << "other lines keep the caption";

  const std::map<int, std::pair<std::string, std::string>> captions = {
      {0, {"Molvex Internetinstallatie", "Molvex Internet-Installation"}},
      {1, {"Molvex Internetinstallatie", "Molvex Internet-Installation"}},
      {2, {"Molvex Netwerkinstallatieupdate", "Molvex Netzwerkinstallationsupdate"}},
      {3, {"Molvex Werkstationinstallatie", "Molvex Workstation-Installation"}},
      {4, {"Molvex Werkstationupdate", "Molvex Workstation-Update"}},
      {5, {"Molvex Internetinstallatie", "Molvex Internet-Installation"}},
      {6, {"Molvex Werkstationinstallatie", "Molvex Workstation-Installation"}},
      {7, {"Molvex Netwerkinstallatie", "Molvex Netzwerk-Installation"}},
  };
  for (const auto& [mode, texts] : captions) {
    EXPECT_EQ(ConversionCaption("NHVW", mode), texts.first) << mode;
    EXPECT_EQ(ConversionCaption("wenzlorpro", mode), texts.second) << mode;
  }
  EXPECT_EQ(ConversionCaption("QS2003", 0), "");
}

TEST(InstallStatus, MarkerInTheLinesOwnMachineKey) {
  FakeOs os;
  Session().productLine = "DORVAL5";
  EXPECT_FALSE(InstallStatusSet()) << "no key";
  os.registry.PutString(Hive::LocalMachine, "Software\\Molvex\\Molvex for Windows\\4.0", "MolvexInstallStatus",
                        "Updating");
  EXPECT_FALSE(InstallStatusSet()) << "another line's key";
  os.registry.PutString(Hive::LocalMachine, "Software\\Dorval\\Quarzel\\5.0", "MolvexInstallStatus", "");
  EXPECT_FALSE(InstallStatusSet()) << "empty marker";
  os.registry.PutString(Hive::LocalMachine, "Software\\Dorval\\Quarzel\\5.0", "MolvexInstallStatus", "Reboot");
  EXPECT_TRUE(InstallStatusSet());

  Session().productLine = "QS2003E";
  EXPECT_TRUE(InstallStatusSet());
  Session().productLine = "FYNDRA";
  EXPECT_FALSE(InstallStatusSet()) << "the web lines keep no marker";
  Session().productLine = "QS2003E";
  os.registry.RefuseAccess(Hive::LocalMachine, "Software\\Molvex\\Molvex for Windows\\4.0", sys::KeyAccess::Read);
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

class SpanishLine : public ::testing::Test {
 protected:
  void SetUp() override {
    sys::os().registry = &registry;
    Session().installDir = "C:\\Quarzel";
    Session().isNtFamily = true;
    registry.PutString(Hive::LocalMachine, kFontsNt, "Arial (TrueType)", "ARIAL.TTF");
  }
  static constexpr const char* kFontsNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  FakeOs os;
  DescriptorRegistry registry;
};

TEST_F(SpanishLine, KeyFileTypeAndFontsAreRegistered) {
  RegisterSpanishLine();
  EXPECT_EQ(registry.descriptors["Software\\Dorval\\Quarzel\\5.0"], "D:(A;OICIID;GA;;;AU)");
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, "Software\\Dorval\\Quarzel\\5.0", "Trayectoria"), "C:\\Quarzel");

  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, ".QDC", ""), "Quarzel_DC");
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, "Quarzel_DC", ""), "Quarzel Data Container");
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, "Quarzel_DC\\DefaultIcon", ""), "C:\\Quarzel\\SIS\\SMENV01A.EXE,0");
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, "Quarzel_DC\\shell\\edit", ""), "&Editar");
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, "Quarzel_DC\\shell\\edit\\command", ""),
            "C:\\Windows\\NOTEPAD.EXE %1");
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, "Quarzel_DC\\shell\\open\\command", ""),
            "\"C:\\Quarzel\\SIS\\QUARZEL.EXE\" /E \"%1\"");

  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, kFontsNt, "Swiss 721 Bold Condensed BT (TrueType)"), "SWZ721BC.TTF");
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, kFontsNt, "Swiss 721 Condensed BT (TrueType)"), "SWZ721C.TTF");
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, kFontsNt, "Swiss 721 Black Condensed BT (TrueType)"), "SWZ721KC.TTF");
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, kFontsNt, "Swiss 721 Light Condensed BT (TrueType)"), "SWZ721LC.TTF");
  EXPECT_EQ(os.systemInfo.fontChangeBroadcasts, 1);
}

TEST_F(SpanishLine, OlderSystemsKeepFontsElsewhereAndAMissingFontsKeyIsSkipped) {
  Session().isNtFamily = false;
  RegisterSpanishLine();
  EXPECT_FALSE(registry.HasKey(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts"));
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, kFontsNt, "Swiss 721 Condensed BT (TrueType)"), std::nullopt);
  EXPECT_EQ(os.systemInfo.fontChangeBroadcasts, 0);
  EXPECT_EQ(registry.StringOf(Hive::ClassesRoot, ".QDC", ""), "Quarzel_DC") << "the rest is still registered";
}

TEST_F(SpanishLine, WithoutRightsNothingIsWrittenAndNothingFails) {
  registry.RefuseAccess(Hive::LocalMachine, "", sys::KeyAccess::Write);
  RegisterSpanishLine();
  EXPECT_EQ(registry.StringOf(Hive::LocalMachine, "Software\\Dorval\\Quarzel\\5.0", "Trayectoria"), std::nullopt);
  EXPECT_EQ(os.systemInfo.fontChangeBroadcasts, 0);
}

class PayrollSettings : public ::testing::Test {
 protected:
  std::string Ini(const char* key) { return os.profiles.GetString(kIni, "INIT", key, "<none>", 261); }
  static constexpr const char* kIni = "C:\\Windows\\salv.ini";
  FakeOs os;
};

TEST_F(PayrollSettings, OptionsDecideConfiguredAndSingleUser) {
  EXPECT_FALSE(PayrollOptionsSet()) << "no salv.ini";
  EXPECT_TRUE(PayrollSingleUser());
  os.files.WriteText(kIni, "[INIT]\r\nOPTIONS=MULTI\r\n");
  EXPECT_TRUE(PayrollOptionsSet());
  EXPECT_FALSE(PayrollSingleUser());
  os.files.WriteText(kIni, "[INIT]\r\nOPTIONS=SINGLE\r\n");
  EXPECT_TRUE(PayrollOptionsSet());
  EXPECT_TRUE(PayrollSingleUser());
  os.files.WriteText(kIni, "[INIT]\r\nOPTIONS=NOTHING\r\n");
  EXPECT_FALSE(PayrollOptionsSet());
}

TEST_F(PayrollSettings, ProgramEntriesComeFromTheInstallationFolder) {
  Session().installDir = "D:\\Apps\\Salvix";
  WritePayrollSettings();
  EXPECT_TRUE(os.registry.HasKey(Hive::LocalMachine, "Software\\Molvex\\Salvix\\9.0"));
  EXPECT_EQ(Ini("TREEVIEW"), "1");
  EXPECT_EQ(Ini("PROG-DRIVE"), "D");
  EXPECT_EQ(Ini("PROG-PATH"), "\\Apps\\Salvix\\bin\\");
  EXPECT_EQ(Ini("SALVHOME"), "D:\\Apps\\Salvix");
}

TEST_F(PayrollSettings, ANetworkFolderLeavesTheProgramDriveAlone) {
  os.files.WriteText(kIni, "[INIT]\r\nPROG-DRIVE=E\r\nPROG-PATH=\\Salvix\\bin\\\r\n");
  Session().installDir = "\\\\srv\\apps\\Salvix";
  WritePayrollSettings();
  EXPECT_EQ(Ini("PROG-DRIVE"), "E");
  EXPECT_EQ(Ini("PROG-PATH"), "\\Salvix\\bin\\");
  EXPECT_EQ(Ini("SALVHOME"), "\\\\srv\\apps\\Salvix");
}

TEST(DesktopPaths, TheProductsFoldersAreRegistered) {
  FakeOs os;
  Session().installDir = "C:\\Molvex";
  WriteDesktopPaths();
  const char* key = "Software\\Molvex\\Molvex for Windows\\4.0\\Paths";
  const std::map<std::string, std::string> expected = {
      {"Root", "C:\\Molvex"},           {"Binaries", "C:\\Molvex\\bin"},  {"Document", "C:\\Molvex\\usr"},
      {"Fixed", "C:\\Molvex\\etc"},     {"Images", "C:\\Molvex\\img"},    {"Reports", "C:\\Molvex\\rpt"},
      {"Templates", "C:\\Molvex\\template"}, {"Language", "C:\\Molvex\\lng;C:\\Molvex\\halomir\\lng"},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(os.registry.StringOf(Hive::LocalMachine, key, name), value);
  EXPECT_EQ(os.registry.ValueOf(Hive::LocalMachine, key, "Root")->type, sys::ValueType::String);
}

class PayrollConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    os.files.AddVolume("D:");
    os.files.WriteText(kIni,
                       "[INIT]\r\nDATA-DRIVE=D\r\nDATA-PATH=\\Salvix\\RELS\r\nPROG-DRIVE=C\r\n"
                       "PROG-PATH=\\Salvix\\bin\\\r\n[KS-TITEL]\r\nText=SALV Professional\r\n");
    os.files.MakeDirectories("D:\\Salvix\\rels");
    os.files.MakeDirectories("D:\\Salvix\\rels2");
    os.files.WriteText("D:\\Salvix\\rels\\COMMAND.LOG", "x");
    os.files.WriteText("D:\\Salvix\\rels\\AP0001.DAT", "x");
    os.files.WriteText("D:\\Salvix\\rels\\KEEP.DAT", "x");
    os.files.MakeDirectories("D:\\Salvix\\rels\\APFOLDER");
    os.files.WriteText("C:\\Salvix\\rels\\LOHN.DEF", "x");
    os.files.WriteText("C:\\Salvix\\rels\\STATE.$B$", "x");
    os.files.MakeDirectories("C:\\Salvix\\rels\\SUB");
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

  std::vector<std::pair<std::string, std::string>> Started() const {
    std::vector<std::pair<std::string, std::string>> started;
    for (const fakes::StartedProcess& process : os.processes.started) {
      started.emplace_back(process.commandLine, process.options.workingFolder);
    }
    return started;
  }

  static constexpr const char* kIni = "C:\\Windows\\salv.ini";
  FakeOs os;
  PayrollConversionSteps steps;
  std::vector<std::string> progress;
  std::vector<std::string> actions;
};

TEST_F(PayrollConversion, EveryExistingDataFolderIsConvertedInOrderAndMissingOnesAreSkipped) {
  os.files.WriteText("C:\\Windows\\sxtable.ini", "[SALVARTEN]\r\nrels2=XXKUG\r\n");
  RunPayrollDataConversion(steps);

  using Run = std::pair<std::string, std::string>;
  EXPECT_EQ(Started(), (std::vector<Run>{
                           {"C:\\Salvix\\bin\\apupdate . -m", "D:\\Salvix\\rels"},
                           {"C:\\Salvix\\bin\\apupdate . -m", "D:\\Salvix\\rels2"},
                           {"C:\\Salvix\\bin\\sv_lkosx.exe", "D:\\Salvix\\rels"},
                           {"C:\\Salvix\\bin\\SV_LR.EXE", "D:\\Salvix\\rels"},
                           {"C:\\Salvix\\bin\\sv_relmi.exe D:\\Salvix\\tmp D:\\Salvix\\rels STD MENU",
                            "D:\\Salvix\\rels"},
                           {"C:\\Salvix\\bin\\sv_relmi.exe D:\\Salvix\\tmp D:\\Salvix\\rels2 KUG MENU",
                            "D:\\Salvix\\rels2"},
                       }));
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
  EXPECT_EQ(actions, (std::vector<std::string>{
                         "folder D:\\Salvix\\rels\\TMP",
                         "delete D:\\Salvix\\rels\\COMMAND.LOG",
                         "delete D:\\Salvix\\rels\\AP0001.DAT",
                         "folder D:\\Salvix\\rels2\\TMP",
                     }))
      << "a single-user installation stops no services and copies no templates";
}

TEST_F(PayrollConversion, ProgressCountsThroughAllTenThousandNames) {
  RunPayrollDataConversion(steps);
  ASSERT_EQ(progress.size(), 1u + 2 * 10000u);
  EXPECT_EQ(progress[0], "RelsVerzeichniss Update|Rels:  |0%");
  EXPECT_EQ(progress[1], "RelsVerzeichniss Update|rels|0%");
  EXPECT_EQ(progress[2], "RelsVerzeichniss Update|rels1|0%");
  EXPECT_EQ(progress[5001], "RelsVerzeichniss Update|rels5000|50%");
  EXPECT_EQ(progress[10000], "RelsVerzeichniss Update|rels9999|100%");
  EXPECT_EQ(progress[10001], "RelsVerzeichniss Update|rels|0%");
}

TEST_F(PayrollConversion, AMultiUserInstallationStopsTheServicesAndFillsTheFirstFolder) {
  os.files.WriteText(kIni,
                     "[INIT]\r\nOPTIONS=MULTI\r\nDATA-DRIVE=D\r\nDATA-PATH=\\Salvix\r\nPROG-DRIVE=C\r\n"
                     "PROG-PATH=\\Salvix\\BIN\r\n");
  RunPayrollDataConversion(steps);
  ASSERT_GE(actions.size(), 3u);
  EXPECT_EQ(actions.front(), "services STOP");
  EXPECT_EQ(actions[1], "copy C:\\Salvix\\rels\\LOHN.DEF > D:\\Salvix\\rels\\LOHN.DEF");
  EXPECT_EQ(actions[2], "folder D:\\Salvix\\rels\\TMP");
  EXPECT_EQ(actions.back(), "services START");
  for (const std::string& action : actions) EXPECT_EQ(action.find("$B$"), std::string::npos) << action;
  int copies = 0;
  for (const std::string& action : actions) copies += action.rfind("copy ", 0) == 0;
  EXPECT_EQ(copies, 1) << "only the first data folder, only files";
}

TEST_F(PayrollConversion, TheSmallEditionGetsItsMenuTables) {
  os.profiles.WriteString(kIni, "KS-TITEL", std::string("Text"), std::string("SALV XS 2010"));
  RunPayrollDataConversion(steps);
  EXPECT_EQ(Started()[4].first, "C:\\Salvix\\bin\\sv_relmi.exe D:\\Salvix\\tmp D:\\Salvix\\rels STD NOMENU");
  std::vector<std::string> tail(actions.end() - 3, actions.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      "copy C:\\Salvix\\ETC\\EASY\\lmenutbl > D:\\Salvix\\RELS\\lmenutbl",
                      "copy C:\\Salvix\\ETC\\EASY\\lmenutbl > D:\\Salvix\\BIN\\sxv.dll",
                      "copy C:\\Salvix\\ETC\\EASY\\lmenutbl > D:\\Salvix\\BIN\\sxv1.dll",
                  }));
}

TEST_F(PayrollConversion, AMissingToolIsLoggedAndTheRestStillRuns) {
  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);
  RunPayrollDataConversion(steps);
  EXPECT_EQ(os.processes.started.size(), 5u);
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

}  // namespace

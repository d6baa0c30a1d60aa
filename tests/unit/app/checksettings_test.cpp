// The settings check: what each step answers, shows and does to the dialog.
#include <gtest/gtest.h>

#include <functional>

#include "app/checkfields.h"
#include "app/checksettings.h"
#include "app/stages.h"
#include "app/weblines.h"
#include "capablemachine.h"
#include "install/placementstate.h"
#include "install/prerequisites.h"
#include "session/session.h"

namespace {

using sys::Hive;
using Arrange = std::function<void(SessionSettings&, FakeOs&)>;

class RecordedDialog : public DialogControls {
 public:
  sys::WindowId Window() const override { return 77; }
  std::string Text(int) const override { return {}; }
  void SetText(int, std::string_view) override {}
  void Show(int, bool) override {}
  void Enable(int, bool) override {}
  void SetReadOnly(int, bool) override {}
  bool Checked(int) const override { return false; }
  void SetChecked(int, bool) override {}
  void AddItem(int, std::string_view) override {}
  void ClearItems(int) override {}
  int FindItem(int, std::string_view) const override { return -1; }
  int Selection(int) const override { return -1; }
  void Select(int, int) override {}
  void MakeDropDownList(int) override {}
  void Focus(int id) override { focus = id; }
  void End(int result) override { ended = result; }
  int focus = 0, ended = 0;
};

class CheckSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.desktop.UseProductStrings();
    MakeCapableMachine(os);
    os.desktop.osVersion = fakes::FakeDesktop{}.osVersion;
    os.registry.PutString(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "x", "");
    SessionSettings& s = Session();
    s.productLine = "FNC", s.release = "30052", s.webSite = "https://updates.example", s.installDir = "C:\\Fin";
    s.osCode = 9, s.isNtFamily = s.hasAdminRights = s.canWriteMachineKeys = true, s.captionText = "Caption";
    StoredWebLines() = WebLines{};
  }
  // Runs the check after `setup` with a fresh dialog (or none).
  SettingsCheck Check(const Arrange& setup, bool withWindow = true) {
    setup(Session(), os);
    dialog = RecordedDialog{};
    os.desktop.boxes.clear();
    return CheckSettings(withWindow ? &dialog : nullptr);
  }
  std::string Box() const { return os.desktop.boxes.empty() ? "<none>" : os.desktop.boxes.back().text; }

  FakeOs os;
  RecordedDialog dialog;
};

TEST_F(CheckSettingsTest, FieldFailuresPointAtTheirControlAndShowNothingWithoutAWindow) {
  const struct { Arrange setup; const char* label; int control; } cases[] = {
      {[](auto& s, auto&) { s.productLine = ""; }, "Product line", 1000},
      {[](auto& s, auto&) { s.release = ""; }, "Release", 1001},
      {[](auto& s, auto&) { s.webSite = ""; }, "Web site", 1006},
      {[](auto& s, auto&) { s.installMode = kLanWorkstation, s.netDir = "C:\\Net"; }, "Path to network installation", 1006},
      {[](auto& s, auto&) { s.installDir = "C:Fin"; }, "Installation directory", 1007},
  };
  for (const auto& c : cases) {
    ResetSessionState(), SetUp();
    EXPECT_EQ(Check(c.setup), SettingsCheck::NeedsDialog) << c.label;
    EXPECT_EQ(Box(), std::string("The following data is invalid: ") + c.label);
    EXPECT_TRUE(os.desktop.boxes[0].owner == 77 && os.desktop.boxes[0].type == 0x10000 && dialog.ended == 0);
    EXPECT_EQ(dialog.focus, c.control);
    EXPECT_TRUE(Check(c.setup, false) == SettingsCheck::NeedsDialog && os.desktop.boxes.empty()) << c.label;
  }
  EXPECT_EQ(Session().installDir, "C:Fin");  // the value typed stays
  for (const char* good : {"\\\\srv\\share", "C:\\Fin", "d:\\"}) EXPECT_TRUE(IsWellFormedFolder(good)) << good;
  for (const char* bad : {"C:", "C:Fin", "X", "\\Fin"}) EXPECT_FALSE(IsWellFormedFolder(bad)) << bad;
}

TEST_F(CheckSettingsTest, NetworkSourcesMustBeThereAndFinished) {
  auto lan = [](SessionSettings& s, FakeOs& os) {
    s.installMode = kLanWorkstation, s.netDir = "C:\\Net";
    os.files.WriteText("C:\\Net\\HalomirPlandrix.lst", "");
    os.files.WriteText("C:\\Net\\wsetup.ini", "[Setup]\r\nMolvexInstallStatus=Updating\r\n");
  };
  EXPECT_TRUE(Check(lan) == SettingsCheck::NeedsDialog && Box().find("not yet finished") != std::string::npos);
  EXPECT_TRUE(Check([](auto& s, auto&) { s.installMode = kCdWorkstation; }) == SettingsCheck::Accepted);
  EXPECT_TRUE(Check([](auto& s, auto&) { s.netDir = ""; }) == SettingsCheck::NeedsDialog && dialog.focus == 1004);
}

TEST_F(CheckSettingsTest, MachineRefusalsEndTheDialogWithTheirText) {
  const struct { Arrange setup; const char* text; uint32_t type = 0x10000; } cases[] = {
      {[](auto& s, auto&) { s.osCode = 4; }, "The operating system on this computer is not supported"},
      {[](auto& s, auto&) { s.osCode = 5, s.productLine = "FYNDRA"; }, "The operating system on this computer"},
      {[](auto&, auto& os) { os.desktop.osVersion = {4, 0, 1381, 2, "Service Pack 4", 4}; }, "This program requires Service Pack 5"},
      {[](auto&, auto& os) {
         os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\Internet Explorer", "Version", "5.00.2919.6306");
       }, "This program requires Internet Explorer 5.01"},
      {[](auto& s, auto&) { s.canWriteMachineKeys = false; }, "You must have Administrator"},
      {[](auto& s, auto& os) {  // what satisfies the other lines' data access is too old for DORVAL5
         s.productLine = "DORVAL5", s.hasAdminRights = false;
         os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\DataAccess", "FullInstallVer", "2.60.6526.3");
       }, "You must have Administrator"},
      {[](auto& s, auto& os) {
         s.productLine = "DORVAL5";
         os.registry.PutString(Hive::LocalMachine, "Software\\DORVAL\\GEN\\4.0", "x", "");
       }, "You first have to uninstall the previous version"},
      {[](auto& s, auto& os) {
         s.productLine = "FYNDRA";
         os.registry.DeleteKey(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters",
                               sys::RegistryView::Native);
       }, "Before you can start this installation, you first have to install the Internet Information Services"},
      {[](auto& s, auto&) { s.productLine = "Halomir.NET", s.release = "239"; }, "Certain functionality, like web services, will not be working since you don't have Microsoft .Net Framework 2.0", 0x10030},
      {[](auto& s, auto&) { s.productLine = "Halomir.NET", s.release = "240"; }, "Certain functionality, like web services, will not be working since you don't have Microsoft .Net Framework 3.5", 0x10030},
      {[](auto& s, auto&) { s.productLine = "Halomir.NET", s.release = "DEV"; }, "Certain functionality, like web services, will not be working since you don't have Microsoft .Net Framework 3.5", 0x10030},
  };
  for (const auto& c : cases) {
    ResetSessionState(), SetUp();
    if (c.type != 0x10000)  // a framework before 3.5 SP1
      os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5", "Version", "3.5.21022.8");
    EXPECT_EQ(Check(c.setup), SettingsCheck::Stop) << c.text;
    EXPECT_EQ(Box().rfind(c.text, 0), 0u) << Box();
    EXPECT_TRUE(dialog.ended == 2 && os.desktop.boxes.back().type == c.type) << c.text;
  }
}

TEST_F(CheckSettingsTest, AnOpenSpreadsheetOrTheBrowserSettingStopsButLeavesTheDialogOpen) {
  os.processes.windows.push_back({"XLMAIN", "", 5});
  EXPECT_EQ(Check([](auto& s, auto&) { s.productLine = "QS2000"; }), SettingsCheck::Stop);
  EXPECT_EQ(Box(), "Cannot start the workstation installation.\r\n\r\nFirst close: Microsoft Excel");
  EXPECT_TRUE(os.desktop.boxes[0].owner == 0 && os.desktop.boxes[0].caption == "Caption" && dialog.ended == 0);
  int notice = 0;
  Stages().showNotice = [&](int id) { return notice = id; };
  os.registry.PutDword(Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                       "DisableCachingOfSSLPages", 1);
  EXPECT_EQ(Check([](auto& s, auto&) { s.productLine = "FNC"; }), SettingsCheck::Stop);  // FNC may keep Excel open
  EXPECT_TRUE(notice == 116 && dialog.ended == 0);
  Stages() = StartupStages{};
}

TEST_F(CheckSettingsTest, AcceptedSettingsGetRegistrationFieldsPrerequisitesAndTheFatNotice) {
  os.files.AddVolume("C:\\", fakes::VolumeFacts{"FAT32"});
  EXPECT_EQ(Check([](auto&, auto&) {}), SettingsCheck::Accepted);
  EXPECT_TRUE(Session().contact == "NA" && Session().title == "NA" && Session().gender == "Male");
  EXPECT_FALSE(Prerequisites().dataAccessNeedsInstall || Prerequisites().reportRuntimeMissing);
  EXPECT_TRUE(Placement().installDirOnFat && !Placement().netDirOnFat && dialog.ended == 1);
  EXPECT_TRUE(Box().find("FAT or FAT32") != std::string::npos && os.desktop.boxes[0].caption.empty());
  // Modes 5 and 7 skip the machine (here a refused system) but still get the notice.
  for (int32_t mode : {kCdCreation, kCdNetwork}) {
    auto cd = [mode](SessionSettings& s, FakeOs&) { s.installMode = mode, s.osCode = 4, s.netDir = "D:\\"; };
    EXPECT_TRUE(Check(cd) == SettingsCheck::Accepted && Box().find("FAT or FAT32") != std::string::npos);
  }
  EXPECT_TRUE(Check([](auto& s, auto&) { s.netDir = ""; }, false) == SettingsCheck::NeedsDialog && os.desktop.boxes.empty());
}

TEST_F(CheckSettingsTest, AWebLineKeepsClearOfTheOtherWebLinesVirtualDirectory) {
  WebLines& stored = StoredWebLines();
  os.registry.PutString(Hive::Users, kDotNetWebMachineKey, "x", "");
  auto classic = [](const char* dir, bool editable, bool noCheck) {
    return [=](SessionSettings& s, FakeOs&) {
      s.productLine = "FYNDRA", s.virtualDir = dir, s.productLineEditable = editable, s.noCheck = noCheck;
    };
  };
  EXPECT_TRUE(Check(classic("", false, false)) == SettingsCheck::Stop && dialog.ended == 2);
  EXPECT_EQ(Box(), "You have to uninstall Molvex Halomir Enterprise first.");
  stored.dotNetVirtualDir = "HalomirNet";
  EXPECT_TRUE(Check(classic("halomirnet", false, true)) == SettingsCheck::NeedsDialog && dialog.ended == 0);
  EXPECT_EQ(Box(), "Virtual directory already exists. Please rename: halomirnet");
  stored.webLineFromDialog = true;  // typed into the dialog: no second message
  EXPECT_TRUE(Check(classic("halomirnet", false, true)) == SettingsCheck::NeedsDialog && os.desktop.boxes.empty());
  // A build that may change the line renames, refusing only the other line's directory.
  EXPECT_EQ(Check(classic("HALOMIRNET", true, false)), SettingsCheck::NeedsDialog);
  EXPECT_NE(Box().find("Or you can use /nocheck"), std::string::npos);
  EXPECT_EQ(Check(classic("", true, false)), SettingsCheck::Accepted);
  EXPECT_TRUE(Session().virtualDir == "Halomir" && stored.classicVirtualDir == "Halomir" && Session().noCheck);
  os.registry.PutString(Hive::Users, kClassicWebMachineKey, "x", "");
  EXPECT_EQ(Check([](auto& s, auto&) { s.productLine = "Halomir.NET", s.virtualDir = "", s.noCheck = false; }),
            SettingsCheck::Accepted);
  EXPECT_TRUE(Session().virtualDir == "HalomirNet" && Session().noCheck);
}

}  // namespace

// The settings check: what each step answers, shows and does to the dialog.
#include <gtest/gtest.h>

#include <functional>

#include "platform/websetup.h"
#include "app/checkfields.h"
#include "app/checksettings.h"
#include "app/weblines.h"
#include "capablemachine.h"
#include "install/placementstate.h"
#include "install/prerequisites.h"
#include "session/session.h"

namespace {

using sys::Hive;
using Arrange = std::function<void(SessionSettings&, FakeOs&)>;

// Records the focus and the end; the check touches no other control.
class RecordedDialog : public DialogControls {
 public:
  sys::WindowId Window() const override { return 77; }
  void Focus(int id) override { focus = id; }
  void End(int result) override { ended = result; }
  int focus = 0, ended = 0;
  std::string Text(int) const override { return {}; }
  bool Checked(int) const override { return false; }
  int FindItem(int, std::string_view) const override { return -1; }
  int Selection(int) const override { return -1; }
  void SetText(int, std::string_view) override {}
  void AddItem(int, std::string_view) override {}
  void Show(int, bool) override {}
  void Enable(int, bool) override {}
  void SetReadOnly(int, bool) override {}
  void SetChecked(int, bool) override {}
  void ClearItems(int) override {}
  void Select(int, int) override {}
  void MakeDropDownList(int) override {}
};

class CheckSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSessionState();
    os.desktop.UseProductStrings();
    MakeCapableMachine(os);
    SessionSettings& s = Session();
    s.productLine = "FNC", s.release = "30052", s.webSite = "https://updates.example", s.installDir = "C:\\Fin";
    s.osCode = 9, s.isNtFamily = s.hasAdminRights = s.canWriteMachineKeys = true, s.captionText = "Caption";
  }
  SettingsCheck Check(const Arrange& arrange, bool withWindow = true) {
    arrange(Session(), os);
    dialog = RecordedDialog{};
    os.desktop.boxes.clear();
    return CheckSettings(withWindow ? &dialog : nullptr);
  }
  std::string Box() const { return os.desktop.boxes.empty() ? "<none>" : os.desktop.boxes.back().text; }
  bool Shows(const std::string& part) const { return Box().find(part) != std::string::npos; }

  FakeOs os;
  RecordedDialog dialog;
};

TEST_F(CheckSettingsTest, FieldFailuresPointAtTheirControlAndShowNothingWithoutAWindow) {
  const struct { Arrange arrange; const char* label; int control; } cases[] = {
      {[](auto& s, auto&) { s.productLine = ""; }, "Product line", 1000},
      {[](auto& s, auto&) { s.release = ""; }, "Release", 1001},
      {[](auto& s, auto&) { s.webSite = ""; }, "Web site", 1006},
      {[](auto& s, auto&) { s.installMode = kLanWorkstation, s.netDir = "C:\\Net"; }, "Path to network installation", 1006},
      {[](auto& s, auto&) { s.installDir = "C:Fin"; }, "Installation directory", 1007},
  };
  for (const auto& c : cases) {
    SetUp();
    EXPECT_EQ(Check(c.arrange), SettingsCheck::NeedsDialog) << c.label;
    EXPECT_EQ(Box(), std::string("The following data is invalid: ") + c.label);
    EXPECT_TRUE(os.desktop.boxes[0].owner == 77 && os.desktop.boxes[0].type == 0x10000 && dialog.ended == 0);
    EXPECT_EQ(dialog.focus, c.control);
    EXPECT_TRUE(Check(c.arrange, false) == SettingsCheck::NeedsDialog && os.desktop.boxes.empty()) << c.label;
  }
  EXPECT_EQ(Session().installDir, "C:Fin");  // the value typed stays
  for (const char* good : {"\\\\srv\\share", "C:\\Fin", "d:\\"}) EXPECT_TRUE(IsWellFormedFolder(good)) << good;
  for (const char* bad : {"C:", "C:Fin", "X", "\\Fin"}) EXPECT_FALSE(IsWellFormedFolder(bad)) << bad;
}

TEST_F(CheckSettingsTest, MachineRefusalsEndTheDialogWithTheirText) {
  auto machine = [](const char* key, const char* name, const char* value) {
    return [=](SessionSettings&, FakeOs& os) { os.registry.PutString(Hive::LocalMachine, key, name, value); };
  };
  const struct { Arrange arrange; const char* line; const char* text; } cases[] = {
      {[](auto& s, auto&) { s.osCode = 4; }, "FNC", "The operating system on this computer is not supported"},
      {[](auto&, auto& os) { os.desktop.osVersion = {4, 0, 1381, 2, "Service Pack 4", 4}; }, "FNC", "This program requires Service Pack 5"},
      {machine("Software\\Microsoft\\Internet Explorer", "Version", "5.00.2919.6306"), "FNC", "This program requires Internet Explorer"},
      {[](auto& s, auto&) { s.canWriteMachineKeys = false; }, "FNC", "You must have Administrator"},
      // What satisfies the other lines' data access is too old for DORVAL5.
      {[&](auto& s, auto& os) { s.hasAdminRights = false, machine("Software\\Microsoft\\DataAccess", "FullInstallVer", "2.60.6526.3")(s, os); },
       "DORVAL5", "You must have Administrator"},
      {[](auto&, auto&) {}, "FYNDRA", "Before you can start this installation, you first have to install the Internet"},
  };
  for (const auto& c : cases) {
    os.desktop.osVersion = fakes::FakeDesktop{}.osVersion;
    SetUp();
    Session().productLine = c.line;
    EXPECT_TRUE(Check(c.arrange) == SettingsCheck::Stop && dialog.ended == 2 && Box().rfind(c.text, 0) == 0) << Box();
  }
  // Without .NET 3.5 SP1 the .NET web line names the framework its release was built for.
  machine("SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "x", "")(Session(), os);
  machine("Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5", "Version", "3.5.21022.8")(Session(), os);
  for (auto [release, framework] : {std::pair{"239", "2.0"}, {"240", "3.5 SP1"}, {"DEV", "3.5 SP1"}}) {
    EXPECT_EQ(Check([&](auto& s, auto&) { s.productLine = "Halomir.NET", s.release = release; }), SettingsCheck::Stop);
    EXPECT_TRUE(Shows(std::string("Microsoft .Net Framework ") + framework + " installed") && dialog.ended == 2) << release;
    EXPECT_TRUE(os.desktop.boxes[0].type == 0x10030 && os.desktop.boxes[0].caption == "Caption");
  }
}

TEST_F(CheckSettingsTest, AnOpenSpreadsheetStopsButLeavesTheDialogOpen) {
  os.processes.windows.push_back({"XLMAIN", "", 5});
  EXPECT_EQ(Check([](auto& s, auto&) { s.productLine = "QS2000"; }), SettingsCheck::Stop);
  EXPECT_EQ(Box(), "Cannot start the workstation installation.\r\n\r\nFirst close: Microsoft Excel");
  EXPECT_TRUE(os.desktop.boxes[0].owner == 0 && os.desktop.boxes[0].caption == "Caption" && dialog.ended == 0);
}

TEST_F(CheckSettingsTest, AcceptedSettingsGetRegistrationFieldsPrerequisitesAndTheFatNotice) {
  os.files.AddVolume("C:\\", fakes::VolumeFacts{"FAT32"});
  EXPECT_EQ(Check([](auto&, auto&) {}), SettingsCheck::Accepted);
  EXPECT_TRUE(Session().contact == "NA" && Session().title == "NA" && Session().gender == "Male");
  EXPECT_FALSE(Prerequisites().dataAccessNeedsInstall || Prerequisites().reportRuntimeMissing);
  EXPECT_TRUE(Placement().installDirOnFat && dialog.ended == 1 && Shows("FAT or FAT32"));
  // Modes 5 and 7 skip the machine (here a refused system) but still get the notice.
  for (int32_t mode : {kCdCreation, kCdNetwork}) {
    auto cd = [mode](SessionSettings& s, FakeOs&) { s.installMode = mode, s.osCode = 4, s.netDir = "D:\\"; };
    EXPECT_TRUE(Check(cd) == SettingsCheck::Accepted && Shows("FAT or FAT32"));
  }
}

TEST_F(CheckSettingsTest, AWebLineKeepsClearOfTheOtherWebLinesVirtualDirectory) {
  StoredWebLines() = WebLines{"", "HalomirNet"};
  os.registry.PutString(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "x", "");
  os.registry.PutString(Hive::Users, kHalomirNetMarkerKey, "x", "");
  auto classic = [](const char* dir, bool editable, bool noCheck) {
    return [=](SessionSettings& s, FakeOs&) {
      s.productLine = "FYNDRA", s.virtualDir = dir, s.productLineEditable = editable, s.noCheck = noCheck;
    };
  };
  EXPECT_TRUE(Check(classic("", false, false)) == SettingsCheck::Stop && dialog.ended == 2);
  EXPECT_EQ(Box(), "You have to uninstall Molvex Halomir Enterprise first.");
  EXPECT_TRUE(Check(classic("halomirnet", false, true)) == SettingsCheck::NeedsDialog && dialog.ended == 0);
  EXPECT_EQ(Box(), "Virtual directory already exists. Please rename: halomirnet");
  // A build that may change the line renames, refusing only the other line's directory.
  EXPECT_TRUE(Check(classic("HALOMIRNET", true, false)) == SettingsCheck::NeedsDialog && Shows("/nocheck"));
  EXPECT_EQ(Check(classic("", true, false)), SettingsCheck::Accepted);
  EXPECT_TRUE(Session().virtualDir == "Halomir" && StoredWebLines().classicVirtualDir == "Halomir" && Session().noCheck);
}

}  // namespace

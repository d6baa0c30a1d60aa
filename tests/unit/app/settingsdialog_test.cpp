// The settings dialog's model on a recorded form: opening per build, the controls per
// mode, OK's field rules and the web lines' virtual directory.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/websetup.h"
#include "app/dialogcontrols.h"
#include "app/settingsdialog.h"
#include "app/weblines.h"
#include "fakes/fake_os.h"
#include "session/session.h"

namespace {

using sys::Hive;

struct Control {
  std::string text;
  bool shown = true, enabled = true, readOnly = false, checked = false, dropDownList = false;
  std::vector<std::string> items;
  int selected = -1;
};

// The controls as a user would see them; a combo box shows its selected entry.
class Form : public DialogControls {
 public:
  Form() { c[1004].enabled = c[1025].enabled = c[1047].enabled = false, c[1040].shown = false; }
  mutable std::map<int, Control> c;
  sys::WindowId Window() const override { return 5; }
  std::string Text(int id) const override { return c[id].text; }
  void SetText(int id, std::string_view text) override { c[id].text = text; }
  void Show(int id, bool shown) override { c[id].shown = shown; }
  void Enable(int id, bool enabled) override { c[id].enabled = enabled; }
  void SetReadOnly(int id, bool readOnly) override { c[id].readOnly = readOnly; }
  bool Checked(int id) const override { return c[id].checked; }
  void SetChecked(int id, bool checked) override { c[id].checked = checked; }
  void AddItem(int id, std::string_view text) override { c[id].items.emplace_back(text); }
  void ClearItems(int id) override { c[id].items.clear(), c[id].selected = -1; }
  int FindItem(int id, std::string_view text) const override {
    for (std::size_t i = 0; i < c[id].items.size(); ++i) if (c[id].items[i] == text) return static_cast<int>(i);
    return -1;
  }
  int Selection(int id) const override { return c[id].selected; }
  void Select(int id, int position) override {
    c[id].selected = position;
    if (position >= 0) c[id].text = c[id].items.at(position);
  }
  void MakeDropDownList(int id) override { c[id].dropDownList = true; }
  void Focus(int) override {}  // the check's; it is not run here
  void End(int) override {}
};

class SettingsDialogTest : public ::testing::Test {
 protected:
  void Open(StringTableBuild build, const std::function<void(SessionSettings&)>& arrange) {
    ResetSessionState();
    StoredWebLines() = WebLines{};
    os.desktop.UseProductStrings(build);
    SessionSettings& s = Session();
    s.productLine = "QS2003E", s.release = "32000", s.releaseList = "\t30052\t30100\r", s.installDir = "C:\\Fin";
    s.webSite = "https://site", s.netDir = "\\\\srv\\net", s.language = "NL", s.country = "  ";
    arrange(s);
    form = Form{};
    OpenSettingsDialog(form);
  }
  FakeOs os;
  Form form;
};

TEST_F(SettingsDialogTest, ThisBuildShowsItsProductFixedAndKeepsAModeItsListLacks) {
  Open(StringTableBuild::kFnc, [](SessionSettings& s) {
    s.productLine = "FNC", s.productLineEditable = s.releaseEditable = false;
    s.installMode = kInternetNetworkUpdate, s.programVersion = {17, 0, 3, 65535};
  });
  EXPECT_TRUE(form.c[1000].text == "Fennic Duziderav" && form.c[1000].readOnly);
  EXPECT_EQ(form.c[1001].items, (std::vector<std::string>{"30052", "30100", "32000"}));  // the release is added
  EXPECT_TRUE(form.c[1001].selected == 2 && form.c[1001].dropDownList);
  // One mode and one update mode; mode 2 has no entry to select.
  EXPECT_TRUE(form.c[1004].items.size() + form.c[1025].items.size() == 2u && form.c[1004].selected == -1);
  EXPECT_FALSE(form.c[1029].shown || form.c[1031].shown || form.c[1022].shown || form.c[1021].shown);
  EXPECT_EQ(form.c[1015].text, "17.0.3.-1");
  ReadSettingsDialog(form);
  EXPECT_TRUE(Session().installMode == kInternetNetworkUpdate && Session().productLine == "FNC");
}

TEST_F(SettingsDialogTest, ControlsFollowTheInstallMode) {
  const struct { int mode; const char* sourceLabel; bool release, credentials, updateMode, source, language;
                 const char* installDir; } rows[] = {
      {0, "Web site", true, true, true, true, true, "C:\\Fin"},
      {1, "Web site", true, true, true, true, true, ""},
      {3, "Path to network installation", false, false, false, true, false, "C:\\Fin"},
      {5, "Web site", true, true, false, true, true, "C:\\Fin"},
      {6, "Path to network installation", false, false, false, false, false, "C:\\Fin"},
      {7, "Path to network installation", false, false, false, false, false, ""},
  };
  for (const auto& row : rows) {
    Open(StringTableBuild::kGeneric, [&](SessionSettings& s) { s.installMode = row.mode; });
    auto& c = form.c;
    EXPECT_EQ(c[1005].text, row.sourceLabel) << row.mode;
    EXPECT_EQ(c[1006].text, row.sourceLabel[0] == 'P' ? "\\\\srv\\net" : "https://site");
    EXPECT_EQ(c[1001].shown && c[3].shown, row.release) << row.mode;
    EXPECT_EQ(c[1010].shown && c[1009].shown && c[1013].shown, row.credentials) << row.mode;
    EXPECT_TRUE(c[1025].shown == row.updateMode && c[1006].shown == row.source) << row.mode;
    EXPECT_EQ(c[1029].shown && c[1031].shown, row.language) << row.mode;
    EXPECT_EQ(c[1007].text, row.installDir) << row.mode;
    EXPECT_TRUE(c[1004].selected == row.mode && c[1027].shown && !c[1022].shown && !c[1021].shown);
  }
}

TEST_F(SettingsDialogTest, OkTrimsCutsAndStoresLanguageCodesOnlyForItsLines) {
  Open(StringTableBuild::kGeneric, [](SessionSettings& s) { s.contact = "Ann", s.help = 1; });
  EXPECT_EQ(form.c[1029].text, "Dutch");
  EXPECT_TRUE(form.c[1021].checked && form.c[1029].enabled);  // hidden, but it holds the stored choice
  form.c[1010].text = " \tann ", form.c[1013].text = "\tdom  ", form.c[1001].text = std::string(25, '9');
  form.Select(1029, 0), form.Select(1031, 3), form.c[1021].checked = false, form.c[1007].text = "D:\\New";
  ReadSettingsDialog(form);
  const SessionSettings& s = Session();
  EXPECT_TRUE(s.userName == "ann" && s.domain == "dom" && s.release == std::string(19, '9'));
  EXPECT_TRUE(s.language == "  " && s.country == "NL" && s.help == 0 && s.installDir == "D:\\New");
  EXPECT_TRUE(s.contact.empty());  // the check fills the registration fields

  form.c[1000].text = "Tallyo";
  ReadSettingsDialog(form);
  EXPECT_TRUE(s.productLine == "Tallyo" && s.language.empty() && s.country.empty());
}

TEST_F(SettingsDialogTest, WebLinesTakeTheStoredVirtualDirectoryOrAskForIt) {
  const struct { bool typed; const char* stored; bool keyExists; const char* field; const char* expected; } rows[] = {
      {false, "Shop", true, "Typed", "Shop"},  {false, "", true, "Typed", "Typed"},
      {false, "Shop", false, "Typed", "Typed"}, {true, "Shop", true, "Typed", "Shop"},
      {true, "", false, "Typed", "Typed"},     {true, "", false, "", "Halomir"},
  };
  for (const auto& row : rows) {
    os.registry.DeleteKey(Hive::Users, kFyndraMarkerKey, sys::RegistryView::Native);
    if (row.keyExists) os.registry.PutString(Hive::Users, kFyndraMarkerKey, "Owner", "x");
    Open(StringTableBuild::kGeneric, [&](SessionSettings& s) {
      s.productLine = row.typed ? "QS2003E" : "FYNDRA", s.productLineEditable = row.typed, s.noCheck = true;
      StoredWebLines().classicVirtualDir = row.stored;
    });
    form.c[1000].text = "FYNDRA", form.c[1044].text = row.field;
    ReadSettingsDialog(form);
    EXPECT_EQ(Session().virtualDir, row.expected) << row.stored << row.typed;
    bool asked = !row.keyExists || std::string(row.stored).empty();
    EXPECT_TRUE(form.c[1047].shown && form.c[1044].shown == asked) << row.stored << row.typed;
  }
}

}  // namespace

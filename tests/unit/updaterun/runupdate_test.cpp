// The update run from a network installation: analysis, confirmation, placement, the
// second list, and what a run leaves for the driver. Internet modes are covered where
// transfers are tested; here the items are copied, so the whole run stays in the fake.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/log.h"
#include "session/session.h"
#include "session/progressstate.h"
#include "session/knownplaces.h"
#include "filelist/listdate.h"
#include "updaterun/runstate.h"
#include "updaterun/updaterun.h"

namespace {

constexpr const char* kNetDir = "\\\\srv\\share\\Fin";
constexpr const char* kInstallDir = "C:\\Fin";

std::string Record(const std::string& code, const std::string& name, size_t size, const std::string& folder) {
  return code + "\t17\t" + name + "\t" + std::to_string(size) + "\t24-12-2025 10:30:00\t" + folder + "\t0\r\n";
}

class UpdateRunFromShare : public ::testing::Test {
 protected:
  void SetUp() override {
    os.files.AddVolume("\\\\srv\\share");
    os.desktop.UseProductStrings();
    Session().installMode = kLanWorkstation;
    Session().productLine = "FNC";
    Session().installDir = kInstallDir;
    Session().netDir = kNetDir;
    Session().unattended = true;
    Session().silent = true;
    Session().isNtFamily = true;
    Session().hasAdminRights = true;
    Places().tempFolder = "C:\\Temp\\";
    Places().systemFolder = "C:\\Windows\\system32";
    Places().documentsFolder = "C:\\Users\\tester\\Documents";
    os.files.MakeDirectories("C:\\Temp");
    ResetUpdateRunState();
    ResetProgressState();
  }
  ~UpdateRunFromShare() override { CloseLog(); }

  void Publish(const std::string& name, const std::string& folder, const std::string& bytes) {
    os.files.WriteText(std::string(kNetDir) + "\\" + folder + "\\" + name, bytes);
  }
  // The installation folder does not exist when the run starts, so its log begins in the
  // documents folder.
  std::string Log() { return os.files.ReadText("C:\\Users\\tester\\Documents\\Plandrix.log").value_or(""); }

  FakeOs os;
};

TEST_F(UpdateRunFromShare, EveryItemIsPlacedWithItsListDate) {
  std::string list;
  for (int i = 0; i < 12; ++i) {
    std::string name = "f" + std::to_string(i) + ".txt";
    Publish(name, "bin", "bytes of " + name);
    list += Record("CSFNC_" + std::to_string(i), name, ("bytes of " + name).size(), "bin");
  }
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst", list);

  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(Results().runCompleted);
  EXPECT_FALSE(Results().nothingInstalled);
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\f11.txt"), "bytes of f11.txt");
  EXPECT_EQ(os.files.TimesOf("C:\\Fin\\bin\\f3.txt")->lastWrite, ParseListDate("24-12-2025 10:30:00"));
  std::string log = Log();
  EXPECT_NE(log.find("C:\\Fin\\bin\\f0.txt ---> OK"), std::string::npos);
  EXPECT_NE(log.find("Start installation"), std::string::npos);
  EXPECT_EQ(Progress().copyPhase, true);  // a LAN installation counts copied bytes
}

TEST_F(UpdateRunFromShare, OnlyTheLinesOwnItemsAreInstalled) {
  Publish("own.txt", "bin", "own");
  Publish("other.txt", "bin", "other");
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst",
                     Record("CSFNC_OWN", "own.txt", 3, "bin") + Record("CSFNS_OTHER", "other.txt", 5, "bin"));
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\own.txt"));
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\other.txt"));
}

TEST_F(UpdateRunFromShare, AHostileFolderPlacesNothingOutsideTheInstallation) {
  Publish("x.dll", "bin", "x");
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst",
                     Record("CSFNC_A", "x.dll", 1, "..\\..\\Windows") + Record("CSFNC_B", "x.dll", 1, "C:\\Windows") +
                         Record("CSFNC_C", "x.dll", 1, "bin"));
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\x.dll"));
  EXPECT_FALSE(os.files.Exists("C:\\Windows\\x.dll"));
  for (const std::string& path : os.files.AllPaths())
    if (sys::EndsWithNoCase(path, "x.dll"))
      EXPECT_TRUE(path == "C:\\Fin\\bin\\x.dll" || path.rfind("\\\\srv", 0) == 0) << path;
  EXPECT_NE(Log().find("..\\..\\Windows"), std::string::npos);
}

TEST_F(UpdateRunFromShare, AnEmptyListInstallsNothingAndSaysSo) {
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst", "no record ends here");
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(Results().nothingInstalled);
  EXPECT_TRUE(Results().runCompleted);
  EXPECT_NE(Log().find(LoadText(110)), std::string::npos);
  EXPECT_EQ(Log().find("Start installation"), std::string::npos);
}

TEST_F(UpdateRunFromShare, ASecondListBesideTheFirstIsInstalledOnceMore) {
  Publish("a.txt", "bin", "a");
  Publish("b.txt", "bin", "b");
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst", Record("CSFNC_A", "a.txt", 1, "bin"));
  os.files.WriteText(std::string(kNetDir) + "\\Tallyo.lst", Record("CSFNC_B", "b.txt", 1, "bin"));
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\a.txt"));
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\b.txt"));
  EXPECT_TRUE(UpdateRun().tallyoPass);
}

TEST_F(UpdateRunFromShare, TheSiteRefusalReturnsToTheSettings) {
  Session().silent = false;
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst", "__ERROR__No such release\r\n");
  os.desktop.QueueAnswers({sys::answer::kOk});
  EXPECT_FALSE(RunUpdate());
  EXPECT_TRUE(Results().returnToSettings);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, "No such release\r\n");
}

TEST_F(UpdateRunFromShare, AnalysisCountsInStepsOfTen) {
  std::vector<std::string> shown;
  static std::vector<std::string>* sink = nullptr;
  sink = &shown;
  SetProgressRefresher([] { sink->push_back(Progress().itemLine.str()); });
  std::string list;
  for (int i = 0; i < 23; ++i) list += Record("CSFNC_" + std::to_string(i), "n" + std::to_string(i), 0, "DoNotParse");
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst", list);
  RunUpdate();
  SetProgressRefresher(nullptr);
  std::vector<std::string> counts;
  for (const std::string& line : shown)
    if (line.find(" " + LoadText(147) + " 23") != std::string::npos) counts.push_back(line);
  ASSERT_EQ(counts.size(), 3u);
  EXPECT_NE(counts[0].find(" 10 "), std::string::npos);
  EXPECT_NE(counts[2].find(" 23 "), std::string::npos);
}

}  // namespace

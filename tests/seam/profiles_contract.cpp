// INI files through the profile calls: names without letter case, blanks and one pair
// of quotes taken off values, the caller's capacity, leading digits as numbers, writes
// that make the file and section, no value deleting the key, files held open that refuse writing.
#include <optional>

#include "seam/contract.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"

namespace {

sys::Profiles& Profiles() { return *sys::os().profiles; }
using Text = std::optional<std::string>;

SEAM_CHECK(ProfilesReadTrimsQuotesAndNamesWithoutCase) {
  const std::string ini = sys::JoinPath(bench.folder, "wsetup.ini");
  seam::WriteFile(ini,
                  "[Other]\r\nRelease=wrong\r\n"
                  "[setup]\r\n"
                  "  Release  =   17.1  \r\n"
                  "WebSite=\"http://site/ \"\n"
                  "Single='x'\r\n"
                  "Half=\"open\r\n"
                  "Empty=\r\n"
                  "Mode= 4 \r\nMixed=12abc\r\nWord=abc\r\n");
  SEAM_EQ(Profiles().GetString(ini, "SETUP", "release", "", 260), "17.1");
  SEAM_EQ(Profiles().GetString(ini, "Setup", "WebSite", "", 260), "http://site/ ");
  SEAM_EQ(Profiles().GetString(ini, "Setup", "Single", "", 260), "x");
  SEAM_EQ(Profiles().GetString(ini, "Setup", "Half", "", 260), "\"open");
  SEAM_EQ(Profiles().GetString(ini, "Setup", "Empty", "def", 260), "");
  SEAM_EQ(Profiles().GetString(ini, "Setup", "Missing", "def", 260), "def");
  SEAM_EQ(Profiles().GetString(sys::JoinPath(bench.folder, "none.ini"), "Setup", "Release", "dflt", 260), "dflt");
  SEAM_EQ(Profiles().GetString(ini, "Setup", "Release", "", 3), "17");
  SEAM_EQ(Profiles().GetInt(ini, "Setup", "Mode", 9), 4);
  SEAM_EQ(Profiles().GetInt(ini, "Setup", "Mixed", 9), 12);
  SEAM_EQ(Profiles().GetInt(ini, "Setup", "Word", 9), 0);
  SEAM_EQ(Profiles().GetInt(ini, "Setup", "Empty", 9), 9);
  SEAM_EQ(Profiles().GetInt(ini, "Setup", "Missing", 9), 9);
}

SEAM_CHECK(ProfilesWritesMakeFileAndSectionAndReplaceInPlace) {
  const std::string ini = sys::JoinPath(bench.folder, "made.ini");
  SEAM_EQ(Profiles().WriteString(ini, "Setup", Text("Release"), Text("17.0")), sys::err::kSuccess);
  Profiles().WriteString(ini, "SETUP", Text("RELEASE"), Text("17.1"));
  Profiles().WriteString(ini, "setup", Text("Mode"), Text("3"));
  Profiles().WriteString(ini, "Other", Text("A"), Text("1"));
  SEAM_EQ(Profiles().GetKeys(ini, "SETUP"), (std::vector<std::string>{"Release", "Mode"}));
  SEAM_EQ(Profiles().GetString(ini, "Setup", "Release", "", 260), "17.1");
  SEAM_EQ(Profiles().GetString(ini, "Other", "a", "", 260), "1");
  SEAM_EQ(Profiles().WriteString(sys::JoinPath(bench.folder, "none\\x.ini"), "S", Text("k"), Text("v")),
          sys::err::kPathNotFound);
}

SEAM_CHECK(ProfilesWritingNothingDeletesTheKey) {
  const std::string ini = sys::JoinPath(bench.folder, "delete.ini");
  seam::WriteFile(ini, "[Setup]\r\nRelease=17.0\r\nMode=3\r\n");
  Profiles().WriteString(ini, "Setup", Text("release"), std::nullopt);
  SEAM_EQ(Profiles().GetKeys(ini, "Setup"), std::vector<std::string>{"Mode"});
  // Deleting from a file that does not exist makes no file.
  const std::string none = sys::JoinPath(bench.folder, "none.ini");
  SEAM_EQ(Profiles().WriteString(none, "S", Text("k"), std::nullopt), sys::err::kSuccess);
  SEAM_EQ(sys::os().files->GetAttributes(none).error, sys::err::kFileNotFound);
}

SEAM_CHECK(ProfilesBareNamesLiveInTheWindowsFolder) {
  const std::string name = "pdx" + bench.key.substr(bench.key.rfind('\\') + 1, 5) + ".ini";
  SEAM_EQ(Profiles().WriteString(name, "rename", Text("NUL"), Text("C:\\App\\old.dll")), sys::err::kSuccess);
  const std::string inWindows = sys::JoinPath(sys::os().desktop->GetWindowsFolder(), name);
  SEAM_EQ(Profiles().GetString(inWindows, "rename", "NUL", "", 260), "C:\\App\\old.dll");
}

SEAM_CHECK(ProfilesHeldFilesRefuseWrites) {
  const std::string ini = sys::JoinPath(bench.folder, "held.ini");
  seam::WriteFile(ini, "[Setup]\r\n");
  bench.HoldOpen(ini);
  SEAM_EQ(Profiles().WriteString(ini, "Setup", Text("k"), Text("v")), sys::err::kSharingViolation);
  bench.Release();
  SEAM_EQ(seam::ReadFile(ini), "[Setup]\r\n");
}

}  // namespace

#include "filelist/flashfolder.h"

#include <optional>
#include <string_view>

#include "session/pathtext.h"
#include "sys/automation.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry_helpers.h"
#include "session/knownplaces.h"

// The control is registered as an in-process server: the default value of
// HKEY_CLASSES_ROOT\CLSID\<class>\InprocServer32 names its file
// ("...\Macromed\Flash\Flash10a.ocx"), not its folder. The rule that turns that value
// into the folder:
//   1. the value, cut to 255 bytes, with surrounding blanks and one pair of surrounding
//      double quotes removed;
//   2. %SystemRoot%, %windir%, %ProgramFiles% and %CommonProgramFiles% (any letter case)
//      replaced by the known places; any other %...% makes the value unusable, since the
//      program does not guess at environment variables;
//   3. the value must be a full path: a drive letter, colon and backslash, or "\\" and a
//      server; a bare file name (found through the search path) is unusable;
//   4. when the value names a directory it is the folder; otherwise the folder is the
//      text before its last backslash;
//   5. that folder must exist as a directory.
// Anything unusable leaves the fallback below, so every caller sees a real folder.

namespace {

constexpr const char* kFlashProgramId = "ShockwaveFlash.ShockwaveFlash";
constexpr const char* kFlashFallbackSubFolder = "macromed\\flash";
constexpr std::size_t kValueCapacity = 256;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

std::optional<std::string> PlaceOfVariable(std::string_view name) {
  const KnownPlaces& places = Places();
  if (sys::EqualsNoCase(name, "SystemRoot") || sys::EqualsNoCase(name, "windir")) return places.windowsFolder;
  if (sys::EqualsNoCase(name, "ProgramFiles")) return places.programFilesFolder;
  if (sys::EqualsNoCase(name, "CommonProgramFiles")) return places.commonFilesFolder;
  return std::nullopt;
}

std::optional<std::string> ExpandKnownVariables(std::string_view text) {
  std::string expanded;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] != '%') {
      expanded += text[at++];
      continue;
    }
    const std::size_t close = text.find('%', at + 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::optional<std::string> place = PlaceOfVariable(text.substr(at + 1, close - at - 1));
    if (!place || place->empty()) return std::nullopt;
    expanded += *place;
    at = close + 1;
  }
  return expanded;
}

bool IsFullPath(std::string_view path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
  return drive || unc;
}

std::optional<std::string> FolderOfServerValue(std::string_view value) {
  if (value.size() >= kValueCapacity) value = value.substr(0, kValueCapacity - 1);
  const std::optional<std::string> expanded = ExpandKnownVariables(Trimmed(value));
  if (!expanded || !IsFullPath(*expanded)) return std::nullopt;
  std::string folder = sys::WithoutTrailingBackslash(*expanded);
  if (!DirectoryExists(folder)) folder = sys::SplitAtLastBackslash(folder).folder;
  if (folder.size() < 3 || !DirectoryExists(folder)) return std::nullopt;
  return folder;
}

std::optional<std::string> RegisteredFlashFolder() {
  sys::Automation* automation = sys::os().automation;
  if (automation == nullptr || sys::os().registry == nullptr) return std::nullopt;
  const sys::Result<std::string> classId = automation->ClassIdOf(kFlashProgramId);
  if (!classId.ok() || classId.value.empty()) return std::nullopt;
  const std::optional<std::string> server =
      sys::QueryString(sys::Hive::ClassesRoot, "CLSID\\" + classId.value + "\\InprocServer32", "");
  if (!server) return std::nullopt;
  return FolderOfServerValue(*server);
}

}  // namespace

std::string LookUpFlashFolder() {
  if (std::optional<std::string> folder = RegisteredFlashFolder()) return *folder;
  if (Places().systemFolder.empty()) return {};
  return sys::JoinPath(Places().systemFolder, kFlashFallbackSubFolder);
}

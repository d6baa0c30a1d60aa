#include "install/shortcuts.h"

#include <vector>

#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/shelllinks.h"

namespace {

// A link's target is read into a buffer of this many bytes.
constexpr std::size_t kTargetCapacity = 512;

// The shortcut files of `pattern` ("*.lnk") in the special folder, each with its record.
struct FoundLink {
  std::string path;
  sys::LinkRecord link;
};

std::vector<FoundLink> LinksIn(int csidl, sys::LinkKind kind, const std::string& pattern) {
  std::vector<FoundLink> found;
  sys::Result<std::string> folder = sys::os().desktop->GetSpecialFolder(csidl);
  if (!folder.ok() || sys::os().shellLinks == nullptr) return found;
  sys::Result<std::vector<sys::FindEntry>> entries = sys::os().files->Find(sys::JoinPath(folder.value, pattern));
  for (const sys::FindEntry& entry : entries.value) {
    if (entry.attributes & sys::attr::kDirectory) continue;
    std::string path = sys::JoinPath(folder.value, entry.name);
    sys::Result<sys::LinkRecord> loaded = sys::os().shellLinks->Load(kind, path);
    if (!loaded.ok()) continue;
    if (loaded.value.target.size() >= kTargetCapacity) loaded.value.target.resize(kTargetCapacity - 1);
    found.push_back({path, std::move(loaded.value)});
  }
  return found;
}

void Delete(const std::string& path) {
  sys::Error error = sys::os().files->DeleteFile(path);
  if (error == sys::err::kSuccess) WriteLog("Shortcut %s removed", path.c_str());
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && sys::EqualsNoCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

bool Replaces(const FoundLink& found, const Shortcut& shortcut, bool removeOnly) {
  if (removeOnly) return !found.link.target.empty() && sys::EqualsNoCase(found.link.workingFolder, shortcut.workingFolder);
  if (StartsWithNoCase(sys::SplitAtLastBackslash(found.path).name, shortcut.name)) return true;
  // The web lines keep links of other names, whatever they point to.
  if (IsWebLine(Session().productLine.str())) return false;
  return sys::EqualsNoCase(found.link.target, shortcut.target);
}

}  // namespace

int FindOrCleanShortcuts(int csidl, const Shortcut& shortcut, bool removeOnly) {
  for (const FoundLink& found : LinksIn(csidl, sys::LinkKind::Shell, "*.lnk")) {
    if (Replaces(found, shortcut, removeOnly)) Delete(found.path);
  }
  return 0;
}

int FindOrCleanUrlShortcuts(int csidl, const Shortcut& shortcut, bool /*removeOnly: the same either way*/) {
  for (const FoundLink& found : LinksIn(csidl, sys::LinkKind::Internet, "*.url")) {
    if (sys::EqualsNoCase(found.link.target, shortcut.target)) Delete(found.path);
  }
  return 0;
}

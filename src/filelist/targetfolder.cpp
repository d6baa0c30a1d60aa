#include "filelist/targetfolder.h"

#include <array>
#include <string_view>

#include "session/log.h"
#include "session/session.h"
#include "sys/paths.h"
#include "filelist/containedpath.h"
#include "filelist/downloadcache.h"
#include "filelist/flashfolder.h"
#include "session/knownplaces.h"
#include "filelist/osvariant.h"
#include "filelist/spreadsheetfolders.h"

namespace {

constexpr const char* kReportRuntimeSubPath = "Crystal";

enum class Macro {
  WindowsFolder,
  SystemFolder,
  ProgramFilesFolder,
  CommonFilesFolder,
  ExcelFolder,
  ExcelStartFolder,
  ExcelLibFolder,
  Root,
  FlashFolder,
  DoNotParse,
};

struct MacroName {
  std::string_view name;
  Macro macro;
};

constexpr std::array<MacroName, 10> kMacros = {{
    {"WindowsFolder", Macro::WindowsFolder},
    {"SystemFolder", Macro::SystemFolder},
    {"ProgramFilesFolder", Macro::ProgramFilesFolder},
    {"CommonFilesFolder", Macro::CommonFilesFolder},
    {"ExcelFolder", Macro::ExcelFolder},
    {"ExcelStartFolder", Macro::ExcelStartFolder},
    {"ExcelLibFolder", Macro::ExcelLibFolder},
    {"Root", Macro::Root},
    {"FlashFolder", Macro::FlashFolder},
    {"DoNotParse", Macro::DoNotParse},
}};

struct FolderField {
  std::string_view macro;    // the text before the first backslash
  std::string_view subPath;  // the text after it
  bool hasSubPath = false;
};

FolderField SplitFolderField(std::string_view folder) {
  const std::size_t slash = folder.find('\\');
  if (slash == std::string_view::npos) return {folder, {}, false};
  return {folder.substr(0, slash), folder.substr(slash + 1), true};
}

const MacroName* FindMacro(std::string_view name) {
  for (const MacroName& known : kMacros) {
    if (sys::EqualsNoCase(known.name, name)) return &known;
  }
  return nullptr;
}

// The place a macro stands for; empty when this machine does not have it.
std::string PlaceOf(Macro macro) {
  const KnownPlaces& places = Places();
  switch (macro) {
    case Macro::WindowsFolder:
      return places.windowsFolder;
    case Macro::SystemFolder:
      return places.systemFolder;
    case Macro::ProgramFilesFolder:
      return places.programFilesFolder;
    case Macro::CommonFilesFolder:
      return places.commonFilesFolder;
    case Macro::ExcelFolder:
      return places.excelFolder;
    case Macro::ExcelStartFolder:
      LookUpSpreadsheetFolders();
      return Places().excelStartFolder;
    case Macro::ExcelLibFolder:
      LookUpSpreadsheetFolders();
      return Places().excelLibFolder;
    case Macro::Root:
      return Session().installDir.str();
    case Macro::FlashFolder:
      return LookUpFlashFolder();
    case Macro::DoNotParse:
      break;
  }
  return {};
}

// A plain relative field below a base place; no base, no folder (never a relative path).
std::string Below(const std::string& base, std::string_view relative) {
  if (base.empty()) return {};
  return sys::JoinPath(base, relative);
}

// This workstation is the target: macros name the machine's shared places.
std::string ResolveOnWorkstation(FileEntry& entry) {
  const FolderField field = SplitFolderField(entry.folder);
  const MacroName* known = FindMacro(field.macro);
  if (known == nullptr) return Below(Session().installDir.str(), entry.folder);
  if (known->macro == Macro::DoNotParse) return {};

  std::string out = PlaceOf(known->macro);
  entry.protectedTarget = true;
  const bool systemFile = known->macro == Macro::SystemFolder ||
                          (known->macro == Macro::WindowsFolder && !field.hasSubPath);
  if (systemFile) entry.sharedFile = true;
  if (field.hasSubPath && !out.empty()) {
    out = sys::JoinPath(out, field.subPath);
    entry.reportRuntimeCopy = sys::EqualsNoCase(field.subPath, kReportRuntimeSubPath) ? 1 : 0;
  }
  return out;
}

void ReportOutside(FileEntry& entry, const char* why) {
  if (entry.outsideReported) return;
  entry.outsideReported = true;
  WriteLog("Not installed, %s: %s (folder '%s', file '%s')", entry.itemCode.c_str(), why, entry.folder.c_str(),
           entry.fileName.c_str());
}

}  // namespace

std::string ResolveTargetFolder(FileEntry& entry, int pass) {
  if (entry.placeCut) {
    ReportOutside(entry, "has a folder or file name longer than the list allows");
    return {};
  }
  if (!StaysInside(entry.folder) || !StaysInside(entry.fileName)) {
    ReportOutside(entry, "leads outside the installation's places");
    return {};
  }

  const int32_t mode = Session().installMode;
  std::string out;
  if (pass == kPassToCache) {
    out = Below(Places().tempFolder, kDownloadCacheFolderName);
    if (!out.empty()) out = sys::JoinPath(out, entry.folder);
  } else if (IsWorkstationMode(mode)) {
    out = ResolveOnWorkstation(entry);
  } else {
    // A network installation or CD image: macros are plain sub-folders of that name.
    out = Below(Session().installDir.str(), entry.folder);
  }
  if (!IsWorkstationMode(mode)) OsVariantFolder(entry, out);

  if (out.size() >= kPathCapacity) {
    ReportOutside(entry, "makes a folder longer than a path may be");
    return {};
  }
  return out;
}

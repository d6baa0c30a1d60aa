#include <cinttypes>

#include "install/placementstate.h"
#include "install/prerequisites.h"
#include "session/log.h"
#include "session/textids.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "session/progressstate.h"
#include "filelist/clusters.h"
#include "filelist/downloadcache.h"
#include "filelist/filelist.h"
#include "filelist/osvariant.h"
#include "updaterun/reregistrationlist.h"
#include "filelist/targetfolder.h"
#include "updaterun/updaterun.h"

namespace {

constexpr uint32_t kListBlock = 1024;

bool Named(const FileEntry& entry, const char* name) { return sys::EqualsNoCase(entry.fileName.str(), name); }
bool Cancelled() { return cancelRequested.load() != 0; }

// The current size of a target on disk; nothing when it does not open for reading.
std::optional<int64_t> ExistingSize(const std::string& path) {
  sys::Files& files = *sys::os().files;
  sys::Result<sys::OwnedFile> file = files.OpenOwned(path, sys::FileAccess::Read, sys::share::kRead | sys::share::kWrite,
                                                      sys::Disposition::OpenExisting);
  if (!file.ok()) return std::nullopt;
  sys::Result<uint64_t> size = files.GetSize(file.value.get());
  return size.ok() ? static_cast<int64_t>(size.value) : 0;
}

// The first rules that decide an entry without looking at its target; nothing when the
// target decides.
std::optional<bool> SpecialSelection(FileEntry& entry, bool workstation) {
  if (!workstation) return std::nullopt;
  if (Named(entry, "mdac_typ.exe")) return Prerequisites().dataAccessNeedsInstall;
  if (Named(entry, "novapin.exe_"))
    return UpdateRun().printerDriverInstalling || Prerequisites().printerDriverRemoved;
  if (Named(entry, "MolvexCRWXI.msi")) return Prerequisites().reportRuntimeMissing;
  if (Named(entry, "MolvexTactonSetup.cab")) return false;
  return std::nullopt;
}

// Selects an entry by its target and adds the disk space it takes.
void JudgeByTarget(FileEntry& entry, AnalysisTotals& totals) {
  std::string folder = ResolveTargetFolder(entry, kPassSingle);
  if (folder.empty()) return;
  int64_t cluster = static_cast<int64_t>(Results().installClusterSize);
  int64_t needed = RoundUpToCluster(entry.size, cluster);
  entry.selected = true;
  if (std::optional<int64_t> existing = ExistingSize(sys::JoinPath(folder, entry.fileName.str()))) {
    entry.targetExisted = true;
    if (!entry.protectedTarget) totals.requiredBytes += needed - RoundUpToCluster(*existing, cluster);
  } else {
    totals.requiredBytes += needed;
  }
}

void CountSelected(FileEntry& entry, AnalysisTotals& totals) {
  if (sys::EqualsNoCase(entry.itemCode.str(), "novapdf.exe")) UpdateRun().printerDriverInstalling = true;
  entry.downloadNeeded = Session().updateMode == kUpdateAfterDownload ? !CachedItemIsCurrent(entry) : true;
  if (entry.downloadNeeded) {
    int64_t transferred = entry.cabSize >= 1 ? entry.cabSize : entry.size;
    totals.downloadBytes += transferred;
    UpdateRun().downloadDriveBytes += RoundUpToCluster(transferred, static_cast<int64_t>(Results().tempClusterSize));
  }
  totals.installedBytes += entry.size;
  ++totals.installCount;
  if (entry.registrationKind >= 1) ++totals.registrationCount;
  if (Named(entry, "CRMOfficeAddIn.dll")) Placement().addInCheck = true;
}

void ShowAnalysisCount(std::size_t index, uint32_t records) {
  std::string text = LoadText(text::kFile);
  AppendFormat(text, " %ld %s %ld", static_cast<long>(index + 1), LoadText(text::kOf).c_str(), static_cast<long>(records));
  UpdateProgress([&](ProgressState& progress) { progress.itemLine = text; });
  RefreshProgress();
}

void JudgeEntry(FileEntry& entry, AnalysisTotals& totals) {
  bool workstation = UpdateRun().mode.workstation;
  const std::string& line = Session().productLine.str();
  if (workstation && OsVariantExcluded(entry)) {
    entry.osSkipped = true;
    return;
  }
  if (Session().repairOnly) {
    if (entry.registrationKind >= 1) ++totals.registrationCount;
    return;
  }
  if (std::optional<bool> special = SpecialSelection(entry, workstation))
    entry.selected = *special;
  else
    JudgeByTarget(entry, totals);

  if (entry.selected && workstation && Named(entry, "qs2000.xla") && Results().outlook64Bit) entry.selected = false;
  if ((IsLine(line, line::kFNS) && !HasItemPrefix(entry, "CSFNSTU1_")) ||
      (IsLine(line, line::kFNC) && !HasItemPrefix(entry, "CSFNC_"))) {
    entry.selected = false;
    entry.downloadNeeded = false;
  }
  if (entry.selected)
    CountSelected(entry, totals);
  else if (Results().registerAllKinds && entry.registrationKind >= 1)
    ++totals.registrationCount;
}

}  // namespace

std::optional<AnalysisTotals> AnalyseFileList(sys::FileHandle list, uint32_t records) {
  UpdateRunState& run = UpdateRun();
  run.entries.clear();
  run.entries.reserve(records);
  sys::Files& files = *sys::os().files;
  files.Seek(list, 0, sys::SeekFrom::Begin);
  if (Cancelled()) return std::nullopt;

  AnalysisTotals totals;
  if (run.reregistrationList) {
    std::size_t before = run.entries.size();
    if (!ReadReregistrationEntries(run.reregistrationList.get(), run.entries)) return std::nullopt;
    totals.registrationCount += static_cast<int32_t>(run.entries.size() - before);
    if (run.entries.size() > before) Results().previousRunUnfinished = true;
  }

  ListRecordSplitter splitter;
  std::vector<std::string> lines;
  char block[kListBlock];
  while (true) {
    sys::Result<uint32_t> got = files.Read(list, block, kListBlock);
    if (!got.ok()) return std::nullopt;
    lines.clear();
    splitter.Feed(std::string_view(block, got.value), lines);
    for (const std::string& line : lines) {
      if (run.entries.size() >= records) break;  // never more entries than the count promised
      std::size_t index = run.entries.size();
      run.entries.push_back(ParseFileListRecord(line, Session().installMode));
      if (!Session().repairOnly && ((index + 1) % 10 == 0 || index + 1 == records)) ShowAnalysisCount(index, records);
      JudgeEntry(run.entries.back(), totals);
    }
    if (Cancelled()) return std::nullopt;
    if (got.value == 0) return totals;
  }
}

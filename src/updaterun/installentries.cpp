#include "updaterun/installentries.h"

#include <algorithm>

#include "install/directories.h"
#include "install/leftovers.h"
#include "install/msipackage.h"
#include "install/printerdriver.h"
#include "install/placementstate.h"
#include "install/sharedfiles.h"
#include "session/log.h"
#include "session/textids.h"
#include "session/session.h"
#include "sys/clock.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/registry_helpers.h"
#include "session/progressstate.h"
#include "filelist/downloadcache.h"
#include "session/knownplaces.h"
#include "filelist/osvariant.h"
#include "updaterun/runstate.h"
#include "updaterun/transferahead.h"
#include "filelist/targetfolder.h"

namespace {

// The items that are run or treated specially after their fetch on a workstation.
enum class Special { None, PrinterDriver, DataAccess, ReportRuntime, ReportDatabase, Msmq, DispatcherBatch,
                     DocumentEditor, EntityServiceBatch };

Special SpecialOf(const FileEntry& entry, int pass) {
  if (pass == 1 || !IsWorkstationMode(Session().installMode)) return Special::None;
  const std::string& name = entry.fileName.str();
  static const struct {
    const char* name;
    Special kind;
  } kSpecials[] = {
      {"novapin.exe_", Special::PrinterDriver},
      {"mdac_typ.exe", Special::DataAccess},
      {"MolvexCRWXI.msi", Special::ReportRuntime},
      {"Crdb_molvex.dll", Special::ReportDatabase},
      {"InstallMSF1.bat", Special::Msmq},
      {"InstallMSFDispatcherServiceQS.bat", Special::DispatcherBatch},
      {"MHEPostUpdate.cmd", Special::DocumentEditor},
      {"InstallMolvexEntityService.bat", Special::EntityServiceBatch},
  };
  for (const auto& special : kSpecials)
    if (sys::EqualsNoCase(name, special.name)) return special.kind;
  return Special::None;
}

std::string ItemSource(const FileEntry& entry, int pass) {
  int32_t mode = Session().installMode;
  if (pass == 2) {
    std::string path = sys::JoinPath(DownloadCacheFolder(), entry.folder.str());
    if (IsNetworkMode(mode) || mode == kCdCreation) OsVariantFolder(entry, path);
    return sys::JoinPath(path, entry.fileName.str());
  }
  if (IsSourceMode(mode)) {
    std::string path = sys::JoinPath(Session().netDir.str(), entry.folder.str());
    OsVariantFolder(entry, path);
    return sys::JoinPath(path, entry.fileName.str());
  }
  std::string url;
  AppendFormat(url, "%s/docs/LogItemAttachment.aspx?Item=%s&Release=%s&Action=2", Session().webSite.c_str(),
               entry.itemCode.c_str(), entry.itemRelease.c_str());
  return url;
}

void ShowItem(const FileEntry& entry) {
  std::string detail;
  if (entry.cabSize < 1) {
    AppendFormat(detail, "%s: %.1f KB", LoadText(text::kSize).c_str(), entry.size / 1024.0);
  } else {
    AppendFormat(detail, "%s: %.1f KB ", LoadText(text::kSize).c_str(), entry.size / 1024.0);
    AppendFormat(detail, "(%s %.1f KB)", LoadText(text::kCompressedTo).c_str(), entry.cabSize / 1024.0);
  }
  UpdateProgress([&](ProgressState& progress) {
    progress.itemLine = entry.fileName.str();
    progress.detailLine = detail;
    progress.itemSize = entry.cabSize >= 1 ? entry.cabSize : entry.size;
    progress.itemDone = 0;
  });
  RefreshProgress();
}

// "Unable to start setup" with the kind of program, its source and the error.
void TellUnableToStart(const char* kind, const std::string& source, sys::Error error) {
  std::string text;
  AppendFormat(text, "%s: %s '%s'.\r\n", LoadText(text::kUnableToStartSetup).c_str(), kind, source.c_str());
  AppendFormat(text, "%s: %ld", LoadText(text::kError).c_str(), static_cast<long>(error));
  LoggedMessageBox(0, text, Session().captionText, mb::kOk, sys::answer::kOk);
}

// Runs a prepared program with its arguments and waits for it; false (after telling the
// user) when it cannot be started.
bool RunAndWait(const std::string& program, const std::string& arguments, const char* shownAs, const char* kind,
                const std::string& source) {
  std::string shown;
  AppendFormat(shown, "%s: %s", LoadText(text::kInstalling).c_str(), shownAs);
  UpdateProgress([&](ProgressState& progress) { progress.itemLine = shown; });
  RefreshProgress();
  sys::Processes* processes = sys::os().processes;
  sys::StartOptions options;
  options.noConsoleWindow = true;
  sys::Result<sys::ProcessHandle> started = processes->Create(program + arguments, options);
  if (!started.ok()) {
    TellUnableToStart(kind, source, started.error);
    return false;
  }
  processes->Wait(started.value, sys::kWaitForever);
  processes->Close(started.value);
  return true;
}

bool AfterPlacement(Special special, const FileEntry& entry, const std::string& target, const std::string& source,
                    int pass) {
  UpdateRunState& run = UpdateRun();
  if (run.reportRuntimeFlag && entry.reportRuntimeCopy == 1 && pass != 1)
    sys::os().files->CopyFile(target, sys::JoinPath(Places().systemFolder, entry.fileName.str()), false);
  switch (special) {
    case Special::ReportDatabase:
      if (std::optional<std::string> common = sys::QueryString(
              sys::Hive::LocalMachine, "Software\\Business Objects\\Suite 11.5\\Shared\\", "CommonFiles")) {
        std::string bin = sys::JoinPath(common->substr(0, 511), "bin");
        if (!CreateDirectoryPath(bin, false)) return false;
        sys::os().files->CopyFile(target, sys::JoinPath(bin, entry.fileName.str()), false);
      }
      return true;
    case Special::PrinterDriver:
      if (!RunAndWait(target, " /VERYSILENT /SUPPRESSMSGBOXES /NOCANCEL /NORESTART /PrinterName=novaPDFProv4",
                      "Virtual PDF Printer Driver(Nova)", "NOVAPIN", source))
        return false;
      RegisterNovaPdfServerDriver();
      return true;
    case Special::DataAccess:
      if (!RunAndWait(target, " /Q:A /C:\"dasetup /Q /N\"", "MDAC", "MDAC", source)) return false;
      Placement().inUseList += "MDAC\r\n";
      Placement().inUseListed = true;
      Results().rebootNeeded = true;
      return true;
    case Special::ReportRuntime:
      if (sys::Error error = InstallMsiPackage(target)) {
        TellUnableToStart("Crystal Report 11", source, error);
        return false;
      }
      return true;
    case Special::Msmq: return RunAndWait(target, "", "MSMQ", "MSMQ", source);
    case Special::DocumentEditor: return RunAndWait(target, "", "Document Editor", "Document Editor", source);
    case Special::DispatcherBatch: run.dispatcherServiceBatch = target; return true;
    case Special::EntityServiceBatch: run.entityServiceBatch = target; return true;
    case Special::None: return true;
  }
  return true;
}

void AppendToReregistrationList(const FileEntry& entry) {
  sys::FileHandle list = UpdateRun().reregistrationList.get();
  if (!list || entry.registrationKind < 1) return;
  std::string line;
  AppendFormat(line, "%s\t%s\r\n", entry.fileName.c_str(), entry.folder.c_str());
  sys::os().files->Seek(list, 0, sys::SeekFrom::End);
  sys::os().files->Write(list, line.data(), static_cast<uint32_t>(line.size()));
}

// The URL of the next item that the pass transfers from the site, when that is the
// item after `from`; empty when it is copied, current in the cache, or there is none.
std::string NextTransferUrl(const std::vector<FileEntry>& entries, std::size_t from, std::size_t end, int pass) {
  if (pass == 2 || IsSourceMode(Session().installMode)) return "";
  for (std::size_t i = from; i < end; ++i) {
    const FileEntry& entry = entries[i];
    if (!entry.selected || entry.folder.empty()) continue;
    if (pass == 1 && !entry.downloadNeeded) return "";
    return ItemTransferUrl(ItemSource(entry, pass), entry.size, entry.cabSize);
  }
  return "";
}

const char* OutcomeLine(ItemOutcome outcome) {
  switch (outcome) {
    case ItemOutcome::Ok: return "%s ---> OK";
    case ItemOutcome::Aborted: return "%s ---> Aborted";
    case ItemOutcome::Ignored: return "%s ---> Ignored";
  }
  return "%s";
}

}  // namespace

ItemOutcome ItemOutcomeOf(PlaceOutcome placed) {
  switch (placed) {
    case PlaceOutcome::Placed: return ItemOutcome::Ok;
    case PlaceOutcome::Aborted: return ItemOutcome::Aborted;
    case PlaceOutcome::Ignored: return ItemOutcome::Ignored;
  }
  return ItemOutcome::Aborted;
}

bool InstallItem(FileEntry& entry, int pass) {
  if (entry.folder.empty()) return true;
  ShowItem(entry);
  std::string source = ItemSource(entry, pass);
  std::string folder = ResolveTargetFolder(entry, pass);
  if (folder.empty()) return true;
  Special special = SpecialOf(entry, pass);
  bool runOnly = special == Special::PrinterDriver || special == Special::DataAccess;
  std::string target;
  if (!runOnly) {
    if (!CreateDirectoryPath(folder, false)) return false;
    target = sys::JoinPath(folder, entry.fileName.str());
  }
  SweepLeftoversIn(folder);
  FetchResult fetched = FetchItem(source, target, folder, entry, pass);
  if (target.empty()) target = fetched.toRun;
  WriteLog(OutcomeLine(fetched.outcome), target.c_str());
  if (fetched.outcome == ItemOutcome::Aborted) return false;
  if (fetched.outcome != ItemOutcome::Ok) return true;
  bool done = AfterPlacement(special, entry, target, source, pass);
  // A run-only program that was downloaded or expanded here has served once it ran; one
  // on the network installation, CD or in the download cache is the source and stays.
  if (runOnly && !target.empty() && target != source) sys::os().files->DeleteFile(target);
  return done;
}

bool InstallEntries(uint32_t count, int pass) {
  uint32_t started = sys::os().clock->TickCount();
  UpdateProgress([started](ProgressState& progress) {
    progress.totalDone = 0;
    progress.runStartTick = started;
  });
  std::vector<FileEntry>& entries = UpdateRun().entries;
  std::size_t end = std::min<std::size_t>(count, entries.size());
  struct DropUnused {
    ~DropUnused() { DropTransferAhead(); }
  } dropUnused;  // a transfer ahead that an abort, a failure or a cancel left unused
  for (std::size_t i = 0; i < end; ++i) {
    FileEntry& entry = entries[i];
    if (entry.selected) {
      PlanTransferAhead(NextTransferUrl(entries, i + 1, end, pass));
      if (pass != 1 && entry.sharedFile && !entry.osSkipped) NoteSharedFileBeforePlacing(entry);
      if (!InstallItem(entry, pass)) return false;
      AppendToReregistrationList(entry);
    }
    if (pass != 1 && entry.sharedFile && !entry.osSkipped) RecordSharedFile(entry);
    if (cancelRequested.load() != 0) return false;
  }
  return true;
}

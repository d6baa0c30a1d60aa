#include "app/productline_payroll.h"

#include <array>
#include <string_view>

#include "platform/systemfacts.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/profiles.h"

namespace {

constexpr std::string_view kPayrollIni = "salv.ini";
constexpr std::string_view kInitSection = "INIT";
constexpr std::string_view kNoOptions = "NOTHING";
constexpr std::string_view kMultiUser = "MULTI";
constexpr std::size_t kOptionsCapacity = 128;
constexpr std::size_t kEditionTitleCapacity = 20;
constexpr std::size_t kSalaryKindCapacity = 10;
constexpr std::string_view kSmallEdition = "SALV XS";
constexpr std::string_view kConversionPhase = "RelsVerzeichniss Update";

// Files a data folder must lose before its tool runs ("AP*" is a pattern).
constexpr std::array<std::string_view, 5> kStaleDataFiles{"COMMAND.LOG", "BITMAP.$B$", "DOMSC.$B$", "AP*",
                                                           "LPersist"};

struct PayrollFolders {
  std::string editionTitle;
  std::string dataFolder;
  std::string programFolder;
};

std::string PayrollIniPath() { return sys::JoinPath(GetWindowsFolder(), kPayrollIni); }

std::string ReadOptions() {
  return sys::os().profiles->GetString(PayrollIniPath(), std::string(kInitSection), "OPTIONS", std::string(kNoOptions),
                                       kOptionsCapacity);
}

// Cuts `path` at the first occurrence of each marker in turn.
std::string CutAt(std::string path, std::initializer_list<std::string_view> markers) {
  for (std::string_view marker : markers) {
    std::size_t at = path.find(marker);
    if (at != std::string::npos) path.resize(at);
  }
  if (path.size() >= kPathCapacity) path.resize(kPathCapacity - 1);
  return path;
}

PayrollFolders ReadPayrollFolders() {
  sys::Profiles* profiles = sys::os().profiles;
  std::string ini = PayrollIniPath();
  std::string section(kInitSection);
  auto read = [&](const char* key, const char* fallback) {
    return profiles->GetString(ini, section, key, fallback, kPathCapacity);
  };
  PayrollFolders folders;
  folders.editionTitle = profiles->GetString(ini, "KS-TITEL", "Text", "", kEditionTitleCapacity);
  folders.dataFolder = CutAt(read("DATA-DRIVE", "C") + ":" + read("DATA-PATH", "\\Wsalvix"), {"\\RELS", "\\rels"});
  folders.programFolder = CutAt(read("PROG-DRIVE", "C") + ":" + read("PROG-PATH", "\\Wsalvix"), {"\\BIN", "\\bin"});
  return folders;
}

std::string DataFolderName(long index) {
  if (index == 0) return "rels";
  std::string name;
  AppendFormat(name, "rels%ld", index);
  return name;
}

bool FolderExists(const std::string& path) {
  sys::Result<uint32_t> attributes = sys::os().files->GetAttributes(path);
  return attributes.ok() && (attributes.value & sys::attr::kDirectory) != 0;
}

// Runs a product tool in `folder` and waits for it; a missing tool is logged and skipped.
void RunTool(const std::string& commandLine, const std::string& folder) {
  sys::Processes* processes = sys::os().processes;
  sys::StartOptions options;
  options.workingFolder = folder;
  sys::Result<sys::ProcessHandle> started = processes->Create(commandLine, options);
  if (!started.ok()) {
    WriteLog("Cannot run %s (%u)", commandLine.c_str(), started.error);
    return;
  }
  processes->Wait(started.value, sys::kWaitForever);
  processes->Close(started.value);
}

class Conversion {
 public:
  explicit Conversion(const PayrollConversionSteps& steps)
      : steps_(steps),
        folders_(ReadPayrollFolders()),
        singleUser_(PayrollSingleUser()),
        toolFolder_(sys::JoinPath(Session().installDir.str(), "bin")),
        smallEdition_(folders_.editionTitle.find(kSmallEdition) != std::string::npos) {}

  void Run() {
    Show("Rels:  ", "0%");
    if (!singleUser_) ControlServices("STOP");
    ForEachDataFolder([this](long index, const std::string& folder) { PrepareDataFolder(index, folder); });
    std::string firstFolder = sys::JoinPath(folders_.dataFolder, "rels");
    RunTool(sys::JoinPath(toolFolder_, "sv_lkosx.exe"), firstFolder);
    RunTool(sys::JoinPath(toolFolder_, "SV_LR.EXE"), firstFolder);
    ForEachDataFolder([this](long index, const std::string& folder) { MigrateDataFolder(index, folder); });
    if (smallEdition_) InstallSmallEditionMenus();
    if (!singleUser_) ControlServices("START");
  }

 private:
  template <class Visit>
  void ForEachDataFolder(Visit visit) {
    for (long index = 0; index < kPayrollDataFolderCount; ++index) {
      std::string name = DataFolderName(index);
      std::string percent;
      AppendFormat(percent, "%ld%%", index * 100 / (kPayrollDataFolderCount - 1));
      Show(name, percent);
      std::string folder = sys::JoinPath(folders_.dataFolder, name);
      if (FolderExists(folder)) visit(index, folder);
    }
  }

  void PrepareDataFolder(long index, const std::string& folder) {
    if (index == 0 && !singleUser_) CopyTemplates(folder);
    if (steps_.createFolder) steps_.createFolder(sys::JoinPath(folder, "TMP"));
    for (std::string_view pattern : kStaleDataFiles) DeleteMatching(folder, pattern);
    RunTool(sys::JoinPath(toolFolder_, "apupdate") + " . -m", folder);
  }

  void MigrateDataFolder(long index, const std::string& folder) {
    std::string kinds = sys::JoinPath(GetWindowsFolder(), "sxtable.ini");
    std::string kind =
        sys::os().profiles->GetString(kinds, "SALVARTEN", DataFolderName(index), "LASTD", kSalaryKindCapacity);
    std::string commandLine = sys::JoinPath(toolFolder_, "sv_relmi.exe");
    commandLine.append(" ").append(sys::JoinPath(folders_.dataFolder, "tmp"));
    commandLine.append(" ").append(folder);
    commandLine.append(" ").append(kind.size() > 2 ? kind.substr(2) : std::string());
    commandLine.append(smallEdition_ ? " NOMENU" : " MENU");
    RunTool(commandLine, folder);
  }

  // A multi-user installation's first data folder gets the program's templates, except
  // the product's own binary-state files.
  void CopyTemplates(const std::string& folder) {
    std::string templates = sys::JoinPath(folders_.programFolder, "rels");
    sys::Result<std::vector<sys::FindEntry>> found = sys::os().files->Find(sys::JoinPath(templates, "*"));
    if (!found.ok() || !steps_.copyFileWithRetry) return;
    for (const sys::FindEntry& entry : found.value) {
      if ((entry.attributes & sys::attr::kDirectory) != 0) continue;
      if (entry.name.find("$B$") != std::string::npos || entry.name.find("$b$") != std::string::npos) continue;
      steps_.copyFileWithRetry(sys::JoinPath(templates, entry.name), sys::JoinPath(folder, entry.name));
    }
  }

  void DeleteMatching(const std::string& folder, std::string_view pattern) {
    sys::Result<std::vector<sys::FindEntry>> found = sys::os().files->Find(sys::JoinPath(folder, pattern));
    if (!found.ok() || !steps_.deleteFileWithRetry) return;
    for (const sys::FindEntry& entry : found.value) {
      if ((entry.attributes & sys::attr::kDirectory) == 0) steps_.deleteFileWithRetry(sys::JoinPath(folder, entry.name));
    }
  }

  // The small edition reads its menus from one table; the same file serves all three names.
  void InstallSmallEditionMenus() {
    if (!steps_.copyFileWithRetry) return;
    std::string menus = sys::JoinPath(sys::JoinPath(Session().installDir.str(), "ETC\\EASY"), "lmenutbl");
    steps_.copyFileWithRetry(menus, sys::JoinPath(folders_.dataFolder, "RELS\\lmenutbl"));
    steps_.copyFileWithRetry(menus, sys::JoinPath(folders_.dataFolder, "BIN\\sxv.dll"));
    steps_.copyFileWithRetry(menus, sys::JoinPath(folders_.dataFolder, "BIN\\sxv1.dll"));
  }

  void Show(const std::string& item, const std::string& detail) {
    if (steps_.showProgress) steps_.showProgress(std::string(kConversionPhase), item, detail);
  }

  void ControlServices(const std::string& action) {
    if (steps_.controlDatabaseServer) steps_.controlDatabaseServer(action);
  }

  const PayrollConversionSteps& steps_;
  PayrollFolders folders_;
  bool singleUser_;
  std::string toolFolder_;
  bool smallEdition_;
};

}  // namespace

bool PayrollOptionsSet() { return ReadOptions() != kNoOptions; }

bool PayrollSingleUser() { return ReadOptions() != kMultiUser; }

void RunPayrollDataConversion(const PayrollConversionSteps& steps) {
  Conversion conversion(steps);
  conversion.Run();
}

#include "install/productshortcuts.h"

#include <array>
#include <string_view>

#include "install/retryprimitives.h"
#include "install/shortcuts.h"
#include "productline/productline.h"
#include "session/pathtext.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

// Where a desktop line's shortcut points, inside the installation. An empty working
// folder is the installation folder itself.
struct LineShortcut {
  std::string_view line;
  std::string_view workingFolder;
  std::string_view target;
  std::string_view icon;  // empty: the target
};

constexpr std::array<LineShortcut, 5> kLineShortcuts{{
    {line::kDORVAL5, "sis", "sis\\quarzel.exe", "sis\\SMENV01A.EXE"},
    {line::kKS, "rels", "bin\\salvix.exe", ""},
    {line::kPINDRELV8, "bin", "bin\\k7shell.exe", "bin\\Plandrix_T6_AE.exe"},
    {line::kFNS, "", "Omnis.exe", "FENNIC.ICO"},
    {line::kFNC, "", "Omnis7.exe", "FENNIC.ICO"},
}};
constexpr LineShortcut kOtherLine{"", "", "Omnis.exe", "FENNIC.ICO"};

// The operating-system code of the NT family's version 6.
constexpr int32_t kOsCodeVersion6 = 9;

// The names a converted line's shortcut had before the conversion.
struct FormerName {
  std::string_view line;
  std::string_view name;
};
constexpr std::array<FormerName, 2> kFormerNames{{
    {line::kNHVW, "Nordhal voor Windows"},
    {line::kWENZLORPRO, "Molvex Pro"},
}};

std::string Installed(std::string_view relative) { return sys::JoinPath(Session().installDir.str(), relative); }

const LineShortcut& LineShortcutOf(std::string_view productLine) {
  for (const LineShortcut& entry : kLineShortcuts)
    if (IsLine(productLine, entry.line)) return entry;
  return kOtherLine;
}

// A web line's icon is its program; on version 6 of the NT family the brand icon when it is there.
std::string WebIcon(std::string_view program) {
  if (Session().isNtFamily && Session().osCode == kOsCodeVersion6) {
    std::string brand = Installed("bin\\k7brand" + Results().mainExecutableCode.str() + ".ico");
    if (PathExists(brand)) return brand;
  }
  return Installed(program);
}

Shortcut ProductShortcut(const std::string& productLine) {
  Shortcut shortcut;
  shortcut.name = Results().productTitle.str();
  if (IsWebLine(productLine)) {
    shortcut.target = WebProductAddress(sys::os().desktop->GetComputerName(), Session().virtualDir.str());
    shortcut.workingFolder = Installed("bin");
    shortcut.icon = WebIcon(IsLine(productLine, line::kFYNDRA) ? "bin\\Plandrix_T8_AE.exe" : "bin\\Plandrix_T15_AE.exe");
    return shortcut;
  }
  const LineShortcut& entry = LineShortcutOf(productLine);
  shortcut.target = Installed(entry.target);
  shortcut.workingFolder = Installed(entry.workingFolder);
  shortcut.icon = Installed(entry.icon.empty() ? entry.target : entry.icon);
  if (IsLine(productLine, line::kPINDRELV8)) shortcut.arguments = "-" + Results().mainExecutableCode.str();
  return shortcut;
}

// A converted run looks for the shortcut the line had before under its old name and arguments.
Shortcut AsBeforeConversion(Shortcut shortcut) {
  if (!Results().convertedProductLine) return shortcut;
  const std::string& previous = Results().previousProductLine.str();
  for (const FormerName& former : kFormerNames)
    if (IsLine(previous, former.line)) shortcut.name = former.name;
  shortcut.arguments = "-" + DistributionCode(previous);
  return shortcut;
}

void CleanAndMake(int csidl, const Shortcut& searched, const Shortcut& made, bool removeOnly) {
  if (IsWebLine(Session().productLine.str())) FindOrCleanUrlShortcuts(csidl, searched, removeOnly);
  else FindOrCleanShortcuts(csidl, searched, removeOnly);
  if (!removeOnly) CreateShortcut(csidl, made);
}

// The second shortcut of a line: its own program as target and icon.
void MakeSecondShortcut(int csidl, std::string_view name, std::string_view program, std::string_view workingFolder,
                        bool removeOnly) {
  Shortcut second{Installed(program), std::string(name), Installed(workingFolder), "", Installed(program), 0};
  CleanAndMake(csidl, second, second, removeOnly);
}

}  // namespace

void MakeProductShortcuts(bool removeOnly, int csidl) {
  const std::string& productLine = Session().productLine.str();
  Shortcut shortcut = ProductShortcut(productLine);
  CleanAndMake(csidl, AsBeforeConversion(shortcut), shortcut, removeOnly);
  if (IsLine(productLine, line::kDORVAL5) && (csidl == sys::csidl::kCommonStartMenu || csidl == sys::csidl::kStartMenu))
    MakeSecondShortcut(csidl, "DORVAL Servidor DDE", "sis\\KEL.EXE", "sis", removeOnly);
  if (IsLine(productLine, line::kKS) && (csidl == sys::csidl::kCommonPrograms || csidl == sys::csidl::kPrograms))
    MakeSecondShortcut(csidl, "Datensicherung", "bin\\dasi.exe", "rels", removeOnly);
}

void MakeSendToShortcut(bool removeOnly) {
  const std::string code = Results().mainExecutableCode.str();
  const std::string icon = Installed("bin\\Icon2003" + code + ".dll");
  CopyFileWithRetry(Installed("bin\\k7brand" + code + ".dll"), icon, false);
  Shortcut tool{Installed("bin\\MDocuments.exe"), Results().productTitle.str(), Installed("bin"), "", icon, 0};
  FindOrCleanShortcuts(sys::csidl::kSendTo, tool, removeOnly);
  if (!removeOnly) CreateShortcut(sys::csidl::kSendTo, tool);
}

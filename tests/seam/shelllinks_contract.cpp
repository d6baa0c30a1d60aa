// Shortcut files give back what they were saved with (an internet shortcut its address and icon).
#include "seam/contract.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/shelllinks.h"

namespace {

SEAM_CHECK(ShortcutFilesReadBackWhatWasSaved) {
  sys::ShellLinks& links = *sys::os().shellLinks;
  const std::string program = "C:\\windows\\notepad.exe";
  const std::string lnk = sys::JoinPath(bench.folder, "App.lnk");
  SEAM_EQ(links.Save(sys::LinkKind::Shell, lnk, {program, "-x", "C:\\windows", "App", program, 2, 1}), 0u);
  sys::LinkRecord link = links.Load(sys::LinkKind::Shell, lnk).value;
  SEAM_EQ(link.target + "|" + link.arguments + "|" + link.workingFolder + "|" + link.description + "|" + link.iconFile +
              std::to_string(link.iconIndex),
          program + "|-x|C:\\windows|App|" + program + "2");
  const std::string url = sys::JoinPath(bench.folder, "Site.url");
  SEAM_EQ(links.Save(sys::LinkKind::Internet, url, {"http://ws/Halomir", "", "", "", program, 0, 1}), 0u);
  link = links.Load(sys::LinkKind::Internet, url).value;
  SEAM_EQ(link.target + "|" + link.iconFile, "http://ws/Halomir|" + program);
}

}  // namespace

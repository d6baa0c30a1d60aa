#include <string_view>

#include "session/log.h"
#include "session/textids.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "transfer/filelistrequest.h"
#include "transfer/releaselistrequest.h"
#include "transfer/sitereplies.h"
#include "transfer/sitesession.h"
#include "session/progressstate.h"
#include "filelist/filelist.h"
#include "updaterun/updaterun.h"

namespace {

constexpr uint32_t kListBlock = 1024;
constexpr std::size_t kDateCapacity = 31;

bool TallyoList() { return UpdateRun().tallyoPass || IsTallyoLine(Session().productLine.str()); }

// Shows a refusal of the list and sends the user back to the settings.
std::nullopt_t RefuseList(const std::string& text) {
  LoggedMessageBox(ProgressWindow(), text, Session().captionText, mb::kOk, sys::answer::kOk);
  if (!Session().silent) Results().returnToSettings = true;
  return std::nullopt;
}

}  // namespace

std::string ListFileName() { return TallyoList() ? "Tallyo.lst" : "HalomirPlandrix.lst"; }

std::optional<std::string> ObtainFileList() {
  if (UpdateRun().mode.listFromSite) {
    std::string listPath;
    if (!RequestFileList(listPath)) return std::nullopt;
    RequestReleaseList(nullptr, true);
    return listPath;
  }
  std::string dateSource;
  int32_t mode = Session().installMode;
  if (mode == kLanWorkstation || mode == kCdNetwork) dateSource = Session().settingsIni.str();
  if (mode == kLanWorkstationUpdate) dateSource = sys::JoinPath(Session().netDir.str(), "wsetup.ini");
  Site().listTimestamp.clear();
  if (!dateSource.empty())
    Site().listTimestamp = sys::os().profiles->GetString(dateSource, "Setup", "Date", "", kDateCapacity);
  return sys::JoinPath(Session().netDir.str(), ListFileName());
}

std::optional<uint32_t> CheckFileList(sys::FileHandle list) {
  char block[kListBlock];
  bool first = true;
  uint32_t records = 0;
  while (true) {
    sys::Result<uint32_t> got = sys::os().files->Read(list, block, kListBlock);
    if (!got.ok()) return records;
    std::string_view text(block, got.value);
    if (first && text.size() >= kSiteRefusal.size()) {
      if (IsSiteRefusal(text)) return RefuseList(std::string(text.substr(kSiteRefusal.size())));
      // A web page in place of the list is a failed transfer, in whatever letter case
      // its server writes the tag (a refused download leaves the site's page behind).
      if (sys::FoldedCopy(text).find("<html") != std::string::npos) {
        std::string message;
        AppendFormat(message, "%s: '%s'\r\n\r\n", LoadText(text::kFailedToDownload).c_str(), ListFileName().c_str());
        return RefuseList(message);
      }
    }
    first = false;
    records += CountListRecords(text);
    if (got.value < kListBlock) return records;
  }
}

// The file list parser and the folder rules on hostile bytes: whatever the list says, no
// crash, no unbounded field, and no target folder outside the installation's places.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "session/session.h"
#include "sys/paths.h"
#include "filelist/filelist.h"
#include "session/knownplaces.h"
#include "filelist/osvariant.h"
#include "updaterun/reregistrationlist.h"
#include "filelist/targetfolder.h"

namespace {

constexpr const char* kInstallDir = "C:\\Fennic";

// The depth a path reaches below its first `fixed` components when Windows reads it:
// either separator, trailing dots and blanks dropped, "." stays, ".." climbs. Negative
// when, once below them, it climbs back above them.
int DepthBelow(std::string_view path, int fixed) {
  int depth = 0;
  bool reached = fixed == 0;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
    std::string_view part = path.substr(start, end - start);
    if (part.find_last_not_of(". ") != std::string_view::npos) ++depth;
    else if (part.find("..") != std::string_view::npos) --depth;
    reached = reached || depth >= fixed;
    if (reached && depth < fixed) return -1;
    start = end + 1;
  }
  return depth - fixed;
}

// Every folder the rules may give lies below one of the places they define.
void CheckInsidePlaces(std::string_view folder) {
  if (folder.empty()) return;
  if (folder.find(':', 2) != std::string_view::npos) std::abort();
  if (std::any_of(folder.begin(), folder.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    std::abort();
  for (std::string_view place : {kInstallDir, "C:\\WINDOWS", "C:\\Program Files", "C:\\Office", "C:\\Temp"}) {
    if (sys::EqualsNoCase(folder.substr(0, place.size()), place)) {
      if (DepthBelow(folder, DepthBelow(place, 0)) < 0) std::abort();
      return;
    }
  }
  std::abort();
}

void CheckEntry(FileEntry entry, int32_t mode) {
  if (entry.itemCode.size() > 30 || entry.itemRelease.size() > 38 || entry.fileName.size() > 60 ||
      entry.date.size() > 20 || entry.folder.size() > 80 || entry.version.size() > 32)
    std::abort();
  Session().installMode = mode;
  for (int pass : {kPassSingle, kPassToCache, kPassFromCache}) CheckInsidePlaces(ResolveTargetFolder(entry, pass));
  (void)OsVariantExcluded(entry);
  (void)HasItemPrefix(entry, "CSFNC_");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    ResetSessionState();
    Session().installDir = kInstallDir;
    KnownPlaces& places = Places();
    places.windowsFolder = "C:\\WINDOWS";
    places.systemFolder = "C:\\WINDOWS\\system32";
    places.tempFolder = "C:\\Temp\\";
    places.programFilesFolder = "C:\\Program Files";
    places.commonFilesFolder = "C:\\Program Files\\Common Files";
    places.excelFolder = "C:\\Office";
    places.excelLookupDone = true;  // no automation object here
    return true;
  }();
  (void)ready;

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Blocks of an uneven size, so records cross block borders.
  ListRecordSplitter splitter;
  std::vector<std::string> records;
  for (std::size_t at = 0; at < text.size(); at += 997) splitter.Feed(text.substr(at, 997), records);
  if (records.size() != CountListRecords(text)) std::abort();

  for (const std::string& record : records) {
    if (record.size() > kMaxListRecordBytes) std::abort();
    for (int32_t mode : {kInternetWorkstation, kInternetNetwork, kLanWorkstation, kCdNetwork}) {
      CheckEntry(ParseFileListRecord(record, mode), mode);
    }
    CheckEntry(ParseReregistrationRecord(record), kLanWorkstationUpdate);
  }
  return 0;
}

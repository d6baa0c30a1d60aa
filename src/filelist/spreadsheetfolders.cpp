#include "filelist/spreadsheetfolders.h"

#include <string>
#include <vector>

#include "sys/automation.h"
#include "sys/os.h"
#include "session/knownplaces.h"

namespace {

constexpr const char* kSpreadsheetProgramId = "Excel.Application";
constexpr std::size_t kPlaceCapacity = 256;

std::string Bounded(std::string text) {
  if (text.size() >= kPlaceCapacity) text.resize(kPlaceCapacity - 1);
  return text;
}

}  // namespace

void LookUpSpreadsheetFolders() {
  KnownPlaces& places = Places();
  if (places.excelLookupDone) return;
  places.excelLookupDone = true;  // successful or not: starting the application is slow
  places.excelStartFolder.clear();
  places.excelLibFolder.clear();

  sys::Automation* automation = sys::os().automation;
  if (automation == nullptr) return;
  const sys::Result<std::vector<std::string>> folders =
      automation->ReadStringProperties(kSpreadsheetProgramId, {"LibraryPath", "StartupPath"});
  if (!folders.ok() || folders.value.size() != 2) return;
  places.excelLibFolder = Bounded(folders.value[0]);
  places.excelStartFolder = Bounded(folders.value[1]);
}

#include "session/knownplaces.h"

#include "session/pathtext.h"
#include "session/registrytext.h"
#include "sys/desktop.h"
#include "sys/os.h"

namespace {

constexpr std::size_t kPlaceCapacity = 256;
constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kExcelAppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\EXCEL.EXE";

std::string Bounded(std::string text) {
  if (text.size() >= kPlaceCapacity) text.resize(kPlaceCapacity - 1);
  return text;
}

// A registry text, or `fallback` when the value is missing or empty.
std::string TextOr(sys::Hive hive, const char* key, const char* name, const char* fallback) {
  auto text = ReadRegistryText(hive, key, name, kPlaceCapacity);
  return text && !text->empty() ? *text : std::string(fallback);
}

std::string FindDocumentsFolder(sys::Desktop* desktop) {
  auto personal = ReadRegistryText(sys::Hive::CurrentUser, kShellFoldersKey, "Personal", kPlaceCapacity);
  if (personal && !personal->empty()) return *personal;
  // The shell fills that value on its first use; until then ask it directly.
  if (desktop == nullptr) return {};
  auto special = desktop->GetSpecialFolder(sys::csidl::kPersonal);
  return special.ok() ? Bounded(special.value) : std::string{};
}

std::string FindExcelFolder() {
  auto path = ReadRegistryText(sys::Hive::LocalMachine, kExcelAppPathKey, "Path", kPlaceCapacity);
  if (!path) return {};
  std::string folder = *path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return DirectoryExists(folder) ? folder : std::string{};
}

}  // namespace

KnownPlaces& Places() {
  static KnownPlaces places;
  return places;
}

void ResolveKnownPlaces() {
  KnownPlaces& places = Places();
  places = KnownPlaces{};
  sys::Desktop* desktop = sys::os().desktop;
  if (desktop != nullptr) {
    places.windowsFolder = Bounded(desktop->GetWindowsFolder());
    places.systemFolder = Bounded(desktop->GetSystemFolder());
    places.tempFolder = Bounded(desktop->GetTempFolder());
  }
  places.programFilesFolder = TextOr(sys::Hive::LocalMachine, kCurrentVersionKey, "ProgramFilesDir", "C:\\Program Files");
  places.commonFilesFolder =
      TextOr(sys::Hive::LocalMachine, kCurrentVersionKey, "CommonFilesDir", "C:\\Program Files\\Common Files");
  places.documentsFolder = FindDocumentsFolder(desktop);
  places.excelFolder = FindExcelFolder();
}

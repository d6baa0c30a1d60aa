#include "transfer/fetchurl.h"

#include "session/log.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "transfer/itemprogress.h"
#include "transfer/sitesession.h"
#include "session/knownplaces.h"

namespace {

constexpr uint32_t kChunkSize = 1024;
constexpr const char* kTempPrefix = "_sy";
constexpr uint32_t kOpenFlags = sys::inet::kFlagReload | sys::inet::kFlagKeepConnection;

// The session's temporary folder; the system's own until the places are resolved.
std::string TempFolder() {
  if (!Places().tempFolder.empty()) return Places().tempFolder;
  sys::Desktop* desktop = sys::os().desktop;
  return desktop != nullptr ? desktop->GetTempFolder() : std::string();
}

}  // namespace

bool FetchUrlToTempFile(const std::string& url, std::string& tempPath) {
  sys::Files* files = sys::os().files;
  sys::Internet* internet = sys::os().internet;
  tempPath.clear();
  if (files == nullptr || internet == nullptr) return false;

  auto made = files->CreateTempFile(TempFolder(), kTempPrefix);
  if (!made.ok()) return false;
  tempPath = made.value;
  auto opened = files->OpenOwned(tempPath, sys::FileAccess::Write, sys::share::kNone, sys::Disposition::CreateAlways);
  if (!opened.ok()) return false;
  const sys::OwnedFile& file = opened.value;  // closed however the transfer ends

  auto request = internet->OpenUrl(Site().session, url, kOpenFlags);
  if (!request.ok()) return false;

  const ProgressState& progress = Progress();
  auto announced = internet->QueryContentLength(request.value);
  uint64_t written = 0;
  char chunk[kChunkSize];
  bool complete = false;
  for (;;) {
    auto read = internet->Read(request.value, chunk, kChunkSize);
    if (!read.ok()) break;
    if (read.value == 0) {
      // A dropped connection can read as a clean end: a body shorter than the reply
      // announced is not the whole body.
      complete = !announced.ok() || written >= announced.value;
      if (!complete) {
        WriteLog("The transfer of %s ended after %llu of %llu bytes", url.c_str(),
                 static_cast<unsigned long long>(written), static_cast<unsigned long long>(announced.value));
      }
      break;
    }
    if (!files->Write(file.get(), chunk, read.value).ok()) {
      // A full disk must not pass for a complete transfer; the caller's size check would
      // catch it too, but the log says why.
      WriteLog("Failed to write %s", tempPath.c_str());
      break;
    }
    written += read.value;
    ShowItemProgress(progress.itemDone + static_cast<int32_t>(read.value));
  }
  internet->CloseHandle(request.value);
  return complete;
}

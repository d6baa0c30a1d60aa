#include "transfer/fetchurl.h"

#include <vector>

#include "session/log.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "transfer/itemprogress.h"
#include "transfer/sitesession.h"
#include "session/knownplaces.h"

namespace {

// Reads ask for up to 64 KB at once: small reads cost a round through the system each,
// and the window shows the counters at its own pace anyway (see ShowItemProgress).
constexpr uint32_t kChunkSize = 64 * 1024;
constexpr const char* kTempPrefix = "_sy";
constexpr uint32_t kOpenFlags = sys::inet::kFlagReload | sys::inet::kFlagKeepConnection;

// The session's temporary folder; the system's own until the places are resolved.
std::string TempFolder() {
  if (!Places().tempFolder.empty()) return Places().tempFolder;
  sys::Desktop* desktop = sys::os().desktop;
  return desktop != nullptr ? desktop->GetTempFolder() : std::string();
}

// The log line now, or held by the observer until its item comes up.
void Note(TransferObserver* observer, const std::string& line) {
  if (observer != nullptr)
    observer->Note(line);
  else
    WriteLog("%s", line.c_str());
}

}  // namespace

bool FetchUrlToTempFile(const std::string& url, std::string& tempPath, TransferObserver* observer) {
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

  auto announced = internet->QueryContentLength(request.value);
  uint64_t written = 0;
  std::vector<char> chunk(kChunkSize);
  bool complete = false;
  for (;;) {
    auto read = internet->Read(request.value, chunk.data(), kChunkSize);
    if (!read.ok()) break;
    if (read.value == 0) {
      // A dropped connection can read as a clean end: a body shorter than the reply
      // announced is not the whole body.
      complete = !announced.ok() || written >= announced.value;
      if (!complete) {
        std::string line;
        Note(observer, AppendFormat(line, "The transfer of %s ended after %llu of %llu bytes", url.c_str(),
                                    static_cast<unsigned long long>(written),
                                    static_cast<unsigned long long>(announced.value)));
      }
      break;
    }
    if (!files->Write(file.get(), chunk.data(), read.value).ok()) {
      // A full disk must not pass for a complete transfer; the caller's size check would
      // catch it too, but the log says why.
      Note(observer, "Failed to write " + tempPath);
      break;
    }
    written += read.value;
    if (observer == nullptr)
      ShowItemProgress(static_cast<int32_t>(written));
    else if (!observer->Written(written))
      break;
  }
  if (observer == nullptr) ShowItemProgressEnd(static_cast<int32_t>(written));
  internet->CloseHandle(request.value);
  return complete;
}

#include "filelist/downloadcache.h"

#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "filelist/containedpath.h"
#include "session/knownplaces.h"
#include "filelist/listdate.h"

std::string DownloadCacheFolder() { return sys::JoinPath(Places().tempFolder, kDownloadCacheFolderName); }

bool CachedItemIsCurrent(const FileEntry& entry) {
  if (!StaysInside(entry.folder) || !StaysInside(entry.fileName)) return false;
  if (Places().tempFolder.empty()) return false;
  const std::string path = sys::JoinPath(sys::JoinPath(DownloadCacheFolder(), entry.folder), entry.fileName);

  sys::Files& files = *sys::os().files;
  const sys::Result<sys::OwnedFile> file =
      files.OpenOwned(path, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!file.ok()) return false;
  const sys::Result<sys::FileTimes> times = files.GetTimes(file.value.get());
  if (!times.ok()) return false;
  return CompareFileTimesLoosely(times.value.lastWrite, ParseListDate(entry.date)) == 0;
}

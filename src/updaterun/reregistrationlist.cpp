#include "updaterun/reregistrationlist.h"

#include <array>

#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "filelist/filelist.h"

namespace {

constexpr const char* kEtcFolder = "etc";
constexpr uint32_t kBlockBytes = 1024;

std::string EtcFolder() { return sys::JoinPath(Session().installDir.str(), kEtcFolder); }

// Calls `onBlock` with each block of the file from its start. The error of the seek or
// read that failed, 1223 when `onBlock` said stop, else 0.
template <class OnBlock>
sys::Error ForEachBlock(sys::FileHandle list, OnBlock onBlock) {
  sys::Files& files = *sys::os().files;
  const sys::Result<uint64_t> rewound = files.Seek(list, 0, sys::SeekFrom::Begin);
  if (!rewound.ok()) return rewound.error;
  std::array<char, kBlockBytes> block{};
  for (;;) {
    const sys::Result<uint32_t> read = files.Read(list, block.data(), kBlockBytes);
    if (!read.ok()) return read.error;
    if (read.value == 0) return sys::err::kSuccess;
    if (!onBlock(std::string_view(block.data(), read.value))) return sys::err::kCancelled;
  }
}

}  // namespace

std::string ReregistrationListPath() { return sys::JoinPath(EtcFolder(), kReregistrationListName); }

sys::Result<sys::OwnedFile> OpenReregistrationList() {
  sys::Files& files = *sys::os().files;
  const sys::Result<uint32_t> etc = files.GetAttributes(EtcFolder());
  if (!etc.ok() || (etc.value & sys::attr::kDirectory) == 0) {
    return sys::Result<sys::OwnedFile>::Fail(sys::err::kPathNotFound);
  }
  return files.OpenOwned(ReregistrationListPath(), sys::FileAccess::ReadWrite, sys::share::kRead,
                    sys::Disposition::OpenAlways);
}

FileEntry ParseReregistrationRecord(std::string_view record) {
  const std::vector<std::string_view> fields = SplitListFields(record);
  FileEntry entry;
  entry.fileName = fields[0];
  if (fields.size() > 1) entry.folder = fields[1];
  entry.placeCut = fields[0].size() > entry.fileName.kMaxLength ||
                   (fields.size() > 1 && fields[1].size() > entry.folder.kMaxLength);
  entry.registrationKind = 1;
  return entry;
}

sys::Result<uint32_t> CountReregistrationRecords(sys::FileHandle list) {
  uint32_t count = 0;
  const sys::Error error = ForEachBlock(list, [&](std::string_view block) {
    count += CountListRecords(block);
    return true;
  });
  if (error != sys::err::kSuccess) return sys::Result<uint32_t>::Fail(error);
  return sys::Result<uint32_t>::Ok(count);
}

bool ReadReregistrationEntries(sys::FileHandle list, std::vector<FileEntry>& entries) {
  ListRecordSplitter splitter;
  std::vector<std::string> records;
  const sys::Error error = ForEachBlock(list, [&](std::string_view block) {
    records.clear();
    splitter.Feed(block, records);
    for (const std::string& record : records) entries.push_back(ParseReregistrationRecord(record));
    return cancelRequested.load() == 0;
  });
  return error == sys::err::kSuccess;
}

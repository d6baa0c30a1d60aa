// The copy operation: open the cabinet, check its header, and walk its file records in
// order, asking the handler where each file goes and streaming its bytes there.
#include <cstring>

#include "cabinet/cabinet.h"
#include "cabinet/cabinetcontext.h"
#include "cabinet/cabinetheader.h"
#include "cabinet/cabinetreader.h"
#include "cabinet/folderstream.h"

namespace cab {
namespace {

constexpr size_t kMaxCabinetPath = 1024;

struct FileRecord {
  uint32_t length = 0;
  uint32_t folderOffset = 0;
  uint16_t folder = 0;
  uint16_t date = 0;
  uint16_t time = 0;
  uint16_t attributes = 0;
  char name[format::kMaxName] = {};
};

class Extraction {
 public:
  Extraction(Context& context, CabinetReader& reader, const char* folderPath, NotifyFn handler, void* user)
      : context_(context), reader_(reader), folderPath_(folderPath), handler_(handler), user_(user),
        stream_(context, reader, header_) {}

  bool Run();

 private:
  bool ReadFileRecord(uint32_t& offset, FileRecord& file);
  bool FileRecordIsSound(const FileRecord& file) const;
  bool ExtractFile(const FileRecord& file);
  bool NextCabinetNeeded();
  Notification Record() const {
    Notification n;
    n.user = user_;
    n.setId = header_.info.setId;
    n.cabinetIndex = header_.info.setIndex;
    return n;
  }

  Context& context_;
  CabinetReader& reader_;
  const char* folderPath_;
  NotifyFn handler_;
  void* user_;
  CabinetHeader header_;
  FolderStream stream_;
};

bool Extraction::Run() {
  if (int32_t code = ReadCabinetHeader(reader_, header_)) return context_.Fail(code);
  // The whole file table is checked before anything is delivered, so a broken cabinet
  // leaves no half-written target behind.
  uint32_t recordOffset = header_.filesOffset;
  for (uint32_t i = 0; i < header_.info.fileCount; ++i) {
    FileRecord file;
    if (!ReadFileRecord(recordOffset, file) || !FileRecordIsSound(file)) return context_.Fail(error::kCorruptCabinet);
  }

  Notification info = Record();
  info.text1 = header_.nextCabinet;
  info.text2 = header_.nextDisk;
  info.text3 = folderPath_;
  if (handler_(notify::kCabinetInfo, &info) == -1) return context_.Fail(error::kUserAbort);

  bool partialSeen = false;
  recordOffset = header_.filesOffset;
  for (uint32_t i = 0; i < header_.info.fileCount; ++i) {
    FileRecord file;
    stream_.KeepBlock();
    if (!ReadFileRecord(recordOffset, file)) return context_.Fail(error::kCorruptCabinet);
    if (file.folder == format::kFolderContinuedFromPrevious || file.folder == format::kFolderContinuedBoth) {
      Notification partial = Record();
      partial.text1 = file.name;
      partial.text2 = header_.previousCabinet;
      partial.text3 = header_.previousDisk;
      partial.folderIndex = file.folder;
      if (handler_(notify::kPartialFile, &partial) == -1) return context_.Fail(error::kUserAbort);
      partialSeen = true;
      continue;
    }
    if (!ExtractFile(file)) return false;
  }
  // A file that began in an earlier cabinet of a set was not delivered.
  return partialSeen ? context_.Fail(error::kCabinetNotFound) : true;
}

bool Extraction::FileRecordIsSound(const FileRecord& file) const {
  if (file.name[0] == '\0') return false;
  const bool fromPrevious = file.folder == format::kFolderContinuedFromPrevious || file.folder == format::kFolderContinuedBoth;
  const bool toNext = file.folder == format::kFolderContinuedToNext || file.folder == format::kFolderContinuedBoth;
  if (fromPrevious && !header_.info.hasPrevious) return false;
  if (toNext && !header_.info.hasNext) return false;
  return fromPrevious || toNext || file.folder < header_.info.folderCount;
}

bool Extraction::ReadFileRecord(uint32_t& offset, FileRecord& file) {
  using namespace format;
  uint8_t fields[kFileSize];
  if (!reader_.Seek(offset) || !reader_.Read(fields, kFileSize) || !reader_.ReadText(file.name, kMaxName)) return false;
  offset = reader_.Tell();
  file.length = Le32(fields + kFileLength);
  file.folderOffset = Le32(fields + kFileFolderOffset);
  file.folder = Le16(fields + kFileFolder);
  file.date = Le16(fields + kFileDate);
  file.time = Le16(fields + kFileTime);
  file.attributes = Le16(fields + kFileAttributes);
  return true;
}

bool Extraction::NextCabinetNeeded() {
  Notification next = Record();
  next.text1 = header_.nextCabinet;
  next.text2 = header_.nextDisk;
  next.text3 = folderPath_;
  if (handler_(notify::kNextCabinet, &next) == -1) return context_.Fail(error::kUserAbort);
  // Sets are not followed: the rest of the folder is in a cabinet this copy never opens.
  return context_.Fail(error::kCabinetNotFound);
}

bool Extraction::ExtractFile(const FileRecord& file) {
  uint16_t folder = file.folder;
  if (folder == format::kFolderContinuedToNext) folder = static_cast<uint16_t>(header_.info.folderCount - 1);
  if (folder >= header_.info.folderCount) return context_.Fail(error::kCorruptCabinet);

  Notification copy = Record();
  copy.size = static_cast<int32_t>(file.length);
  copy.text1 = file.name;
  copy.date = file.date;
  copy.time = file.time;
  copy.attributes = file.attributes;
  copy.folderIndex = file.folder;
  intptr_t handle = handler_(notify::kCopyFile, &copy);
  if (handle == -1) return context_.Fail(error::kUserAbort);
  if (handle == 0) return true;  // the handler skips this file

  int32_t code = stream_.SeekTo(folder, file.folderOffset);
  if (code == error::kNone) code = stream_.Deliver(handle, file.length);
  if (code != error::kNone) {
    context_.callbacks.close(handle);
    if (code == kContinuesInNextCabinet) return NextCabinetNeeded();
    return context_.Fail(code);
  }
  Notification close = Record();
  close.handle = handle;
  close.text1 = file.name;
  close.date = file.date;
  close.time = file.time;
  close.attributes = file.attributes;
  close.size = (file.attributes & format::kAttributeRunAfterExtract) ? 1 : 0;
  close.folderIndex = file.folder;
  if (handler_(notify::kCloseFile, &close) == 0) return context_.Fail(error::kUserAbort);
  return true;
}

}  // namespace

bool IsCabinetFile(Context* context, intptr_t handle, CabinetInfo* info) {
  if (!context) return false;
  uint8_t fixed[format::kHeaderSize];
  uint32_t got = context->callbacks.read(handle, fixed, format::kHeaderSize);
  if (got != format::kHeaderSize) return context->Fail(error::kNotACabinet);
  CabinetInfo parsed;
  if (int32_t code = ParseFixedHeader(fixed, parsed, nullptr)) return context->Fail(code);
  if (info) *info = parsed;
  return true;
}

bool CabinetExtract(Context* context, const char* cabinetName, const char* cabinetFolder, int, NotifyFn handler,
                    DecryptFn, void* user) {
  if (!context) return false;
  if (context->errorRecord) *context->errorRecord = CabinetError{};
  if (!cabinetName || !cabinetFolder || !handler) return context->Fail(error::kCabinetNotFound);
  size_t folderLength = std::strlen(cabinetFolder);
  size_t nameLength = std::strlen(cabinetName);
  if (folderLength + nameLength + 1 > kMaxCabinetPath) return context->Fail(error::kCabinetNotFound);
  char path[kMaxCabinetPath];
  std::memcpy(path, cabinetFolder, folderLength);
  std::memcpy(path + folderLength, cabinetName, nameLength + 1);

  intptr_t handle = context->callbacks.open(path, openflag::kBinary | openflag::kReadOnly, 0);
  if (handle == -1) return context->Fail(error::kCabinetNotFound);
  CabinetReader reader(context->callbacks, handle, context->readBuffer.get());
  Extraction extraction(*context, reader, cabinetFolder, handler, user);
  bool ok = extraction.Run();
  context->callbacks.close(handle);
  return ok;
}

}  // namespace cab

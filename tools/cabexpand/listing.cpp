#include "listing.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cabinet/cabinetformat.h"
#include "cabinet/cabinetheader.h"
#include "cabinet/cabinetreader.h"

namespace {

uint32_t ReadFd(intptr_t handle, void* buffer, uint32_t count) {
  ssize_t got = ::read(static_cast<int>(handle), buffer, count);
  return got < 0 ? UINT32_MAX : static_cast<uint32_t>(got);
}
int32_t SeekFd(intptr_t handle, int32_t offset, int origin) {
  return static_cast<int32_t>(::lseek(static_cast<int>(handle), offset, origin));
}

std::string MethodName(uint16_t compression) {
  using namespace cab::format;
  char text[40];
  switch (compression & kMethodMask) {
    case kMethodStored: return "stored";
    case kMethodMszip: return "mszip";
    case kMethodQuantum: std::snprintf(text, sizeof text, "quantum:%u", WindowBits(compression)); return text;
    case kMethodLzx: std::snprintf(text, sizeof text, "lzx:%u", WindowBits(compression)); return text;
    default: std::snprintf(text, sizeof text, "unknown:0x%04x", compression); return text;
  }
}

// An open cabinet with its header read, for the listing and the byte count.
struct OpenedCabinet {
  explicit OpenedCabinet(const std::string& path)
      : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)),
        buffer(cab::CabinetReader::kBufferAllocation),
        reader(Callbacks(), fd, buffer.data()) {
    code = fd < 0 ? cab::error::kCabinetNotFound : cab::ReadCabinetHeader(reader, header);
  }
  ~OpenedCabinet() {
    if (fd >= 0) ::close(fd);
  }
  static const cab::Callbacks& Callbacks() {
    static cab::Callbacks callbacks = [] {
      cab::Callbacks c;
      c.read = ReadFd;
      c.seek = SeekFd;
      return c;
    }();
    return callbacks;
  }
  int fd;
  std::vector<uint8_t> buffer;
  cab::CabinetReader reader;
  cab::CabinetHeader header;
  int32_t code;
};

}  // namespace

bool ListCabinet(const std::string& path) {
  using namespace cab::format;
  OpenedCabinet cabinet(path);
  if (cabinet.code != cab::error::kNone) {
    std::fprintf(stderr, "cabexpand: error %d: %s\n", cabinet.code, cab::ErrorText(cabinet.code));
    return false;
  }
  cab::CabinetReader& reader = cabinet.reader;
  const cab::CabinetHeader& header = cabinet.header;
  const cab::CabinetInfo& info = header.info;
  std::printf("cabinet: %s\nlength: %d\nfolders: %u\nfiles: %u\nset: id %u, index %u\n", path.c_str(), info.cabinetLength,
              info.folderCount, info.fileCount, info.setId, info.setIndex);
  std::printf("reserve: %s (folder %u, data %u)\nprevious: %s\nnext: %s\n", info.hasReserve ? "yes" : "no",
              header.folderReserve, header.dataReserve, info.hasPrevious ? header.previousCabinet : "-",
              info.hasNext ? header.nextCabinet : "-");
  bool ok = true;
  for (uint32_t i = 0; i < info.folderCount && ok; ++i) {
    uint8_t record[kFolderSize];
    ok = reader.Seek(header.foldersOffset + i * (kFolderSize + header.folderReserve)) && reader.Read(record, kFolderSize);
    if (ok)
      std::printf("folder %u: %s, %u data blocks at %u\n", i, MethodName(Le16(record + kFolderCompression)).c_str(),
                  Le16(record + kFolderBlockCount), Le32(record + kFolderDataOffset));
  }
  uint32_t offset = header.filesOffset;
  for (uint32_t i = 0; i < info.fileCount && ok; ++i) {
    uint8_t record[kFileSize];
    char name[kMaxName];
    ok = reader.Seek(offset) && reader.Read(record, kFileSize) && reader.ReadText(name, kMaxName);
    offset = reader.Tell();
    if (ok) {
      // Names are bytes of the cabinet: show the printable ones, escape the rest.
      std::string shown;
      for (const char* p = name; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        char escaped[8];
        if (c < 0x20 || c >= 0x7F) std::snprintf(escaped, sizeof escaped, "\\x%02x", c), shown += escaped;
        else shown += static_cast<char>(c);
      }
      std::printf("file %u: %s, %u bytes, folder %u at %u\n", i, shown.c_str(), Le32(record + kFileLength),
                  Le16(record + kFileFolder), Le32(record + kFileFolderOffset));
    }
  }
  if (!ok) std::fprintf(stderr, "cabexpand: error %d: %s\n", cab::error::kCorruptCabinet, cab::ErrorText(cab::error::kCorruptCabinet));
  return ok;
}

bool CabinetOutputBytes(const std::string& path, uint64_t& bytes) {
  using namespace cab::format;
  OpenedCabinet cabinet(path);
  bool ok = cabinet.code == cab::error::kNone;
  bytes = 0;
  uint32_t offset = cabinet.header.filesOffset;
  for (uint32_t i = 0; ok && i < cabinet.header.info.fileCount; ++i) {
    uint8_t record[kFileSize];
    char name[kMaxName];
    ok = cabinet.reader.Seek(offset) && cabinet.reader.Read(record, kFileSize) && cabinet.reader.ReadText(name, kMaxName);
    offset = cabinet.reader.Tell();
    bytes += Le32(record + kFileLength);
  }
  return ok;
}

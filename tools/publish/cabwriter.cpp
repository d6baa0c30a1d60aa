#include "cabwriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace publish {
namespace {

constexpr size_t kHeaderSize = 36;
constexpr size_t kFolderEntrySize = 8;
constexpr size_t kFileEntryFixedSize = 16;
constexpr size_t kDataHeaderSize = 8;
constexpr size_t kBlockSize = 32768;  // uncompressed bytes per data block
constexpr uint16_t kTypeStored = 0;
constexpr uint16_t kTypeMszip = 1;
constexpr uint16_t kAttributeArchive = 0x20;
constexpr uint8_t kVersionMinor = 3;
constexpr uint8_t kVersionMajor = 1;
constexpr int kDeflateLevel = 6;  // level 9 costs twice the time for 0.2% of the size

void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// One MSZIP block: "CK" and a complete raw deflate stream, primed with the previous
// block's bytes as its dictionary.
class MszipEncoder {
 public:
  MszipEncoder() { ready_ = deflateInit2(&z_, kDeflateLevel, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) == Z_OK; }
  ~MszipEncoder() {
    if (ready_) deflateEnd(&z_);
  }
  MszipEncoder(const MszipEncoder&) = delete;
  MszipEncoder& operator=(const MszipEncoder&) = delete;

  bool Encode(std::span<const uint8_t> previous, std::span<const uint8_t> block, std::vector<uint8_t>& out) {
    if (!ready_ || deflateReset(&z_) != Z_OK) return false;
    if (!previous.empty() &&
        deflateSetDictionary(&z_, previous.data(), static_cast<uInt>(previous.size())) != Z_OK)
      return false;
    out.assign(2 + deflateBound(&z_, static_cast<uLong>(block.size())), 0);
    out[0] = 'C';
    out[1] = 'K';
    z_.next_in = const_cast<Bytef*>(block.data());
    z_.avail_in = static_cast<uInt>(block.size());
    z_.next_out = out.data() + 2;
    z_.avail_out = static_cast<uInt>(out.size() - 2);
    if (deflate(&z_, Z_FINISH) != Z_STREAM_END) return false;
    out.resize(out.size() - z_.avail_out);
    return true;
  }

 private:
  z_stream z_{};
  bool ready_ = false;
};

}  // namespace

uint32_t CabinetChecksum(std::span<const uint8_t> data, uint32_t seed) {
  uint32_t sum = seed;
  size_t whole = data.size() / 4 * 4;
  for (size_t i = 0; i < whole; i += 4)
    sum ^= uint32_t{data[i]} | (uint32_t{data[i + 1]} << 8) | (uint32_t{data[i + 2]} << 16) |
           (uint32_t{data[i + 3]} << 24);
  // The last one to three bytes go in high byte first.
  uint32_t tail = 0;
  for (size_t i = whole; i < data.size(); ++i) tail = (tail << 8) | data[i];
  return sum ^ tail;
}

CabinetBuild BuildSingleFileCabinet(const CabinetFile& file, Compression compression) {
  CabinetBuild build;
  size_t blockCount = (file.bytes.size() + kBlockSize - 1) / kBlockSize;
  if (file.bytes.size() > std::numeric_limits<int32_t>::max() || blockCount > 0xFFFF) {
    build.error = "file is too large for a cabinet";
    return build;
  }
  if (file.name.empty() || file.name.size() > 255) {
    build.error = "file name must have 1 to 255 characters";
    return build;
  }

  size_t fileEntry = kHeaderSize + kFolderEntrySize;
  size_t dataStart = fileEntry + kFileEntryFixedSize + file.name.size() + 1;
  std::vector<uint8_t>& out = build.bytes;
  out.assign(dataStart, 0);

  MszipEncoder encoder;
  std::vector<uint8_t> encoded;
  for (size_t b = 0; b < blockCount; ++b) {
    size_t offset = b * kBlockSize;
    auto block = file.bytes.subspan(offset, std::min(kBlockSize, file.bytes.size() - offset));
    std::span<const uint8_t> payload = block;
    if (compression == Compression::Mszip) {
      auto previous = b == 0 ? std::span<const uint8_t>{} : file.bytes.subspan(offset - kBlockSize, kBlockSize);
      if (!encoder.Encode(previous, block, encoded) || encoded.size() > 0xFFFF) {
        build.error = "compression failed";
        out.clear();
        return build;
      }
      payload = encoded;
    }
    size_t at = out.size();
    out.resize(at + kDataHeaderSize + payload.size());
    Put16(out, at + 4, static_cast<uint16_t>(payload.size()));
    Put16(out, at + 6, static_cast<uint16_t>(block.size()));
    std::memcpy(out.data() + at + kDataHeaderSize, payload.data(), payload.size());
    uint32_t sum = CabinetChecksum(payload, 0);
    Put32(out, at, CabinetChecksum(std::span<const uint8_t>(out.data() + at + 4, 4), sum));
  }

  // Header.
  std::memcpy(out.data(), "MSCF", 4);
  Put32(out, 8, static_cast<uint32_t>(out.size()));
  Put32(out, 16, static_cast<uint32_t>(fileEntry));
  out[24] = kVersionMinor;
  out[25] = kVersionMajor;
  Put16(out, 26, 1);  // folders
  Put16(out, 28, 1);  // files
  // Folder: where its data starts, how many blocks, which compression.
  Put32(out, kHeaderSize, static_cast<uint32_t>(dataStart));
  Put16(out, kHeaderSize + 4, static_cast<uint16_t>(blockCount));
  Put16(out, kHeaderSize + 6, compression == Compression::Mszip ? kTypeMszip : kTypeStored);
  // File entry.
  Put32(out, fileEntry, static_cast<uint32_t>(file.bytes.size()));
  Put16(out, fileEntry + 10, file.dosDate);
  Put16(out, fileEntry + 12, file.dosTime);
  Put16(out, fileEntry + 14, kAttributeArchive);
  std::memcpy(out.data() + fileEntry + kFileEntryFixedSize, file.name.data(), file.name.size());
  return build;
}

}  // namespace publish

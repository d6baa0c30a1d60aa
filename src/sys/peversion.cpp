#include "sys/peversion.h"


namespace sys {
namespace {

// Layout of the parts of a PE image that lead to the version resource.
constexpr size_t kDosPeOffsetField = 0x3C;
constexpr size_t kCoffHeaderSize = 20;
constexpr size_t kCoffSectionCount = 2;
constexpr size_t kCoffOptionalSize = 16;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr size_t kPe32DirectoryCount = 92;
constexpr size_t kPe32Directories = 96;
constexpr size_t kPe32PlusDirectoryCount = 108;
constexpr size_t kPe32PlusDirectories = 112;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kResourceDirectoryHeader = 16;
constexpr size_t kResourceEntrySize = 8;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kVersionResourceType = 16;
constexpr size_t kVersionKeyOffset = 6;
constexpr size_t kFixedInfoOffset = 40;  // after the key "VS_VERSION_INFO" and its padding
constexpr size_t kFixedInfoSize = 52;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BDu;
constexpr char kVersionKey[] = "VS_VERSION_INFO";

// Reads little-endian numbers from the image; a read beyond its end fails.
class ImageReader {
 public:
  explicit ImageReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Has(size_t offset, size_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  std::optional<uint16_t> U16(size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  std::optional<uint32_t> U32(size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return static_cast<uint32_t>(bytes_[offset]) | (static_cast<uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes_[offset + 2]) << 16) | (static_cast<uint32_t>(bytes_[offset + 3]) << 24);
  }

 private:
  std::span<const uint8_t> bytes_;
};

struct Image {
  size_t sectionTable = 0;
  uint16_t sectionCount = 0;
  uint32_t resourceRva = 0;
};

std::optional<Image> ReadHeaders(const ImageReader& in) {
  if (in.U16(0) != uint16_t{0x5A4D}) return std::nullopt;  // "MZ"
  auto peOffset = in.U32(kDosPeOffsetField);
  if (!peOffset || in.U32(*peOffset) != uint32_t{0x00004550}) return std::nullopt;  // "PE\0\0"
  size_t coff = size_t{*peOffset} + 4;
  auto sectionCount = in.U16(coff + kCoffSectionCount);
  auto optionalSize = in.U16(coff + kCoffOptionalSize);
  size_t optional = coff + kCoffHeaderSize;
  auto magic = in.U16(optional);
  if (!sectionCount || !optionalSize || !magic) return std::nullopt;
  size_t countField = 0, directories = 0;
  if (*magic == kMagicPe32) {
    countField = kPe32DirectoryCount;
    directories = kPe32Directories;
  } else if (*magic == kMagicPe32Plus) {
    countField = kPe32PlusDirectoryCount;
    directories = kPe32PlusDirectories;
  } else {
    return std::nullopt;
  }
  auto directoryCount = in.U32(optional + countField);
  if (!directoryCount || *directoryCount <= kResourceDirectoryIndex) return std::nullopt;
  size_t resourceEntry = optional + directories + kResourceDirectoryIndex * 8;
  if (resourceEntry + 8 > optional + *optionalSize) return std::nullopt;
  auto resourceRva = in.U32(resourceEntry);
  if (!resourceRva || *resourceRva == 0) return std::nullopt;
  return Image{optional + *optionalSize, *sectionCount, *resourceRva};
}

// The file offset of an address inside the image, when a section's raw data holds it.
std::optional<size_t> FileOffsetOf(const ImageReader& in, const Image& image, uint32_t rva) {
  for (uint16_t i = 0; i < image.sectionCount; ++i) {
    size_t header = image.sectionTable + size_t{i} * kSectionHeaderSize;
    auto virtualSize = in.U32(header + 8);
    auto virtualAddress = in.U32(header + 12);
    auto rawSize = in.U32(header + 16);
    auto rawOffset = in.U32(header + 20);
    if (!virtualSize || !virtualAddress || !rawSize || !rawOffset) return std::nullopt;
    if (rva < *virtualAddress) continue;
    uint64_t delta = uint64_t{rva} - *virtualAddress;
    if (delta >= *rawSize) continue;
    return static_cast<size_t>(uint64_t{*rawOffset} + delta);
  }
  return std::nullopt;
}

// One step down the resource tree: the offset (from the tree's root) that the chosen
// entry of the directory at `directory` points to, with its high bit telling whether
// it is a further directory.
std::optional<uint32_t> ChooseEntry(const ImageReader& in, size_t root, uint32_t directory,
                                    std::optional<uint32_t> wantedId, bool wantDirectory) {
  size_t at = root + directory;
  auto named = in.U16(at + 12);
  auto numbered = in.U16(at + 14);
  if (!named || !numbered) return std::nullopt;
  size_t count = size_t{*named} + *numbered;
  for (size_t i = 0; i < count; ++i) {
    size_t entry = at + kResourceDirectoryHeader + i * kResourceEntrySize;
    auto name = in.U32(entry);
    auto target = in.U32(entry + 4);
    if (!name || !target) return std::nullopt;
    if (wantedId && *name != *wantedId) continue;
    if (((*target & kHighBit) != 0) != wantDirectory) continue;
    return *target & ~kHighBit;
  }
  return std::nullopt;
}

bool HasVersionKey(const ImageReader& in, size_t block) {
  for (size_t i = 0; i < sizeof kVersionKey; ++i) {
    if (in.U16(block + kVersionKeyOffset + 2 * i) != uint16_t(static_cast<unsigned char>(kVersionKey[i])))
      return false;
  }
  return true;
}

FileVersion PartsOf(uint32_t most, uint32_t least) {
  return {static_cast<uint16_t>(most >> 16), static_cast<uint16_t>(most & 0xFFFF),
          static_cast<uint16_t>(least >> 16), static_cast<uint16_t>(least & 0xFFFF)};
}

}  // namespace

std::optional<PeVersion> ReadPeVersion(std::span<const uint8_t> bytes) {
  ImageReader in(bytes);
  auto image = ReadHeaders(in);
  if (!image) return std::nullopt;
  auto root = FileOffsetOf(in, *image, image->resourceRva);
  if (!root) return std::nullopt;

  // Type 16 (version), then its first name, then its first language.
  auto names = ChooseEntry(in, *root, 0, kVersionResourceType, true);
  if (!names) return std::nullopt;
  auto languages = ChooseEntry(in, *root, *names, std::nullopt, true);
  if (!languages) return std::nullopt;
  auto data = ChooseEntry(in, *root, *languages, std::nullopt, false);
  if (!data) return std::nullopt;
  auto dataRva = in.U32(*root + *data);
  auto dataSize = in.U32(*root + *data + 4);
  if (!dataRva || !dataSize) return std::nullopt;
  auto block = FileOffsetOf(in, *image, *dataRva);
  if (!block || !in.Has(*block, *dataSize)) return std::nullopt;

  auto valueLength = in.U16(*block + 2);
  if (!valueLength || *valueLength < kFixedInfoSize) return std::nullopt;
  if (*dataSize < kFixedInfoOffset + kFixedInfoSize || !HasVersionKey(in, *block)) return std::nullopt;
  size_t fixed = *block + kFixedInfoOffset;
  if (in.U32(fixed) != kFixedInfoSignature) return std::nullopt;
  PeVersion version;
  version.file = PartsOf(*in.U32(fixed + 8), *in.U32(fixed + 12));
  version.product = PartsOf(*in.U32(fixed + 16), *in.U32(fixed + 20));
  return version;
}

}  // namespace sys

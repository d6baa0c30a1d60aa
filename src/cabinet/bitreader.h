#pragma once
// Bit readers over one data block held in memory. Every block buffer is followed by at
// least kInputPadding readable bytes, so refills load eight bytes at a time without a
// bounds test; bits taken beyond the block's end are counted, and the method decoders
// treat any such overrun as a data error.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cab {

constexpr size_t kInputPadding = 16;

inline uint64_t LoadLe64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

// Deflate order: bits are taken from the low end of each byte first.
class LsbBitReader {
 public:
  void Start(const uint8_t* data, size_t size) {
    begin_ = pos_ = data;
    end_ = data + size;
    bits_ = 0;
    count_ = 0;
    virtualBits_ = 0;
  }
  // Afterwards at least 56 bits are buffered.
  void Refill() {
    if (pos_ <= end_) {
      bits_ |= LoadLe64(pos_) << count_;
      pos_ += (63 - count_) >> 3;
      count_ |= 56;
    } else if (count_ < 56) {  // past the end: zeros, counted
      virtualBits_ += 56 - count_;
      count_ = 56;
    }
  }
  uint32_t Peek(unsigned n) const { return static_cast<uint32_t>(bits_ & ((uint64_t{1} << n) - 1)); }
  void Drop(unsigned n) {
    bits_ >>= n;
    count_ -= n;
  }
  uint32_t Take(unsigned n) {
    uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  uint64_t Buffer() const { return bits_; }
  void AlignToByte() { Drop(count_ & 7); }
  size_t ConsumedBits() const { return static_cast<size_t>(pos_ - begin_) * 8 + virtualBits_ - count_; }
  bool Overrun() const { return ConsumedBits() > static_cast<size_t>(end_ - begin_) * 8; }
  // Byte position of the next bit (call when byte-aligned), and a restart there.
  size_t BytePosition() const { return ConsumedBits() / 8; }
  size_t Size() const { return static_cast<size_t>(end_ - begin_); }
  const uint8_t* Data() const { return begin_; }
  void RestartAt(size_t byte) {
    pos_ = begin_ + byte;
    bits_ = 0;
    count_ = 0;
    virtualBits_ = 0;
  }

 private:
  const uint8_t* begin_ = nullptr;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t bits_ = 0;
  unsigned count_ = 0;
  size_t virtualBits_ = 0;
};

// LZX and Quantum order: the most significant bit first. LZX reads 16-bit little-endian
// words; Quantum reads bytes. The next bit is bit 63 of the buffer.
template <bool kWords>
class MsbBitReader {
 public:
  void Start(const uint8_t* data, size_t size) {
    begin_ = pos_ = data;
    end_ = data + size;
    bits_ = 0;
    count_ = 0;
    virtualBits_ = 0;
    origin_ = 0;
  }
  // Afterwards at least 48 bits are buffered.
  void Refill() {
    if (count_ <= 32 && pos_ + 4 <= end_) {  // two units at once, the usual case
      uint64_t pair = kWords ? static_cast<uint64_t>(pos_[0] | pos_[1] << 8) << 16 | (pos_[2] | pos_[3] << 8)
                             : static_cast<uint64_t>(pos_[0]) << 24 | pos_[1] << 16 | pos_[2] << 8 | pos_[3];
      bits_ |= pair << (32 - count_);
      count_ += 32;
      pos_ += 4;
    }
    while (count_ <= 48) {
      uint64_t unit = 0;
      if (pos_ + 2 <= end_) {
        unit = kWords ? static_cast<uint64_t>(pos_[0] | pos_[1] << 8) : static_cast<uint64_t>(pos_[0] << 8 | pos_[1]);
        pos_ += 2;
      } else if (!kWords && pos_ < end_) {  // bytes: one last odd byte, then zeros
        unit = static_cast<uint64_t>(pos_[0]) << 8;
        pos_ += 1;
        virtualBits_ += 8;
      } else {  // past the end: zeros, counted
        virtualBits_ += 16;
      }
      bits_ |= unit << (48 - count_);
      count_ += 16;
    }
  }
  void Ensure(unsigned n) {
    if (count_ < n) Refill();
  }
  uint32_t Peek(unsigned n) const { return n == 0 ? 0 : static_cast<uint32_t>(bits_ >> (64 - n)); }
  void Drop(unsigned n) {
    bits_ <<= n;
    count_ -= n;
  }
  uint32_t Take(unsigned n) {
    Ensure(n);
    uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  uint64_t Buffer() const { return bits_; }
  unsigned Count() const { return count_; }
  size_t ConsumedBits() const { return static_cast<size_t>(pos_ - begin_) * 8 + virtualBits_ - count_; }
  bool Overrun() const { return ConsumedBits() > static_cast<size_t>(end_ - begin_) * 8; }
  size_t Size() const { return static_cast<size_t>(end_ - begin_); }
  const uint8_t* Data() const { return begin_; }
  void RestartAt(size_t byte) {
    pos_ = begin_ + (byte < Size() ? byte : Size());
    bits_ = 0;
    count_ = 0;
    virtualBits_ = byte < Size() ? 0 : (byte - Size()) * 8;
    origin_ = byte;
  }
  // Words are counted from where reading last (re)started: alignment is relative to it.
  size_t Origin() const { return origin_; }
  size_t BitsSinceOrigin() const { return ConsumedBits() - origin_ * 8; }

 private:
  const uint8_t* begin_ = nullptr;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t bits_ = 0;
  unsigned count_ = 0;
  size_t virtualBits_ = 0;
  size_t origin_ = 0;
};

using WordBitReader = MsbBitReader<true>;
using ByteBitReader = MsbBitReader<false>;

}  // namespace cab

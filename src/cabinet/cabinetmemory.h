#pragma once
// Memory that comes from the caller's allocation callbacks, owned by small RAII holders.
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "cabinet/cabinet.h"

namespace cab {

struct Memory {
  AllocFn alloc = nullptr;
  FreeFn free = nullptr;
  void* Allocate(size_t size) const {
    if (size > UINT32_MAX) return nullptr;
    return alloc(static_cast<uint32_t>(size));
  }
};

// A byte (or word) array from the caller's allocator; empty when allocation failed.
template <typename T>
class Block {
 public:
  Block() = default;
  Block(const Memory& memory, size_t count) : memory_(memory) {
    data_ = static_cast<T*>(memory.Allocate(count * sizeof(T)));
    size_ = data_ ? count : 0;
  }
  Block(Block&& other) noexcept { *this = std::move(other); }
  Block& operator=(Block&& other) noexcept {
    std::swap(memory_, other.memory_);
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;
  ~Block() {
    if (data_) memory_.free(data_);
  }
  T* get() const { return data_; }
  size_t size() const { return size_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  Memory memory_{};
  T* data_ = nullptr;
  size_t size_ = 0;
};

// Constructs a T in memory from the caller's allocator; nullptr when that fails.
template <typename T, typename... Args>
T* MakeWith(const Memory& memory, Args&&... args) {
  void* place = memory.Allocate(sizeof(T));
  if (!place) return nullptr;
  return new (place) T(std::forward<Args>(args)...);
}

template <typename T>
void DestroyWith(const Memory& memory, T* object) {
  if (!object) return;
  object->~T();
  memory.free(object);
}

}  // namespace cab

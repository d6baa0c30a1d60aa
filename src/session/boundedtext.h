#pragma once
// A text field with the capacity of the record it belongs to (capacity includes the
// terminating NUL, as the stored and exchanged forms have it). A longer value is cut,
// never overflows, so every consumer can rely on the limit.
#include <cstddef>
#include <string>
#include <string_view>

template <std::size_t Capacity>
class BoundedText {
  static_assert(Capacity >= 1);

 public:
  static constexpr std::size_t kCapacity = Capacity;
  static constexpr std::size_t kMaxLength = Capacity - 1;

  BoundedText() = default;
  BoundedText(std::string_view text) { assign(text); }  // NOLINT: reads like the field it replaces
  BoundedText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }

  void assign(std::string_view text) { value_.assign(text.substr(0, kMaxLength)); }
  void clear() { value_.clear(); }
  bool empty() const { return value_.empty(); }
  std::size_t size() const { return value_.size(); }
  const char* c_str() const { return value_.c_str(); }
  const std::string& str() const { return value_; }
  operator const std::string&() const { return value_; }  // NOLINT
  operator std::string_view() const { return value_; }   // NOLINT
  char operator[](std::size_t i) const { return value_[i]; }

  friend bool operator==(const BoundedText& a, std::string_view b) { return std::string_view(a.value_) == b; }

 private:
  std::string value_;
};

#pragma once
// A one-line progress bar on a terminal; silent when the output is not a terminal.
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace publish {

class ProgressBar {
 public:
  explicit ProgressBar(std::FILE* out);
  void Show(size_t done, size_t total, uint64_t bytes);
  void Finish();

 private:
  std::FILE* out_;
  bool terminal_;
  bool shown_ = false;
};

}  // namespace publish

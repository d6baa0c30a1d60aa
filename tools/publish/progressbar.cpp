#include "progressbar.h"

#include <unistd.h>

#include <string>

namespace publish {
namespace {
constexpr size_t kBarWidth = 30;
}

ProgressBar::ProgressBar(std::FILE* out) : out_(out), terminal_(isatty(fileno(out)) != 0) {}

void ProgressBar::Show(size_t done, size_t total, uint64_t bytes) {
  if (!terminal_ || total == 0) return;
  size_t filled = done * kBarWidth / total;
  std::string bar(filled, '#');
  bar.resize(kBarWidth, '.');
  std::fprintf(out_, "\r[%s] %zu/%zu items, %.1f MB", bar.c_str(), done, total, static_cast<double>(bytes) / 1e6);
  std::fflush(out_);
  shown_ = true;
}

void ProgressBar::Finish() {
  if (shown_) std::fputc('\n', out_);
  shown_ = false;
}

}  // namespace publish

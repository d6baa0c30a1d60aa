#include "seam/contract.h"

#include "sys/files.h"
#include "sys/os.h"

namespace seam {

void Bench::Fail(const char* file, int line, const std::string& what) {
  std::string where = file;
  where = where.substr(where.find_last_of("/\\") + 1);
  failures.push_back(where + ":" + std::to_string(line) + ": " + what);
}

std::vector<Check>& Checks() {
  static std::vector<Check> checks;
  return checks;
}

bool Register(const char* name, void (*run)(Bench&)) {
  Checks().push_back(Check{name, run});
  return true;
}

std::string WriteFile(const std::string& path, const std::string& text) {
  sys::Files& files = *sys::os().files;
  auto handle = files.Open(path, sys::FileAccess::Write, 0, sys::Disposition::CreateAlways);
  if (!handle.ok()) return "open " + std::to_string(handle.error);
  auto written = files.Write(handle.value, text.data(), static_cast<uint32_t>(text.size()));
  files.Close(handle.value);
  return written.ok() ? "" : "write " + std::to_string(written.error);
}

std::string ReadFile(const std::string& path) {
  sys::Files& files = *sys::os().files;
  auto handle = files.Open(path, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!handle.ok()) return "(open " + std::to_string(handle.error) + ")";
  char buffer[4096];  // larger than any file of the checks
  auto got = files.Read(handle.value, buffer, sizeof buffer);
  files.Close(handle.value);
  return got.ok() ? std::string(buffer, got.value) : "(read " + std::to_string(got.error) + ")";
}

}  // namespace seam

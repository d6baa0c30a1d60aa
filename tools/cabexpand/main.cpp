// cabexpand: expands a cabinet through the product's own ExpandCabinet (same callbacks,
// same notification handler), lists a cabinet, or measures expansion speed.
//
//   cabexpand CABINET OUTPUT
//   cabexpand --list CABINET
//   cabexpand --bench [--repeat N] CABINET...
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench.h"
#include "diskfiles.h"
#include "listing.h"
#include "sys/os.h"
#include "updaterun/expandcabinet.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: cabexpand CABINET OUTPUT\n"
               "       cabexpand --list CABINET\n"
               "       cabexpand --bench [--repeat N] CABINET...\n");
  return 2;
}

int Expand(const std::string& cabinet, const std::string& output) {
  // The product expands into an empty temporary file and writes it from the start without
  // truncating; an OUTPUT that already exists is emptied here so no old tail survives.
  if (std::FILE* emptied = std::fopen(output.c_str(), "wb")) {
    std::fclose(emptied);
  } else {
    std::fprintf(stderr, "cabexpand: cannot write %s\n", output.c_str());
    return 1;
  }
  if (ExpandCabinet(cabinet, output)) return 0;
  int32_t code = CabinetErrorRecord().code;
  if (code == cab::error::kNone)
    std::fprintf(stderr, "cabexpand: error 0: the cabinet path has no folder or no context could be made\n");
  else
    std::fprintf(stderr, "cabexpand: error %d: %s\n", code, cab::ErrorText(code));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  static DiskFiles files;  // the expansion reaches the disk through the system's files
  sys::Os os;
  os.files = &files;
  sys::InstallOs(os);
  if (args.size() == 2 && args[0] == "--list") return ListCabinet(args[1]) ? 0 : 1;
  if (!args.empty() && args[0] == "--bench") {
    int repeat = 5;
    size_t first = 1;
    if (args.size() > 2 && args[1] == "--repeat") {
      repeat = std::atoi(args[2].c_str());
      first = 3;
      if (repeat < 1 || repeat > 1000) return Usage();
    }
    if (first >= args.size()) return Usage();
    return RunBenchmark(std::vector<std::string>(args.begin() + first, args.end()), repeat);
  }
  if (args.size() == 2 && args[0].rfind("--", 0) != 0) return Expand(args[0], args[1]);
  return Usage();
}

#include "commandline.h"

namespace site {

CommandLine ReadCommandLine(int argc, char** argv,
                            const std::function<std::string(const std::string& name, const std::string& value)>& take) {
  CommandLine line;
  for (int i = 1; i < argc && line.error.empty(); ++i) {
    std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      line.help = true;
      return line;
    }
    if (name.rfind("--", 0) != 0) {
      line.error = "unexpected argument '" + name + "'";
    } else if (i + 1 >= argc) {
      line.error = name + " needs a value";
    } else {
      line.error = take(name, argv[++i]);
    }
  }
  return line;
}

}  // namespace site

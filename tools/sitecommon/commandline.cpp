#include "commandline.h"

#include <cstdio>

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

std::optional<int> AnswerHelpOrUsage(const char* tool, const char* help, const CommandLine& line) {
  if (line.help) {
    std::fputs(help, stdout);
    return 0;
  }
  if (!line.error.empty()) return ReportProblem(tool, line.error + " (see --help)", kExitUsage);
  return std::nullopt;
}

int ReportProblem(const char* tool, const std::string& problem, int exitCode) {
  std::fprintf(stderr, "%s: %s\n", tool, problem.c_str());
  return exitCode;
}

}  // namespace site

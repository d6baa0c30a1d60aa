#pragma once
// The tools' command lines: "--name value" pairs, and --help (or -h) on its own.
#include <functional>
#include <string>

namespace site {

struct CommandLine {
  bool help = false;
  std::string error;  // the first problem; empty when every option was taken
};

// Hands each pair to `take`, which answers with a problem or nothing; stops at the
// first problem and at --help.
CommandLine ReadCommandLine(int argc, char** argv,
                            const std::function<std::string(const std::string& name, const std::string& value)>& take);

}  // namespace site

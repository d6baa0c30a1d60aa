#pragma once
// The tools' command lines: "--name value" pairs, and --help (or -h) on its own, and
// the way every tool answers them.
#include <functional>
#include <optional>
#include <string>

namespace site {

// The tools' exit codes besides 0.
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct CommandLine {
  bool help = false;
  std::string error;  // the first problem; empty when every option was taken
};

// Hands each pair to `take`, which answers with a problem or nothing; stops at the
// first problem and at --help.
CommandLine ReadCommandLine(int argc, char** argv,
                            const std::function<std::string(const std::string& name, const std::string& value)>& take);

// The start of every tool's main: --help prints `help` to stdout (exit 0); a problem
// with the command line is reported with a pointer to --help (exit kExitUsage). Empty
// when the tool goes on.
std::optional<int> AnswerHelpOrUsage(const char* tool, const char* help, const CommandLine& line);

// Writes "TOOL: PROBLEM" to stderr and returns `exitCode` for main to return.
int ReportProblem(const char* tool, const std::string& problem, int exitCode);

}  // namespace site

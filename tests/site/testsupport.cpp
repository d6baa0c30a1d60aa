#include "testsupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace sitetest {
namespace {

constexpr auto kWait = std::chrono::seconds(10);  // for a start and for a stop
constexpr auto kPoll = std::chrono::milliseconds(20);

pid_t Spawn(const std::vector<std::string>& argv, const fs::path& output) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int ExitStatusOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

fs::path RunFolder() { return fs::path(PLANDRIX_BINARY_DIR) / "site-tests" / ("run-" + std::to_string(getpid())); }

// The run's scratch folders go when every test passed, and stay for a look otherwise.
class ScratchCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    std::error_code ec;
    if (::testing::UnitTest::GetInstance()->Passed()) fs::remove_all(RunFolder(), ec);
  }
};
const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

}  // namespace

fs::path FreshFolder(const std::string& name) {
  fs::path folder = RunFolder() / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::string ReadText(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string Tool(const char* name) { return std::string(PLANDRIX_BINARY_DIR) + "/bin/" + name; }

RunResult Run(const std::vector<std::string>& argv) {
  static int counter = 0;
  fs::create_directories(RunFolder());
  fs::path output = RunFolder() / ("run-output-" + std::to_string(counter++));
  RunResult result;
  if (pid_t pid = Spawn(argv, output); pid > 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = ExitStatusOf(status);
  }
  result.output = ReadText(output);
  return result;
}

SiteProcess::SiteProcess(const fs::path& root, const std::vector<std::string>& options, const fs::path& scratch) {
  static int counter = 0;
  std::string tag = std::to_string(counter++);
  fs::path portFile = scratch / ("port-" + tag);
  outputFile_ = scratch / ("site-output-" + tag + ".txt");
  std::vector<std::string> argv = {Tool("plandrix-site"), "--root", root.string(), "--listen", "127.0.0.1:0",
                                   "--port-file", portFile.string()};
  argv.insert(argv.end(), options.begin(), options.end());
  pid_ = Spawn(argv, outputFile_);
  for (auto until = std::chrono::steady_clock::now() + kWait; pid_ > 0 && std::chrono::steady_clock::now() < until;) {
    if (std::string text = ReadText(portFile); !text.empty()) {
      port_ = std::atoi(text.c_str());
      return;
    }
    if (int status = 0; waitpid(pid_, &status, WNOHANG) == pid_) pid_ = -1;  // it gave up
    std::this_thread::sleep_for(kPoll);
  }
}

int SiteProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  auto until = std::chrono::steady_clock::now() + kWait;
  while (waitpid(pid_, &status, WNOHANG) != pid_) {
    if (std::chrono::steady_clock::now() > until) kill(pid_, SIGKILL);  // then its status says -1
    std::this_thread::sleep_for(kPoll);
  }
  pid_ = -1;
  return ExitStatusOf(status);
}

}  // namespace sitetest

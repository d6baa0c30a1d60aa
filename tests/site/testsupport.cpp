#include "testsupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace sitetest {
namespace {

constexpr auto kStartWait = std::chrono::seconds(10);
constexpr auto kStopWait = std::chrono::seconds(10);
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

RunResult Run(const std::vector<std::string>& argv) {
  static int counter = 0;
  fs::path output = fs::temp_directory_path() / ("site-test-run-" + std::to_string(getpid()) + "-" +
                                                 std::to_string(counter++) + ".txt");
  RunResult result;
  pid_t pid = Spawn(argv, output);
  if (pid > 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = ExitStatusOf(status);
  }
  result.output = ReadText(output);
  fs::remove(output);
  return result;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const fs::path& path) {
  auto bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const fs::path& path, const std::string& text) { WriteBytes(path, {text.begin(), text.end()}); }

std::string Tool(const char* name) { return std::string(PLANDRIX_BINARY_DIR) + "/bin/" + name; }

SiteProcess::SiteProcess(const fs::path& root, const std::vector<std::string>& options, const fs::path& scratch) {
  static int counter = 0;
  std::string tag = std::to_string(counter++);
  fs::path portFile = scratch / ("port-" + tag);
  outputFile_ = scratch / ("site-output-" + tag + ".txt");
  fs::remove(portFile);
  std::vector<std::string> argv = {Tool("plandrix-site"), "--root", root.string(), "--listen", "127.0.0.1:0",
                                   "--port-file", portFile.string()};
  argv.insert(argv.end(), options.begin(), options.end());
  pid_ = Spawn(argv, outputFile_);
  if (pid_ <= 0) return;
  for (auto until = std::chrono::steady_clock::now() + kStartWait; std::chrono::steady_clock::now() < until;) {
    std::string text = ReadText(portFile);
    if (!text.empty()) {
      port_ = std::atoi(text.c_str());
      return;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {  // it gave up
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

SiteProcess::~SiteProcess() { Stop(); }

int SiteProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  for (auto until = std::chrono::steady_clock::now() + kStopWait; std::chrono::steady_clock::now() < until;) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return ExitStatusOf(status);
    }
    std::this_thread::sleep_for(kPoll);
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return -1;
}

std::string SiteProcess::Output() const { return ReadText(outputFile_); }

}  // namespace sitetest

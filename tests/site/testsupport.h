#pragma once
// Helpers of the site tests: scratch folders, running the tools, and a site server
// started on a free port and stopped with SIGTERM.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace sitetest {

// An empty folder of its own below the build tree.
std::filesystem::path FreshFolder(const std::string& name);
std::string ReadText(const std::filesystem::path& path);  // any bytes
void WriteText(const std::filesystem::path& path, const std::string& text);
std::string Tool(const char* name);  // <build>/bin/<name>

struct RunResult {
  int status = -1;     // exit status, or -1 when the program did not end normally
  std::string output;  // stdout and stderr together
};
RunResult Run(const std::vector<std::string>& argv);

// plandrix-site on 127.0.0.1 and a port it picked itself; port() is 0 when it did not come up.
class SiteProcess {
 public:
  SiteProcess(const std::filesystem::path& root, const std::vector<std::string>& options,
              const std::filesystem::path& scratch);
  ~SiteProcess() { Stop(); }
  SiteProcess(const SiteProcess&) = delete;
  SiteProcess& operator=(const SiteProcess&) = delete;

  int port() const { return port_; }
  // Sends SIGTERM and waits; the exit status, or -1 when it had to be killed.
  int Stop();
  std::string Output() const { return ReadText(outputFile_); }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::filesystem::path outputFile_;
};

}  // namespace sitetest

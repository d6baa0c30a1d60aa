#include "bench.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "listing.h"
#include "updaterun/expandcabinet.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// Times the three contenders in turns, so that a busy machine slows each of them alike.
// Each time is the CPU time (user and system) of the work: on a shared machine the
// wall clock mostly measures the others. Medians; a negative time marks a failure.
struct Timings {
  double ours = 0, reference = 0, copy = 0;
};

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double childCpuSeconds = 0;  // set by RunReference: the child's own CPU time

template <typename A, typename B, typename C>
Timings TimeInTurns(int repeat, A ours, B reference, C copy) {
  std::vector<double> a, b, c;
  auto inProcess = [](auto& work, std::vector<double>& into) {
    double start = ProcessCpuSeconds();
    bool ok = work();
    into.push_back(ok ? ProcessCpuSeconds() - start : -1e9);
  };
  for (int i = 0; i < repeat; ++i) {
    inProcess(ours, a);
    b.push_back(reference() ? childCpuSeconds : -1e9);
    inProcess(copy, c);
  }
  return {Median(a), Median(b), Median(c)};
}

// Runs `cabextract -q -p cabinet > /dev/null`; true when it exited 0.
bool RunReference(const std::string& cabinet, long* peakKb) {
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    int sink = ::open("/dev/null", O_WRONLY);
    dup2(sink, 1);
    dup2(sink, 2);
    execlp("cabextract", "cabextract", "-q", "-p", cabinet.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return false;
  if (peakKb) *peakKb = usage.ru_maxrss;
  childCpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool PlainCopy(const std::string& cabinet) {
  static std::vector<char> buffer(0x20000);
  int in = ::open(cabinet.c_str(), O_RDONLY);
  int out = ::open("/dev/null", O_WRONLY);
  bool ok = in >= 0 && out >= 0;
  for (ssize_t got; ok && (got = ::read(in, buffer.data(), buffer.size())) > 0;) ok = ::write(out, buffer.data(), got) == got;
  if (in >= 0) ::close(in);
  if (out >= 0) ::close(out);
  return ok;
}

// Peak resident memory (KB) of a fresh child that expands the cabinet once, and of one
// that does nothing (the program's own baseline).
long ChildPeakKb(const std::string* cabinet) {
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) _exit(cabinet && !ExpandCabinet(*cabinet, "/dev/null") ? 1 : 0);
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return -1;
  return usage.ru_maxrss;
}

double FileBytes(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  off_t size = ::lseek(fd, 0, SEEK_END);
  ::close(fd);
  return static_cast<double>(size);
}

}  // namespace

int RunBenchmark(const std::vector<std::string>& cabinets, int repeat) {
  std::printf("%-44s %9s %10s %10s %7s %10s %7s %9s %9s\n", "cabinet", "out MB", "ours MB/s", "ref MB/s", "ratio",
              "copy MB/s", "/copy", "peak KB", "ref KB");
  const long baseline = ChildPeakKb(nullptr);
  int failures = 0;
  for (const std::string& cabinet : cabinets) {
    uint64_t outBytes = 0;
    if (!CabinetOutputBytes(cabinet, outBytes)) {
      std::fprintf(stderr, "cabexpand: cannot read %s\n", cabinet.c_str());
      ++failures;
      continue;
    }
    const double megabytes = static_cast<double>(outBytes) / 1e6;
    long refPeak = 0;
    Timings t = TimeInTurns(
        repeat, [&] { return ExpandCabinet(cabinet, "/dev/null"); }, [&] { return RunReference(cabinet, &refPeak); },
        [&] { return PlainCopy(cabinet); });
    const double ours = t.ours, reference = t.reference, copy = t.copy;
    long peak = ChildPeakKb(&cabinet);
    std::string name = cabinet.substr(cabinet.find_last_of('/') + 1);
    double oursRate = ours > 0 ? megabytes / ours : 0;
    double refRate = reference > 0 ? megabytes / reference : 0;
    double copyRate = copy > 0 ? FileBytes(cabinet) / 1e6 / copy : 0;
    std::printf("%-44s %9.2f %10.1f %10.1f %7.2f %10.1f %7.2f %9ld %9ld\n", name.c_str(), megabytes, oursRate, refRate,
                refRate > 0 ? oursRate / refRate : 0.0, copyRate, copyRate > 0 ? oursRate / copyRate : 0.0, peak,
                refPeak);
    if (ours < 0) ++failures;
  }
  std::printf("baseline peak of the program without an expansion: %ld KB\n", baseline);
  return failures == 0 ? 0 : 1;
}

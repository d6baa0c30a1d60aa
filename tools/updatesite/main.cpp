// plandrix-site: the update site that the installer downloads releases from.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "boundedpool.h"
#include "commandline.h"
#include "sitehandler.h"
#include "users.h"
#include "waitingserver.h"

namespace {

constexpr char kTool[] = "plandrix-site";
constexpr size_t kDefaultThreads = 16;
constexpr size_t kMaxThreads = 256;
constexpr size_t kWaitingPerWorker = 4;  // accepted connections in line per worker
constexpr size_t kRequestBodyLimit = 4096;
constexpr int kKeepAliveRequests = 100;
constexpr int kDefaultRequestSeconds = 10;

const char kHelp[] =
    "usage: plandrix-site --root SITEDIR --listen HOST:PORT [--users FILE]\n"
    "                     [--tls-cert PEM --tls-key PEM] [--faults FILE] [--log FILE]\n"
    "                     [--port-file FILE] [--threads N] [--request-time SECONDS]\n"
    "\n"
    "Serves the releases that plandrix-publish wrote into SITEDIR to the installer:\n"
    "below /docs/ the server time stamp, release lists, file lists (registration data\n"
    "is appended to SITEDIR/registrations.log), items and their sizes, and plain help\n"
    "and document pages.\n"
    "\n"
    "  --root SITEDIR     the site folder\n"
    "  --listen HOST:PORT address to listen on; port 0 picks a free port\n"
    "  --users FILE       require HTTP Basic authentication; lines of name:password,\n"
    "                     a name may be DOMAIN\\user (then only that domain is accepted)\n"
    "  --tls-cert PEM     serve HTTPS with this certificate ...\n"
    "  --tls-key PEM      ... and this private key\n"
    "  --faults FILE      fault rules for tests, read again whenever the file changes:\n"
    "                       PAGE[?KEY=VALUE&...] ACTION [ARGS] [times=N]\n"
    "                     actions: html | error TEXT | status N | 401 | short N |\n"
    "                              cut N | sizes SIZE CABSIZE | slow BYTES_PER_SECOND\n"
    "                     e.g.  LogItemAttachment.aspx?Item=* short 10 times=2\n"
    "                           LogItemAttachUpDnLoad.aspx?Action=10 401\n"
    "  --log FILE         append one line per request (time, client, status, target)\n"
    "  --port-file FILE   write the bound port into FILE once the site is listening\n"
    "  --threads N        requests handled at once (default 16); over HTTP, connections\n"
    "                     wait for their request without a thread, over HTTPS four\n"
    "                     times as many accepted connections may wait for a thread\n"
    "  --request-time SECONDS  time a connection has to send a whole request, from\n"
    "                     connecting or from its last reply (default 10; HTTP only)\n"
    "  --help             this text\n"
    "\n"
    "The site prints \"listening on http://HOST:PORT/\" when ready and stops cleanly on\n"
    "SIGTERM or SIGINT.\n";

struct Arguments {
  updatesite::SiteConfig config;
  std::string host;
  int port = -1;
  std::string usersFile, certFile, keyFile, portFile;
  size_t threads = kDefaultThreads;
  int requestSeconds = kDefaultRequestSeconds;
  site::CommandLine line;  // --help, or the first problem
};

bool ParseListen(const std::string& text, Arguments& a) {
  size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  a.host = text.substr(0, colon);
  try {
    size_t used = 0;
    a.port = std::stoi(text.substr(colon + 1), &used);
    return used == text.size() - colon - 1 && a.port >= 0 && a.port <= 65535;
  } catch (...) {
    return false;
  }
}

Arguments ParseArguments(int argc, char** argv) {
  Arguments a;
  a.line = site::ReadCommandLine(argc, argv, [&](const std::string& name, const std::string& value) -> std::string {
    if (name == "--root") a.config.root = value;
    else if (name == "--listen") { if (!ParseListen(value, a)) return "--listen must be HOST:PORT"; }
    else if (name == "--users") a.usersFile = value;
    else if (name == "--tls-cert") a.certFile = value;
    else if (name == "--tls-key") a.keyFile = value;
    else if (name == "--faults") a.config.faultFile = value;
    else if (name == "--log") a.config.accessLog = value;
    else if (name == "--port-file") a.portFile = value;
    else if (name == "--threads") {
      a.threads = static_cast<size_t>(std::atoi(value.c_str()));
      if (a.threads == 0 || a.threads > kMaxThreads) return "--threads must be 1 to 256";
    } else if (name == "--request-time") {
      a.requestSeconds = std::atoi(value.c_str());
      if (a.requestSeconds <= 0 || a.requestSeconds > 3600) return "--request-time must be 1 to 3600";
    } else return "unknown option '" + name + "'";
    return {};
  });
  if (!a.line.error.empty() || a.line.help) return a;
  if (a.config.root.empty() || a.port < 0) a.line.error = "--root and --listen are required";
  else if (a.certFile.empty() != a.keyFile.empty()) a.line.error = "--tls-cert and --tls-key go together";
  return a;
}

std::string LoadUsers(Arguments& a) {
  if (a.usersFile.empty()) return {};
  std::ifstream in(a.usersFile, std::ios::binary);
  if (!in) return "cannot read the users file " + a.usersFile;
  std::ostringstream text;
  text << in.rdbuf();
  auto parsed = updatesite::ParseUsers(text.str());
  if (!parsed.error.empty()) return "users file " + a.usersFile + ", " + parsed.error;
  a.config.users = std::move(parsed.users);
  return {};
}

// Written beside the target and renamed, so a script never reads half a number.
bool WritePortFile(const std::string& path, int port) {
  std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << port << "\n";
    if (!out) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

// Waiting connections each hold a descriptor; allow as many as the system lets us.
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args = ParseArguments(argc, argv);
  if (!args.line.help && args.line.error.empty()) args.line.error = LoadUsers(args);
  if (std::optional<int> exit = site::AnswerHelpOrUsage(kTool, kHelp, args.line)) return *exit;
  std::error_code ec;
  if (!std::filesystem::is_directory(args.config.root, ec))
    return site::ReportProblem(kTool, "--root " + args.config.root.string() + " is not a folder", site::kExitUsage);

  // The signals are taken by one thread that stops the server; every other thread,
  // the server's workers too, inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  RaiseDescriptorLimit();

  std::unique_ptr<httplib::Server> server;
  updatesite::WaitingServer* plain = nullptr;
  bool tls = !args.certFile.empty();
  if (tls) {
    auto secure = std::make_unique<httplib::SSLServer>(args.certFile.c_str(), args.keyFile.c_str());
    if (!secure->is_valid())
      return site::ReportProblem(kTool, "cannot use the certificate " + args.certFile + " with the key " + args.keyFile,
                                 site::kExitFailed);
    size_t threads = args.threads;
    secure->new_task_queue = [threads] { return new updatesite::BoundedPool(threads, threads * kWaitingPerWorker); };
    server = std::move(secure);
  } else {
    updatesite::ConnectionLimits limits;
    limits.requestTime = std::chrono::seconds(args.requestSeconds);
    limits.requestsPerConnection = kKeepAliveRequests;
    plain = new updatesite::WaitingServer(args.threads, limits);
    server.reset(plain);
  }
  server->set_payload_max_length(kRequestBodyLimit);
  server->set_keep_alive_max_count(kKeepAliveRequests);
  server->set_tcp_nodelay(true);  // headers and body go out in separate writes

  updatesite::SiteHandler handler(args.config);
  handler.Attach(*server);

  int port = args.port;
  if (port == 0) port = server->bind_to_any_port(args.host);
  else if (!server->bind_to_port(args.host, port)) port = -1;
  if (port <= 0)
    return site::ReportProblem(kTool, "cannot listen on " + args.host + ":" + std::to_string(args.port),
                               site::kExitFailed);
  if (plain) plain->WidenListenQueue();
  if (!args.portFile.empty() && !WritePortFile(args.portFile, port))
    return site::ReportProblem(kTool, "cannot write the port file " + args.portFile, site::kExitFailed);

  std::atomic<bool> listenEnded{false};
  std::thread watcher([&server, &stopSignals, &listenEnded] {
    int received = 0;
    sigwait(&stopSignals, &received);
    // A signal can come before the server runs, and stop() only ends a running one.
    while (!listenEnded) {
      server->stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  std::printf("plandrix-site: listening on %s://%s:%d/ (root %s%s)\n", tls ? "https" : "http", args.host.c_str(),
              port, args.config.root.c_str(), args.config.users ? ", authentication on" : "");
  std::fflush(stdout);
  bool served = server->listen_after_bind();
  listenEnded = true;
  pthread_kill(watcher.native_handle(), SIGTERM);  // wakes the watcher when the server ended by itself
  watcher.join();
  std::printf("plandrix-site: stopped\n");
  return served ? 0 : site::kExitFailed;
}

// Clients that send half a request and then nothing, and one that reads a large
// item without reading, do not keep the site from answering everybody else.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "testsupport.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSlowClients = 1000;
constexpr auto kRequestTime = std::chrono::seconds(2);  // the site's --request-time below

int Connect(int port, int receiveBuffer = 0) {
  int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  if (receiveBuffer) setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(socket);
    return -1;
  }
  return socket;
}

// How many of the connections the site has closed (or answered) by now.
int ClosedBySite(const std::vector<int>& sockets) {
  std::vector<pollfd> watched;
  for (int socket : sockets) watched.push_back({socket, POLLIN, 0});
  poll(watched.data(), watched.size(), 0);
  int closed = 0;
  for (const pollfd& w : watched) closed += (w.revents & (POLLIN | POLLHUP)) != 0;
  return closed;
}

TEST(SlowClients, CannotKeepTheSiteFromAnsweringAndAreClosedAfterTheTimeLimit) {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);

  fs::path scratch = sitetest::FreshFolder("slowclients");
  auto run = sitetest::Run({sitetest::Tool("plandrix-publish"), "--from", PLANDRIX_SAMPLE_DIR, "--site",
                            (scratch / "site").string(), "--line", "FNC", "--release", "30052", "--layout",
                            PLANDRIX_SAMPLE_LAYOUT});
  ASSERT_EQ(run.status, 0) << run.output;
  fs::path item = fs::directory_iterator(scratch / "site" / "FNC" / "30052" / "items")->path();
  std::ofstream(item, std::ios::binary | std::ios::trunc) << std::string(64 << 20, 'x');  // far beyond socket buffers
  sitetest::SiteProcess server(scratch / "site", {"--request-time", std::to_string(kRequestTime.count())}, scratch);
  ASSERT_GT(server.port(), 0) << server.Output();

  int reader = Connect(server.port(), 4096);  // asks for the large item, then reads nothing
  std::string itemRequest = "GET /docs/LogItemAttachment.aspx?Item=" + item.filename().string() +
                            "&Release=30052&Action=2 HTTP/1.1\r\nHost: site\r\n\r\n";
  ASSERT_EQ(send(reader, itemRequest.data(), itemRequest.size(), 0), static_cast<ssize_t>(itemRequest.size()));

  constexpr char kHalfRequest[] = "GET /docs/LogItemAttachUpDnLoad.aspx?Action=10 HTTP/1.1\r\nHost: si";
  std::vector<int> slow;
  for (int i = 0; i < kSlowClients; ++i) {
    int socket = Connect(server.port());
    ASSERT_GE(socket, 0) << "connection " << i;
    send(socket, kHalfRequest, sizeof kHalfRequest - 1, 0);
    slow.push_back(socket);
  }
  auto opened = Clock::now();

  httplib::Client other("127.0.0.1", server.port());
  auto asked = Clock::now();
  auto reply = other.Get("/docs/LogItemAttachUpDnLoad.aspx?Action=10");
  auto waited = Clock::now() - asked;
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 200);
  EXPECT_LT(waited, std::chrono::seconds(1));
  EXPECT_EQ(ClosedBySite(slow), 0) << "closed before their time was up";

  while (ClosedBySite(slow) < kSlowClients && Clock::now() - opened < kRequestTime + std::chrono::seconds(3))
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(ClosedBySite(slow), kSlowClients);
  for (int socket : slow) close(socket);
  close(reader);
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace

#include "timedstream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace updatesite {
namespace {

void AddressOf(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

}  // namespace

TimedStream::TimedStream(int socket, std::chrono::milliseconds readLimit, std::chrono::milliseconds writeLimit)
    : socket_(socket), readLimit_(readLimit), writeLimit_(writeLimit) {}

bool TimedStream::WaitFor(short events, std::chrono::milliseconds limit) const {
  pollfd watched{socket_, events, 0};
  int ready;
  do ready = poll(&watched, 1, static_cast<int>(limit.count()));
  while (ready < 0 && errno == EINTR);
  return ready > 0;
}

bool TimedStream::is_readable() const { return HasBuffered() || WaitFor(POLLIN, readLimit_); }
bool TimedStream::is_writable() const { return WaitFor(POLLOUT, writeLimit_); }

ssize_t TimedStream::read(char* ptr, size_t size) {
  while (!HasBuffered()) {
    if (!is_readable()) return -1;
    ssize_t got = recv(socket_, buffer_, sizeof buffer_, MSG_DONTWAIT);
    if (got == 0) return 0;  // the client closed the connection
    if (got < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return -1;
    }
    position_ = 0;
    filled_ = static_cast<size_t>(got);
  }
  size_t taken = std::min(size, filled_ - position_);
  std::memcpy(ptr, buffer_ + position_, taken);
  position_ += taken;
  return static_cast<ssize_t>(taken);
}

// Writes everything or fails; each wait for room is limited on its own.
ssize_t TimedStream::write(const char* ptr, size_t size) {
  size_t sent = 0;
  while (sent < size) {
    if (!is_writable()) return -1;
    ssize_t done = send(socket_, ptr + sent, size - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (done < 0 && errno != EAGAIN && errno != EINTR) return -1;
    if (done > 0) sent += static_cast<size_t>(done);
  }
  return static_cast<ssize_t>(sent);
}

void TimedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) AddressOf(address, ip, port);
}

void TimedStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) AddressOf(address, ip, port);
}

}  // namespace updatesite

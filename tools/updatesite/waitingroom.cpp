#include "waitingroom.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace updatesite {
namespace {

constexpr size_t kHeaderLimit = 8192;  // larger headers are handed on for the server to refuse
constexpr int kSweepMilliseconds = 100;

}  // namespace

Arrival PeekRequest(int socket) {
  static thread_local char buffer[kHeaderLimit];
  ssize_t got = recv(socket, buffer, sizeof buffer, MSG_PEEK | MSG_DONTWAIT);
  if (got == 0) return Arrival::Gone;
  if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? Arrival::Incomplete : Arrival::Gone;
  std::string_view seen(buffer, static_cast<size_t>(got));
  return seen.find("\r\n\r\n") != seen.npos || seen.find("\n\n") != seen.npos || seen.size() == sizeof buffer
             ? Arrival::Complete
             : Arrival::Incomplete;
}

WaitingRoom::WaitingRoom(Clock::duration timeLimit, std::function<void(int, int)> ready)
    : timeLimit_(timeLimit), ready_(std::move(ready)) {
  epoll_ = epoll_create1(EPOLL_CLOEXEC);
  wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = wake_;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &event);
  watcher_ = std::thread([this] { Watch(); });
}

WaitingRoom::~WaitingRoom() {
  Stop();
  for (auto& [socket, guest] : guests_) close(socket);
  close(wake_);
  close(epoll_);
}

void WaitingRoom::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopped_) return;
    stopped_ = true;
  }
  uint64_t one = 1;
  (void)!write(wake_, &one, sizeof one);
  watcher_.join();
}

void WaitingRoom::Admit(int socket, int requestsServed) {
  {
    std::lock_guard lock(mutex_);
    if (stopped_) {
      close(socket);
      return;
    }
    guests_[socket] = Guest{Clock::now() + timeLimit_, requestsServed};
  }
  // Edge-triggered: peeking leaves the bytes in place, and each new arrival is told
  // once, so a half request does not wake the watch again and again. Adding a
  // socket whose request is already there reports it at once.
  epoll_event event{};
  event.events = EPOLLIN | EPOLLRDHUP | EPOLLET;
  event.data.fd = socket;
  if (epoll_ctl(epoll_, EPOLL_CTL_ADD, socket, &event) != 0) Leave(socket, true);
}

void WaitingRoom::Leave(int socket, bool closeIt) {
  epoll_ctl(epoll_, EPOLL_CTL_DEL, socket, nullptr);
  std::lock_guard lock(mutex_);
  guests_.erase(socket);
  if (closeIt) close(socket);
}

void WaitingRoom::Watch() {
  std::vector<epoll_event> events(256);
  auto nextSweep = Clock::now();
  while (true) {
    int count = epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), kSweepMilliseconds);
    for (int i = 0; i < count; ++i) {
      int socket = events[i].data.fd;
      if (socket == wake_) return;
      int served = 0;
      {
        std::lock_guard lock(mutex_);
        auto found = guests_.find(socket);
        if (found == guests_.end()) continue;
        served = found->second.requestsServed;
      }
      Arrival arrival = PeekRequest(socket);
      if (arrival == Arrival::Incomplete) continue;
      Leave(socket, arrival == Arrival::Gone);
      if (arrival == Arrival::Complete) ready_(socket, served);
    }
    if (Clock::now() >= nextSweep) {
      CloseOverdue();
      nextSweep = Clock::now() + std::chrono::milliseconds(kSweepMilliseconds);
    }
  }
}

void WaitingRoom::CloseOverdue() {
  std::vector<int> overdue;
  {
    std::lock_guard lock(mutex_);
    auto now = Clock::now();
    for (auto& [socket, guest] : guests_)
      if (guest.deadline <= now) overdue.push_back(socket);
  }
  for (int socket : overdue) Leave(socket, true);
}

}  // namespace updatesite

#include "waitingserver.h"

#include <sys/socket.h>
#include <unistd.h>

#include <limits>

#include "timedstream.h"

namespace updatesite {
namespace {

// Accepting only hands the connection to the waiting room, so it needs no thread.
class AtOnce : public httplib::TaskQueue {
 public:
  void enqueue(std::function<void()> job) override { job(); }
  void shutdown() override {}
};

}  // namespace

WaitingServer::WaitingServer(size_t workers, ConnectionLimits limits)
    : limits_(limits), workers_(std::make_unique<BoundedPool>(workers, std::numeric_limits<size_t>::max())) {
  room_ = std::make_unique<WaitingRoom>(limits_.requestTime, [this](int socket, int served) {
    workers_->enqueue([this, socket, served] { Serve(socket, served); });
  });
  new_task_queue = [] { return new AtOnce; };
}

WaitingServer::~WaitingServer() {
  room_->Stop();         // no more hand-overs ...
  workers_->shutdown();  // ... the requests in hand are answered ...
  room_.reset();         // ... and the connections still waiting are closed
}

void WaitingServer::WidenListenQueue() { ::listen(svr_sock_, SOMAXCONN); }

bool WaitingServer::process_and_close_socket(int socket) {
  room_->Admit(socket, 0);
  return true;
}

void WaitingServer::Serve(int socket, int requestsServed) {
  TimedStream stream(socket, limits_.clientWait, limits_.clientWait);
  bool closed = false;
  do {
    ++requestsServed;
    bool last = requestsServed >= limits_.requestsPerConnection;
    if (!process_request(stream, last, closed, nullptr) || last) closed = true;
  } while (!closed && stream.HasBuffered());  // a next request already read must be answered here
  if (closed) {
    shutdown(socket, SHUT_RDWR);
    close(socket);
  } else {
    room_->Admit(socket, requestsServed);
  }
}

}  // namespace updatesite

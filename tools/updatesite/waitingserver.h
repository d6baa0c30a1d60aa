#pragma once
// The plain-HTTP site server: connections wait in a waiting room, which costs no
// thread, until their request has arrived; only then does a worker read and answer
// it. A connection kept open for a next request goes back to the waiting room.
#include <httplib.h>

#include <chrono>
#include <memory>

#include "boundedpool.h"
#include "waitingroom.h"

namespace updatesite {

struct ConnectionLimits {
  std::chrono::milliseconds requestTime{10000};  // from connecting (or the last reply) to a whole request
  std::chrono::milliseconds clientWait{5000};    // one read or write waiting for the client
  int requestsPerConnection = 100;
};

class WaitingServer : public httplib::Server {
 public:
  WaitingServer(size_t workers, ConnectionLimits limits);
  ~WaitingServer() override;
  // Lets many clients connect at once once bound: the server's own listen queue is short.
  void WidenListenQueue();

 private:
  // Called on the accepting thread (its task queue runs jobs at once): the new
  // connection only joins the waiting room.
  bool process_and_close_socket(int socket) override;
  void Serve(int socket, int requestsServed);

  ConnectionLimits limits_;
  std::unique_ptr<BoundedPool> workers_;
  std::unique_ptr<WaitingRoom> room_;
};

}  // namespace updatesite

#pragma once
// Connections that have not yet sent a whole request wait here, in one thread that
// watches them all, so a client that sends half a request and then nothing costs no
// worker. A connection leaves when its request headers are complete (it is handed
// on), when the client closes it, or when its time limit runs out (it is closed).
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace updatesite {

class WaitingRoom {
 public:
  using Clock = std::chrono::steady_clock;
  // ready(socket, requestsServed) takes over a connection whose request has arrived.
  WaitingRoom(Clock::duration timeLimit, std::function<void(int, int)> ready);
  ~WaitingRoom();  // stops watching and closes every connection still waiting
  WaitingRoom(const WaitingRoom&) = delete;
  WaitingRoom& operator=(const WaitingRoom&) = delete;

  // Watches a connection that has served requestsServed requests so far.
  void Admit(int socket, int requestsServed);
  void Stop();

 private:
  struct Guest {
    Clock::time_point deadline;
    int requestsServed = 0;
  };
  void Watch();
  void Leave(int socket, bool close);
  void CloseOverdue();

  Clock::duration timeLimit_;
  std::function<void(int, int)> ready_;
  int epoll_ = -1;
  int wake_ = -1;  // an eventfd that ends the watch
  std::mutex mutex_;
  std::unordered_map<int, Guest> guests_;
  bool stopped_ = false;
  std::thread watcher_;
};

// What the bytes waiting on a socket (left in place) say: the request's headers are
// complete (or longer than a request may have), not yet, or the client is gone.
enum class Arrival { Incomplete, Complete, Gone };
Arrival PeekRequest(int socket);

}  // namespace updatesite

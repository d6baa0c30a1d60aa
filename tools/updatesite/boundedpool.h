#pragma once
// The site's workers: a fixed number of threads and a bounded line of accepted
// connections waiting for them. When the line is full the accepting thread waits
// too, so further clients wait in the kernel's listen queue instead of in memory.
#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace updatesite {

class BoundedPool : public httplib::TaskQueue {
 public:
  BoundedPool(size_t workers, size_t waitingLimit);
  ~BoundedPool() override;
  BoundedPool(const BoundedPool&) = delete;
  BoundedPool& operator=(const BoundedPool&) = delete;

  void enqueue(std::function<void()> job) override;
  // Lets the workers finish the jobs in line, then joins them.
  void shutdown() override;

 private:
  void Work();

  size_t waitingLimit_;
  std::mutex mutex_;
  std::condition_variable jobReady_;
  std::condition_variable roomFreed_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  bool stopping_ = false;
};

}  // namespace updatesite

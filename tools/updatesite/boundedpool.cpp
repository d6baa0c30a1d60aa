#include "boundedpool.h"

namespace updatesite {

BoundedPool::BoundedPool(size_t workers, size_t waitingLimit) : waitingLimit_(waitingLimit) {
  for (size_t i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
}

BoundedPool::~BoundedPool() { shutdown(); }

void BoundedPool::enqueue(std::function<void()> job) {
  std::unique_lock lock(mutex_);
  roomFreed_.wait(lock, [this] { return jobs_.size() < waitingLimit_ || stopping_; });
  jobs_.push_back(std::move(job));
  jobReady_.notify_one();
}

void BoundedPool::shutdown() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ && threads_.empty()) return;
    stopping_ = true;
  }
  jobReady_.notify_all();
  roomFreed_.notify_all();
  for (auto& thread : threads_) thread.join();
  threads_.clear();
}

void BoundedPool::Work() {
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      jobReady_.wait(lock, [this] { return !jobs_.empty() || stopping_; });
      if (jobs_.empty()) return;  // stopping, and nothing left in line
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    roomFreed_.notify_one();
    job();
  }
}

}  // namespace updatesite

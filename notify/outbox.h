#pragma once
// A queue of outgoing messages with a thread of its own that hands them on
// one at a time, so whoever sends never waits for a slow or silent server.
// The queue is bounded: when it is full, the oldest waiting message gives
// way. Closing gives what is queued a last while, then cuts off the
// delivery under way and drops the rest.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zentrova {

template <typename Message>
class Outbox {
 public:
  // `deliver` hands one message on (true when it was taken); `cutOff` makes
  // a delivery under way end at once.
  Outbox(size_t capacity, std::function<bool(Message&)> deliver, std::function<void()> cutOff)
      : capacity_(capacity == 0 ? 1 : capacity),
        deliver_(std::move(deliver)),
        cutOff_(std::move(cutOff)),
        worker_([this] { Run(); }) {}
  ~Outbox() { Close(3000); }
  Outbox(const Outbox&) = delete;
  Outbox& operator=(const Outbox&) = delete;

  void Submit(Message message) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (closing_) {
      ++dropped_;
      return;
    }
    if (queue_.size() >= capacity_) {
      queue_.pop_front();
      ++dropped_;
    }
    queue_.push_back(std::move(message));
    wake_.notify_one();
  }

  // Hands on what is queued for at most `ms` more milliseconds, then cuts
  // off the delivery under way, drops the rest and ends the thread.
  void Close(int ms) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!closing_) {
        closing_ = true;
        deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
      }
      wake_.notify_one();
      if (!changed_.wait_until(lock, deadline_, [this] { return finished_; })) {
        lock.unlock();
        if (cutOff_) cutOff_();
      }
    }
    if (worker_.joinable()) worker_.join();
  }

  // Waits until nothing is queued or under way, at most `ms`.
  bool WaitIdle(int ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return queue_.empty() && !busy_; });
  }

  size_t Waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
  }
  size_t Dropped() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
  }
  size_t Delivered() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return delivered_;
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
      if (closing_ && (queue_.empty() || std::chrono::steady_clock::now() >= deadline_)) {
        dropped_ += queue_.size();
        queue_.clear();
        finished_ = true;
        changed_.notify_all();
        return;
      }
      Message message = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
      lock.unlock();
      const bool taken = deliver_(message);
      lock.lock();
      busy_ = false;
      if (taken) ++delivered_;
      changed_.notify_all();
    }
  }

  const size_t capacity_;
  std::function<bool(Message&)> deliver_;
  std::function<void()> cutOff_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable changed_;
  std::deque<Message> queue_;
  bool busy_ = false;
  bool closing_ = false;
  bool finished_ = false;
  std::chrono::steady_clock::time_point deadline_{};
  size_t dropped_ = 0;
  size_t delivered_ = 0;
  std::thread worker_;  // last: it starts once everything above is in place
};

}  // namespace zentrova

#include "notify/form_outbox.h"

namespace zentrova {

FormOutbox::FormOutbox(HttpClient& http, size_t capacity)
    : http_(http), capacity_(capacity == 0 ? 1 : capacity), worker_([this] { Run(); }) {}

FormOutbox::~FormOutbox() { Close(3000); }

void FormOutbox::Submit(const std::string& url, const FormFields& values) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closing_) {
    ++dropped_;
    return;
  }
  if (queue_.size() >= capacity_) {
    queue_.pop_front();
    ++dropped_;
  }
  queue_.push_back({url, values});
  wake_.notify_one();
}

void FormOutbox::Close(int ms) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!closing_) {
      closing_ = true;
      deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    }
    wake_.notify_one();
    if (!ended_.wait_until(lock, deadline_, [this] { return finished_; })) {
      lock.unlock();
      http_.AbortAll();
    }
  }
  if (worker_.joinable()) worker_.join();
}

void FormOutbox::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    if (closing_ && (queue_.empty() || std::chrono::steady_clock::now() >= deadline_)) {
      dropped_ += queue_.size();
      queue_.clear();
      finished_ = true;
      ended_.notify_all();
      return;
    }
    Form form = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    PostForm(http_, form.url, kFormNames, form.values);  // the answer changes nothing
    lock.lock();
    ++posted_;
  }
}

size_t FormOutbox::Waiting() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

size_t FormOutbox::Dropped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}

size_t FormOutbox::Posted() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return posted_;
}

}  // namespace zentrova

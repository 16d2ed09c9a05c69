#include "notify/mail_outbox.h"

namespace zentrova {

MailOutbox::MailOutbox(KeyValueStore& product, ProcessLauncher& launcher, int senderTimeoutMs, size_t capacity)
    : product_(product),
      launcher_(launcher),
      senderTimeoutMs_(senderTimeoutMs),
      capacity_(capacity == 0 ? 1 : capacity),
      worker_([this] { Run(); }) {}

MailOutbox::~MailOutbox() { Close(3000); }

void MailOutbox::Submit(MailJob job) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closing_) {
    ++dropped_;
    return;
  }
  if (queue_.size() >= capacity_) {
    queue_.pop_front();
    ++dropped_;
  }
  queue_.push_back(std::move(job));
  wake_.notify_one();
}

void MailOutbox::Close(int ms) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!closing_) {
      closing_ = true;
      deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    }
    wake_.notify_one();
    // A sender under way beyond the deadline finishes on its own.
    if (!idle_.wait_until(lock, deadline_, [this] { return finished_; })) stopWaiting_ = true;
  }
  if (worker_.joinable()) worker_.join();
}

bool MailOutbox::WaitIdle(int ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return idle_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return queue_.empty() && !busy_; });
}

void MailOutbox::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    if (closing_ && (queue_.empty() || std::chrono::steady_clock::now() >= deadline_)) {
      dropped_ += queue_.size();
      queue_.clear();
      finished_ = true;
      idle_.notify_all();
      return;
    }
    MailJob job = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    product_.Set("MessageToBeSent", job.body);
    product_.Set("stMessaggeTitle", job.title);
    const int status = job.send ? launcher_.Run(job.program, job.attachments, senderTimeoutMs_, stopWaiting_) : -1;
    lock.lock();
    busy_ = false;
    if (status == 0) ++sent_;
    idle_.notify_all();
  }
}

size_t MailOutbox::Dropped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}

size_t MailOutbox::Sent() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sent_;
}

}  // namespace zentrova

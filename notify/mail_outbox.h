#pragma once
// E-mails handed to the sender program one at a time. The sender reads the
// title and the body from the product key when it starts, so a second
// message written there before the first sender has read it would replace
// the first. The outbox writes each message into the product key, starts
// the sender for it and waits for that sender to end before it writes the
// next; the station meanwhile goes on, whatever the mail server does.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/key_value_store.h"
#include "platform/process_launcher.h"

namespace zentrova {

struct MailJob {
  std::string title;
  std::string body;
  bool send = false;    // start the sender; otherwise only the product key is written
  std::string program;  // the sender program
  std::vector<std::string> attachments;
};

class MailOutbox {
 public:
  // `senderTimeoutMs`: how long one sender may take before it is ended.
  MailOutbox(KeyValueStore& product, ProcessLauncher& launcher, int senderTimeoutMs = 330000, size_t capacity = 64);
  ~MailOutbox();
  MailOutbox(const MailOutbox&) = delete;
  MailOutbox& operator=(const MailOutbox&) = delete;

  // Queues a message; when `capacity` are already waiting, the oldest
  // waiting one gives way.
  void Submit(MailJob job);
  // Hands on what is queued for at most `ms` more milliseconds, drops the
  // rest and ends the thread (a sender under way finishes on its own).
  void Close(int ms);
  // Waits until nothing is queued or under way, at most `ms`.
  bool WaitIdle(int ms);
  size_t Dropped() const;
  size_t Sent() const;  // senders that ended with exit status 0

 private:
  void Run();

  KeyValueStore& product_;
  ProcessLauncher& launcher_;
  const int senderTimeoutMs_;
  const size_t capacity_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<MailJob> queue_;
  bool busy_ = false;
  std::atomic<bool> stopWaiting_{false};
  bool closing_ = false;
  bool finished_ = false;
  std::chrono::steady_clock::time_point deadline_{};
  size_t dropped_ = 0;
  size_t sent_ = 0;
  std::thread worker_;
};

}  // namespace zentrova

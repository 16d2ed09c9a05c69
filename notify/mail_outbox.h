#pragma once
// E-mails handed to the sender program one at a time. The sender reads the
// title and the body from the product key when it starts, so a second
// message written there before the first sender has read it would replace
// the first. The outbox writes each message into the product key, starts
// the sender for it and waits for that sender to end before it writes the
// next; the station meanwhile goes on, whatever the mail server does.

#include <atomic>
#include <string>
#include <vector>

#include "notify/outbox.h"
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

  // Queues a message; when `capacity` are already waiting, the oldest
  // waiting one gives way.
  void Submit(MailJob job) { outbox_.Submit(std::move(job)); }
  // Hands on what is queued for at most `ms` more milliseconds, then stops
  // waiting for the sender under way (it finishes on its own) and drops the rest.
  void Close(int ms) { outbox_.Close(ms); }
  bool WaitIdle(int ms) { return outbox_.WaitIdle(ms); }
  size_t Dropped() const { return outbox_.Dropped(); }
  size_t Sent() const { return outbox_.Delivered(); }  // senders that ended with exit status 0

 private:
  bool Hand(MailJob& job);

  KeyValueStore& product_;
  ProcessLauncher& launcher_;
  const int senderTimeoutMs_;
  std::atomic<bool> stopWaiting_{false};
  Outbox<MailJob> outbox_;
};

}  // namespace zentrova

#pragma once
// E-mails handed to the sender program one at a time. The sender reads the
// title and the body from the product key when it starts, so a second
// message written there before the first sender has read it would replace
// the first. The outbox writes each message into the product key, starts
// the sender for it and waits for that sender to end before it writes the
// next; the station meanwhile goes on, whatever the mail server does.
//
// A message counts as delivered only when the sender started and ended
// with exit status 0; otherwise it is tried again (see Outbox). Status 2
// (the sender refused its arguments) is not tried again. Attachments that
// no longer exist are left out, and so are those outside the folders the
// station attaches from (see AllowAttachmentsBelow). A message that asks
// for it is told in the log ("Mail was sent") once it was delivered, also
// when that happens after a restart.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "notify/outbox.h"
#include "platform/key_value_store.h"
#include "platform/process_launcher.h"

namespace zentrova {

// The activity log's line for an e-mail the station tells of, once the
// sender delivered it.
inline constexpr const char* kMailSentLine = "Mail was sent";

struct MailJob {
  std::string title;
  std::string body;
  bool send = false;    // start the sender; otherwise only the product key is written
  std::string program;  // the sender program
  std::vector<std::string> attachments;
  std::string text;     // the station's message, for the outbox's log lines
  bool announce = false;  // kMailSentLine in the log once it was delivered
};

class MailOutbox {
 public:
  // `senderTimeoutMs`: how long one sender may take before it is ended.
  // The file system and the clock serve the spool (options.folder).
  MailOutbox(KeyValueStore& product, ProcessLauncher& launcher, int senderTimeoutMs = 330000, size_t capacity = 64,
             OutboxOptions options = {}, FileSystem* fs = nullptr, Clock* clock = nullptr);

  // Queues a message; when `capacity` are already waiting, the oldest
  // waiting one gives way. False when it could not be kept on disk.
  bool Submit(MailJob job);
  // The sender program of this station: every message, also one read
  // back from the spool, is handed to it, whatever program its file names.
  void SetSender(const std::string& program);
  // Attachments are taken only from below the folders given here (the
  // destination folders of this run); one named elsewhere, as a spool file
  // put there by other hands may name it, is left out with a line in the
  // log at the message's first attempt, and the message goes without it.
  // Until a folder is given every attachment is taken.
  void AllowAttachmentsBelow(const std::string& folder);
  void Start() { outbox_.Start(); }
  // Hands on what is queued for at most `ms` more milliseconds, then ends
  // the sender under way; what is left stays in the spool.
  void Close(int ms) { outbox_.Close(ms); }
  void BeginClose(std::chrono::steady_clock::time_point deadline) { outbox_.BeginClose(deadline); }
  void FinishClose() { outbox_.FinishClose(); }
  bool WaitIdle(int ms) { return outbox_.WaitIdle(ms); }
  size_t Waiting() const { return outbox_.Waiting(); }
  size_t Dropped() const { return outbox_.Dropped(); }
  size_t Sent() const { return outbox_.Delivered(); }  // senders that ended with exit status 0
  size_t GivenUp() const { return outbox_.GivenUp(); }
  OutboxState State() const { return outbox_.State(); }

 private:
  Attempt Hand(const OutgoingMessage& m);
  // The attachments of `m` that go: there, and where the station attaches from.
  std::vector<std::string> Attachments(const OutgoingMessage& m);

  KeyValueStore& product_;
  ProcessLauncher& launcher_;
  FileSystem* fs_;
  const int senderTimeoutMs_;
  const std::function<void(const std::string&)> log_;
  std::atomic<bool> stopWaiting_{false};
  std::mutex senderMutex_;  // guards sender_ and attachmentFolders_
  std::string sender_;  // empty: the program each message names
  std::vector<std::string> attachmentFolders_;  // empty: attachments from anywhere
  Outbox outbox_;
};

}  // namespace zentrova

#pragma once
// Outgoing messages kept until they are delivered, with a thread of their
// own that hands them on one at a time, so whoever sends never waits for a
// slow or silent server.
//
// With a spool folder every message that has to travel is kept there as a
// file (see outgoing_message.h) from the moment it is submitted until it
// was delivered or given up, so an outage or a stop of the station loses
// nothing: the next start finds the files and sends them. A failed message
// is tried again after a pause that grows from `firstPauseMs`, doubling at
// each failure, to at most `maxPauseMs`, for `retryHours` after it was
// made; then it is given up. Its age runs on the clock's steady scale, so a
// wall clock set forward or back does not age it; only the time it waited
// before this start is taken from its stored creation time. The outbox is
// bounded in messages and in bytes: when a new message finds it full, the
// oldest waiting ones give way.
//
// What the operator is told (the log function): the first failed attempt
// of each message with its reason, a delivery after failures, a message
// given up, and a message that gave way. Without a folder the messages are
// kept in memory only and what is left at the close is dropped.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "notify/outgoing_message.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace zentrova {

struct OutboxOptions {
  std::string folder;    // the spool folder; empty: in memory only
  size_t maxCount = 500;
  uint64_t maxBytes = 4u << 20;
  int firstPauseMs = 10000;
  int maxPauseMs = 600000;
  int retryHours = 24;
  std::function<void(const std::string&)> log;  // may be called from the outbox's thread
  bool startNow = true;  // otherwise delivery begins with Start()
  std::vector<std::string> notes;  // lines to log at Start (a setting that was corrected)
};

// The options with `capacity` messages, and without the folder when no
// file system serves it.
OutboxOptions Adjusted(OutboxOptions options, size_t capacity, bool haveFiles);
// For outboxes that keep nothing on disk: no files, the system's clock.
FileSystem& NoFiles();
Clock& WallClock();

struct Attempt {
  enum Outcome { kDelivered, kFailed, kRefused, kNothingToDo } outcome = kFailed;
  std::string why;  // for kFailed and kRefused
};

// How an outbox stands, for the station's health figures.
struct OutboxState {
  size_t waiting = 0;
  int64_t oldestSeconds = 0;  // how long the oldest waiting message has waited; 0 when none
  int64_t lastDelivered = 0;  // wall clock, seconds since 1970; 0 not in this run
  int64_t lastFailed = 0;
};

class Outbox {
 public:
  // `noun` names a message in the log lines ("E-mail"); `deliver` makes
  // one attempt; `cutOff` makes an attempt under way end at once.
  Outbox(FileSystem& fs, Clock& clock, std::string kind, std::string noun, OutboxOptions options,
         std::function<Attempt(const OutgoingMessage&)> deliver, std::function<void()> cutOff);
  ~Outbox();
  Outbox(const Outbox&) = delete;
  Outbox& operator=(const Outbox&) = delete;

  // Begins delivering (what an earlier run left first).
  void Start();
  // Keeps the message and queues it; false when it could not be written
  // to the spool (it is then kept in memory only).
  bool Submit(OutgoingMessage message, bool keepOnDisk = true);

  // The close in two halves, so that several outboxes share one grace:
  // until `deadline` what is due is still tried (a failure is not tried
  // again); then the attempt under way is cut off and the thread ends.
  // What is not delivered stays in the spool for the next start.
  void BeginClose(std::chrono::steady_clock::time_point deadline);
  void FinishClose();
  void Close(int ms) {
    BeginClose(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
    FinishClose();
  }
  bool Closing() const;

  // Waits until nothing is queued or under way, at most `ms`.
  bool WaitIdle(int ms);
  size_t Waiting() const;
  size_t Dropped() const;    // gave way, or left in memory at the close
  size_t Delivered() const;
  size_t GivenUp() const;
  OutboxState State() const;

 private:
  void Load();
  // Writes a new message's spool file under a number no other file has.
  Status SaveNew(OutgoingMessage& message);
  void Run();
  void Settle(OutgoingMessage message, const Attempt& attempt, std::unique_lock<std::mutex>& lock);
  void Forget(const OutgoingMessage& m);
  void Log(const std::string& line, std::unique_lock<std::mutex>& lock);
  std::string Name(const OutgoingMessage& m) const;
  int64_t NowMs() const;
  // The steady reading at which a message made at `created` (seconds since
  // 1970) was new.
  int64_t BornMs(int64_t created) const;

  FileSystem& fs_;
  Clock& clock_;
  const std::string kind_;
  const std::string noun_;
  OutboxOptions options_;
  std::function<Attempt(const OutgoingMessage&)> deliver_;
  std::function<void()> cutOff_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable changed_;
  std::deque<OutgoingMessage> queue_;  // in order of number
  uint64_t nextNumber_ = 1;
  uint64_t bytes_ = 0;
  bool busy_ = false;
  bool closing_ = false;
  bool finished_ = false;
  std::chrono::steady_clock::time_point deadline_{};
  size_t dropped_ = 0;
  size_t delivered_ = 0;
  size_t givenUp_ = 0;
  int64_t lastDelivered_ = 0;
  int64_t lastFailed_ = 0;
  std::vector<std::string> unreadable_;  // told at Start
  std::thread worker_;
};

}  // namespace zentrova

#include "notify/outbox.h"

#include <algorithm>

#include "platform/memory_file_system.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }


}  // namespace

OutboxOptions Adjusted(OutboxOptions options, size_t capacity, bool haveFiles) {
  options.maxCount = capacity;
  if (!haveFiles) options.folder.clear();
  return options;
}

FileSystem& NoFiles() {
  static MemoryFileSystem fs;
  return fs;
}

Clock& WallClock() {
  static SystemClock clock;
  return clock;
}

Outbox::Outbox(FileSystem& fs, Clock& clock, std::string kind, std::string noun, OutboxOptions options,
               std::function<Attempt(const OutgoingMessage&)> deliver, std::function<void()> cutOff)
    : fs_(fs),
      clock_(clock),
      kind_(std::move(kind)),
      noun_(std::move(noun)),
      options_(std::move(options)),
      deliver_(std::move(deliver)),
      cutOff_(std::move(cutOff)) {
  options_.maxCount = std::max<size_t>(1, options_.maxCount);
  options_.firstPauseMs = std::max(1, options_.firstPauseMs);
  options_.maxPauseMs = std::max(options_.firstPauseMs, options_.maxPauseMs);
  Load();
  if (options_.startNow) Start();
}

Outbox::~Outbox() { Close(0); }

int64_t Outbox::NowMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t Outbox::BornMs(int64_t created) const {
  // The time a message waited before this start is all the wall clock can
  // tell; from here on the steady clock counts, whatever is done to the
  // wall clock. One made "in the future" (the clock was set back) is new.
  const int64_t waited = std::max<int64_t>(0, clock_.Now() - created);
  return clock_.SteadyMs() - waited * 1000;
}

std::string Outbox::Name(const OutgoingMessage& m) const { return noun_ + " \"" + FirstLine(m.text) + "\""; }

void Outbox::Log(const std::string& line, std::unique_lock<std::mutex>& lock) {
  if (!options_.log) return;
  lock.unlock();
  options_.log(line);
  lock.lock();
}

void Outbox::Load() {
  if (options_.folder.empty()) return;
  CreateFolders(fs_, options_.folder);
  fs_.SetMode(options_.folder, 0700);  // the messages are the operator's business only
  auto names = fs_.ListFolder(options_.folder);
  if (!names.ok()) return;
  std::unique_lock<std::mutex> lock(mutex_);
  for (const std::string& name : *names) {
    const std::string path = JoinPath(fs_, options_.folder, name);
    if (name.rfind("." + kind_ + "-", 0) == 0 && name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) {
      fs_.Remove(path);  // a write that a crash cut short; its message never left the caller
      continue;
    }
    const auto number = SpoolFileNumber(kind_, name);
    if (!number) continue;
    nextNumber_ = std::max(nextNumber_, *number + 1);
    // No message of this outbox is larger than all it may hold: such a
    // file was put there by other hands and is not read into memory.
    const auto size = fs_.FileSize(path);
    if (size.ok() && *size > options_.maxBytes) {
      unreadable_.push_back(Printf("Outbox: %s is larger than the outbox may hold (%llu bytes); it is left as it is",
                                   path.c_str(), static_cast<unsigned long long>(*size)));
      continue;
    }
    auto text = ReadWholeFile(fs_, path);
    std::optional<OutgoingMessage> m;
    if (text.ok()) m = ParseOutgoingMessage(*text);
    if (!m || m->kind != kind_) {
      unreadable_.push_back("Outbox: " + path + " cannot be read; it is left as it is");
      continue;
    }
    m->number = *number;
    m->file = path;
    m->bytes = text->size();
    m->dueMs = 0;  // due at once
    m->bornMs = BornMs(m->created);
    bytes_ += m->bytes;
    queue_.push_back(std::move(*m));
  }
  // The folder lists its names as text, where "mail-1000000000000.msg"
  // comes before "mail-999999999999.msg": the messages go by number.
  std::sort(queue_.begin(), queue_.end(),
            [](const OutgoingMessage& a, const OutgoingMessage& b) { return a.number < b.number; });
}

void Outbox::Start() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (worker_.joinable() || closing_) return;
  std::vector<std::string> lines;
  lines.swap(options_.notes);
  lines.insert(lines.end(), unreadable_.begin(), unreadable_.end());
  unreadable_.clear();
  for (const auto& line : lines) Log(line, lock);
  worker_ = std::thread([this] { Run(); });
}

void Outbox::Forget(const OutgoingMessage& m) {
  if (m.file.empty()) return;
  fs_.Remove(m.file);
  bytes_ -= std::min(bytes_, m.bytes);
}

bool Outbox::Submit(OutgoingMessage message, bool keepOnDisk) {
  std::unique_lock<std::mutex> lock(mutex_);
  message.kind = kind_;
  message.created = clock_.Now();
  message.bornMs = clock_.SteadyMs();
  message.attempts = 0;
  message.reported = 0;
  message.number = nextNumber_++;
  message.dueMs = 0;
  message.file.clear();
  message.bytes = 0;
  if (closing_ && finished_) {
    // Too late for this run; kept for the next one where it can be.
    bool kept = false;
    if (keepOnDisk && !options_.folder.empty()) kept = SaveNew(message).ok();
    if (!kept) ++dropped_;
    return kept;
  }
  const uint64_t size = FormatOutgoingMessage(message).size();
  // A message larger than all the spool may hold would not be read back
  // by the next start; it stays in memory, and nothing gives way to it.
  const bool tooLarge = keepOnDisk && !options_.folder.empty() && size > options_.maxBytes;
  const bool onDisk = keepOnDisk && !options_.folder.empty() && !tooLarge;
  while (!queue_.empty() && (queue_.size() + (busy_ ? 1 : 0) >= options_.maxCount ||
                             (onDisk && bytes_ + size > options_.maxBytes))) {
    OutgoingMessage oldest = std::move(queue_.front());
    queue_.pop_front();
    Forget(oldest);
    ++dropped_;
    Log("Outbox full: the oldest " + Name(oldest) + " gave way", lock);
  }
  bool kept = false;
  if (tooLarge) {
    Log(Printf("Outbox: %s kept in memory only: larger than the outbox may hold (%llu bytes)", Name(message).c_str(),
               static_cast<unsigned long long>(size)),
        lock);
  } else if (onDisk) {
    const Status st = SaveNew(message);
    kept = st.ok();
    if (kept) {
      bytes_ += message.bytes;
    } else {
      Log("Outbox: " + Name(message) + " kept in memory only: " + st.message(), lock);
    }
  }
  // Queued by number: a message that gave way above may have been behind
  // one put back after a failure.
  auto at = std::upper_bound(queue_.begin(), queue_.end(), message.number,
                             [](uint64_t n, const OutgoingMessage& m) { return n < m.number; });
  queue_.insert(at, std::move(message));
  wake_.notify_one();
  return kept || (!onDisk && !tooLarge);
}

Status Outbox::SaveNew(OutgoingMessage& message) {
  // Another station may write into the same folder, counting from the
  // same files: a number it took is passed over, never written over.
  for (int tries = 0; tries < 1000; ++tries) {
    const std::string path = JoinPath(fs_, options_.folder, SpoolFileName(kind_, message.number));
    if (!fs_.Exists(path)) {
      const Status st = SaveOutgoingMessage(fs_, options_.folder, message, false);
      if (st.ok() || !fs_.Exists(path)) return st;
    }
    message.number = nextNumber_++;
  }
  return Status::Exists("no free spool file name in " + options_.folder);
}

void Outbox::Settle(OutgoingMessage m, const Attempt& attempt, std::unique_lock<std::mutex>& lock) {
  if (attempt.outcome == Attempt::kDelivered || attempt.outcome == Attempt::kNothingToDo) {
    Forget(m);
    if (attempt.outcome == Attempt::kDelivered) {
      ++delivered_;
      lastDelivered_ = clock_.Now();
      // The way is open again: what waits goes now, in its order.
      for (auto& q : queue_) q.dueMs = 0;
      if (m.attempts > 0) Log(Printf("%s was delivered after %d failed attempts", Name(m).c_str(), m.attempts), lock);
    }
    return;
  }
  ++m.attempts;
  lastFailed_ = clock_.Now();
  const bool first = m.reported == 0;
  m.reported = 1;
  const int64_t ageMs = clock_.SteadyMs() - m.bornMs;
  if (attempt.outcome == Attempt::kRefused || ageMs >= static_cast<int64_t>(options_.retryHours) * 3600 * 1000) {
    Forget(m);
    ++givenUp_;
    if (attempt.outcome == Attempt::kRefused) {
      Log(Name(m) + " was given up: " + attempt.why, lock);
    } else {
      Log(Printf("%s was given up after %d attempts in %d hours: %s", Name(m).c_str(), m.attempts,
                 options_.retryHours, attempt.why.c_str()),
          lock);
    }
    return;
  }
  int64_t pause = options_.firstPauseMs;
  for (int i = 1; i < m.attempts && pause < options_.maxPauseMs; ++i) pause *= 2;
  m.dueMs = NowMs() + std::min<int64_t>(pause, options_.maxPauseMs);
  if (!m.file.empty()) {
    const uint64_t before = m.bytes;
    if (SaveOutgoingMessage(fs_, options_.folder, m).ok()) bytes_ = bytes_ - std::min(bytes_, before) + m.bytes;
  }
  const OutgoingMessage copy = m;
  auto at = std::upper_bound(queue_.begin(), queue_.end(), m.number,
                             [](uint64_t n, const OutgoingMessage& q) { return n < q.number; });
  queue_.insert(at, std::move(m));
  if (first) Log(Name(copy) + " was not delivered, will try again: " + attempt.why, lock);
}

void Outbox::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    const int64_t now = NowMs();
    const bool pastDeadline = closing_ && std::chrono::steady_clock::now() >= deadline_;
    auto due = std::find_if(queue_.begin(), queue_.end(), [now](const OutgoingMessage& m) { return m.dueMs <= now; });
    if (closing_ && (pastDeadline || due == queue_.end())) break;
    if (due == queue_.end()) {
      if (queue_.empty()) {
        wake_.wait(lock);
      } else {
        int64_t next = queue_.front().dueMs;
        for (const auto& m : queue_) next = std::min(next, m.dueMs);
        wake_.wait_for(lock, std::chrono::milliseconds(std::max<int64_t>(1, next - now)));
      }
      continue;
    }
    OutgoingMessage message = std::move(*due);
    queue_.erase(due);
    busy_ = true;
    lock.unlock();
    const Attempt attempt = deliver_(message);
    lock.lock();
    busy_ = false;
    if (closing_ && attempt.outcome == Attempt::kFailed && std::chrono::steady_clock::now() >= deadline_) {
      // Cut off by the close: not an attempt of its own; the next start tries again.
      auto at = std::upper_bound(queue_.begin(), queue_.end(), message.number,
                                 [](uint64_t n, const OutgoingMessage& q) { return n < q.number; });
      queue_.insert(at, std::move(message));
    } else {
      Settle(std::move(message), attempt, lock);
    }
    changed_.notify_all();
  }
  // What is left stays in the spool; what is in memory only is lost.
  for (const auto& m : queue_) {
    if (m.file.empty()) ++dropped_;
  }
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [](const OutgoingMessage& m) { return m.file.empty(); }),
               queue_.end());
  finished_ = true;
  changed_.notify_all();
}

void Outbox::BeginClose(std::chrono::steady_clock::time_point deadline) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!closing_) {
    closing_ = true;
    deadline_ = deadline;
  }
  if (!worker_.joinable() && !finished_) {
    // Never started: what is on disk waits for the next start, what is in
    // memory only is lost.
    for (const auto& m : queue_) {
      if (m.file.empty()) ++dropped_;
    }
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [](const OutgoingMessage& m) { return m.file.empty(); }),
                 queue_.end());
    finished_ = true;
  }
  wake_.notify_all();
}

void Outbox::FinishClose() {
  BeginClose(std::chrono::steady_clock::now());  // at once, unless a close began already
  std::unique_lock<std::mutex> lock(mutex_);
  if (worker_.joinable()) {
    wake_.notify_all();
    if (!changed_.wait_until(lock, deadline_, [this] { return finished_; })) {
      lock.unlock();
      if (cutOff_) cutOff_();
      lock.lock();
    }
    lock.unlock();
    worker_.join();
    lock.lock();
  }
}

bool Outbox::Closing() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return closing_;
}

bool Outbox::WaitIdle(int ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return queue_.empty() && !busy_; });
}

OutboxState Outbox::State() const {
  std::lock_guard<std::mutex> lock(mutex_);
  OutboxState s;
  s.waiting = queue_.size();
  const int64_t now = clock_.SteadyMs();
  for (const OutgoingMessage& m : queue_) s.oldestSeconds = std::max(s.oldestSeconds, (now - m.bornMs) / 1000);
  s.lastDelivered = lastDelivered_;
  s.lastFailed = lastFailed_;
  return s;
}

size_t Outbox::Waiting() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}
size_t Outbox::Dropped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}
size_t Outbox::Delivered() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return delivered_;
}
size_t Outbox::GivenUp() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return givenUp_;
}

}  // namespace zentrova

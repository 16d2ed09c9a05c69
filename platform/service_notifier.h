#pragma once
// The service manager's notify protocol: state lines such as "READY=1",
// "WATCHDOG=1" and "STOPPING=1" sent to the socket the manager names, and
// the watchdog period it asks for.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace zentrova {

class ServiceNotifier {
 public:
  virtual ~ServiceNotifier() = default;
  // Sends one or more state lines; false when no manager listens or the
  // send failed (the station goes on either way).
  virtual bool Notify(const std::string& state) = 0;
  // The watchdog period in microseconds the manager expects pings within;
  // 0 when it watches nothing.
  virtual int64_t WatchdogUsec() const = 0;
};

// $NOTIFY_SOCKET (a socket path, or '@' and an abstract name), with
// $WATCHDOG_USEC (and $WATCHDOG_PID, when it names this process). The
// datagrams are written here, without libsystemd. The three variables are
// read once and removed from the environment, so that the programs the
// station starts do not take them for their own.
class LinuxServiceNotifier : public ServiceNotifier {
 public:
  LinuxServiceNotifier();
  ~LinuxServiceNotifier() override;
  LinuxServiceNotifier(const LinuxServiceNotifier&) = delete;
  LinuxServiceNotifier& operator=(const LinuxServiceNotifier&) = delete;
  bool Notify(const std::string& state) override;
  int64_t WatchdogUsec() const override { return watchdogUsec_; }

 private:
  std::string address_;  // empty: no manager
  int64_t watchdogUsec_ = 0;
  int fd_ = -1;
};

// Keeps what was sent, for tests.
class RecordingNotifier : public ServiceNotifier {
 public:
  bool Notify(const std::string& state) override {
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.push_back(state);
    return true;
  }
  int64_t WatchdogUsec() const override { return watchdogUsec; }
  std::vector<std::string> Sent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sent_;
  }

  int64_t watchdogUsec = 0;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> sent_;
};

}  // namespace zentrova

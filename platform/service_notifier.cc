#include "platform/service_notifier.h"

#include <stddef.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zentrova {
namespace {

std::string TakeEnv(const char* name) {
  const char* v = ::getenv(name);
  std::string value = v ? v : "";
  ::unsetenv(name);
  return value;
}

// A positive decimal number, or 0.
int64_t ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 18) return 0;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

LinuxServiceNotifier::LinuxServiceNotifier() {
  address_ = TakeEnv("NOTIFY_SOCKET");
  const int64_t usec = ParseCount(TakeEnv("WATCHDOG_USEC"));
  const std::string pid = TakeEnv("WATCHDOG_PID");
  // The watchdog is this process's only when no other process is named.
  if (pid.empty() || ParseCount(pid) == static_cast<int64_t>(::getpid())) watchdogUsec_ = usec;
  if (address_.size() < 2 || (address_[0] != '/' && address_[0] != '@') ||
      address_.size() >= sizeof(sockaddr_un::sun_path)) {
    address_.clear();
    return;
  }
  fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

LinuxServiceNotifier::~LinuxServiceNotifier() {
  if (fd_ >= 0) ::close(fd_);
}

bool LinuxServiceNotifier::Notify(const std::string& state) {
  if (fd_ < 0 || address_.empty()) return false;
  sockaddr_un sa = {};
  sa.sun_family = AF_UNIX;
  std::memcpy(sa.sun_path, address_.data(), address_.size());
  socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + address_.size());
  if (address_[0] == '@') {
    sa.sun_path[0] = '\0';  // an abstract name: no terminating zero counts
  } else {
    ++length;
  }
  ssize_t n;
  do {
    n = ::sendto(fd_, state.data(), state.size(), MSG_NOSIGNAL | MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&sa),
                 length);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(state.size());
}

}  // namespace zentrova

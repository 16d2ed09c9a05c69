#include "platform/service_notifier.h"

#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

// A datagram socket bound to a path or to an abstract name ('@'), as the
// service manager listens.
class Listener {
 public:
  explicit Listener(const std::string& address) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un sa = {};
    sa.sun_family = AF_UNIX;
    std::memcpy(sa.sun_path, address.data(), address.size());
    socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + address.size());
    if (address[0] == '@') sa.sun_path[0] = '\0';
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), length) == 0;
    timeval tv{2, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  }
  ~Listener() { ::close(fd_); }
  bool bound() const { return bound_; }
  std::string Receive() {
    char buf[512];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
  }

 private:
  int fd_ = -1;
  bool bound_ = false;
};

TEST(ServiceNotifier, SpeaksToTheSocketTheManagerNames) {
  char folder[] = "/tmp/zentrova-notify-XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/notify";
  const std::string abstract = "@zentrova-notify-test-" + std::to_string(::getpid());
  for (const std::string& address : {path, abstract}) {
    Listener listener(address);
    ASSERT_TRUE(listener.bound()) << address;
    ::setenv("NOTIFY_SOCKET", address.c_str(), 1);
    ::setenv("WATCHDOG_USEC", "3000000", 1);
    ::setenv("WATCHDOG_PID", std::to_string(::getpid()).c_str(), 1);
    LinuxServiceNotifier notifier;
    EXPECT_EQ(::getenv("NOTIFY_SOCKET"), nullptr);  // not handed on to the programs the station starts
    EXPECT_EQ(::getenv("WATCHDOG_USEC"), nullptr);
    EXPECT_EQ(notifier.WatchdogUsec(), 3000000);
    EXPECT_TRUE(notifier.Notify("READY=1"));
    EXPECT_TRUE(notifier.Notify("WATCHDOG=1"));
    EXPECT_EQ(listener.Receive(), "READY=1") << address;
    EXPECT_EQ(listener.Receive(), "WATCHDOG=1") << address;
  }
  ::unlink(path.c_str());
  ::rmdir(folder);
}

TEST(ServiceNotifier, QuietWithoutAManager) {
  struct Case {
    const char* socket;
    const char* usec;
    const char* pid;
    int64_t watchdog;
  };
  for (const Case& c : {Case{nullptr, nullptr, nullptr, 0}, Case{"relative/path", "1000", nullptr, 1000},
                        Case{"/tmp/zentrova-nobody-listens", "abc", nullptr, 0},
                        Case{"@x", "1000", "1", 0}}) {  // another process's watchdog
    c.socket ? ::setenv("NOTIFY_SOCKET", c.socket, 1) : ::unsetenv("NOTIFY_SOCKET");
    c.usec ? ::setenv("WATCHDOG_USEC", c.usec, 1) : ::unsetenv("WATCHDOG_USEC");
    c.pid ? ::setenv("WATCHDOG_PID", c.pid, 1) : ::unsetenv("WATCHDOG_PID");
    LinuxServiceNotifier notifier;
    EXPECT_FALSE(notifier.Notify("READY=1")) << (c.socket ? c.socket : "(none)");
    EXPECT_EQ(notifier.WatchdogUsec(), c.watchdog);
  }
}

}  // namespace
}  // namespace zentrova

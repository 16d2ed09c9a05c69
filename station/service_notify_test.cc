// The service manager's notify protocol: the watchdog's rule on the test
// clock, and the real station child process speaking to a socket the test
// listens on, with a monitor cycle made to hang.

#include <signal.h>
#include <sys/ptrace.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "station/service_watchdog.h"
#include "station/station_test_support.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RegularFilesBelow;
using testing::TempFolder;
using testing::WaitForText;
using testing::WriteRecords;
using testing::WriteStationConfig;

int Pings(const RecordingNotifier& n) {
  int pings = 0;
  for (const auto& s : n.Sent()) pings += s == "WATCHDOG=1" ? 1 : 0;
  return pings;
}

// Ticks every quarter period: pings while the monitor shows life or does
// not run; silence once a running monitor showed none for its quiet time
// and a period (a monitor thread stuck on one file).
TEST(ServiceWatchdog, PingsOnlyWhileTheMonitorShowsLife) {
  FakeClock clock;
  RecordingNotifier notifier;
  ServiceWatchdog watchdog(notifier, clock, 2000);
  ASSERT_EQ(watchdog.TickMs(), 500);
  auto run = [&](int ms, bool monitoring, bool progress) {
    for (int t = 0; t < ms; t += 500) {
      clock.Advance(500);
      if (progress) watchdog.Progress();
      watchdog.Tick(monitoring, 1000);
    }
  };
  run(4000, false, false);  // not monitoring: the loop alone counts
  EXPECT_EQ(Pings(notifier), 8);
  run(4000, true, true);  // a cycle that progresses, however long
  EXPECT_EQ(Pings(notifier), 16);
  run(10000, true, false);  // stuck: quiet 1000 ms plus the period, then silence
  EXPECT_EQ(Pings(notifier), 16 + 6);
  run(1000, true, true);  // life again
  EXPECT_EQ(Pings(notifier), 16 + 6 + 2);
}

// A watchdog period of months (WATCHDOG_USEC is the manager's to choose)
// still gives a tick the event loop's timer can hold, not one that wraps
// into a negative number and so into a timer of 1 ms.
TEST(ServiceWatchdog, AHugePeriodGivesATickATimerCanHold) {
  FakeClock clock;
  RecordingNotifier notifier;
  for (int64_t periodMs : {int64_t{8} << 30, int64_t{1} << 40, int64_t{999999999999999}}) {
    ServiceWatchdog watchdog(notifier, clock, periodMs);
    EXPECT_GE(watchdog.TickMs(), 1) << periodMs;
    EXPECT_EQ(watchdog.TickMs(), INT_MAX) << periodMs;
  }
}

// A datagram socket the test listens on, as the service manager does.
class ManagerSocket {
 public:
  explicit ManagerSocket(const std::string& address) : address_(address) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un sa = {};
    sa.sun_family = AF_UNIX;
    std::memcpy(sa.sun_path, address.data(), address.size());
    socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + address.size());
    if (address[0] == '@') sa.sun_path[0] = '\0';
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), length) == 0;
    timeval tv{0, 20000};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  }
  ~ManagerSocket() { ::close(fd_); }
  bool bound() const { return bound_; }

  struct Message {
    std::string text;
    std::chrono::steady_clock::time_point at;
  };
  // What arrives within ms; with `until`, only until that text came.
  std::vector<Message> Collect(int ms, const std::string& until = "") {
    std::vector<Message> got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      char buf[256];
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) continue;
      got.push_back({std::string(buf, static_cast<size_t>(n)), std::chrono::steady_clock::now()});
      if (!until.empty() && got.back().text == until) break;
    }
    return got;
  }

 private:
  std::string address_;
  int fd_ = -1;
  bool bound_ = false;
};

int Count(const std::vector<ManagerSocket::Message>& messages, const std::string& text) {
  int n = 0;
  for (const auto& m : messages) n += m.text == text ? 1 : 0;
  return n;
}

// The longest time between two pings, in ms.
int64_t LongestGap(const std::vector<ManagerSocket::Message>& messages) {
  int64_t gap = 0;
  const ManagerSocket::Message* last = nullptr;
  for (const auto& m : messages) {
    if (m.text != "WATCHDOG=1") continue;
    if (last) gap = std::max<int64_t>(gap, std::chrono::duration_cast<std::chrono::milliseconds>(m.at - last->at).count());
    last = &m;
  }
  return gap;
}

// Sets the manager's variables for the next child process only.
class ManagerEnvironment {
 public:
  ManagerEnvironment(const std::string& socket, const std::string& usec) {
    ::setenv("NOTIFY_SOCKET", socket.c_str(), 1);
    ::setenv("WATCHDOG_USEC", usec.c_str(), 1);
  }
  ~ManagerEnvironment() {
    ::unsetenv("NOTIFY_SOCKET");
    ::unsetenv("WATCHDOG_USEC");
  }
};

TEST(ServiceNotify, ReadyPingsAndStopping) {
  for (const std::string& name : {std::string("notify"), "@zentrova-station-notify-" + std::to_string(::getpid())}) {
    TempFolder dir;  // a station of its own for each address: its filed records alone are counted
    const std::string address = name[0] == '@' ? name : dir.Path(name);
    WriteStationConfig(dir);
    ManagerSocket manager(address);
    ASSERT_TRUE(manager.bound()) << address;
    std::unique_ptr<BackgroundProcess> station;
    {
      ManagerEnvironment env(address, "2000000");
      station = std::make_unique<BackgroundProcess>(
          std::vector<std::string>{testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start"},
          dir.Path("station.out"));
    }
    auto got = manager.Collect(30000, "READY=1");
    ASSERT_FALSE(got.empty()) << address << "\n" << dir.Read("station.out");
    EXPECT_EQ(got.front().text, "READY=1");
    EXPECT_NE(dir.Read("station.out").find("Monitor started by timer"), std::string::npos);  // before READY
    ASSERT_EQ(WriteRecords(dir.Path("watched"), 20).exitCode, 0);
    // At least 2.5 s of pings, and until the records are filed (a loaded
    // machine takes longer than the pauses before the reads).
    for (int i = 0; i < 60 && (i < 5 || RegularFilesBelow(dir.Path("dest/WaveformFiles")).size() < 20); ++i) {
      auto slice = manager.Collect(500);
      got.insert(got.end(), slice.begin(), slice.end());
    }
    station->Signal(SIGTERM);
    auto more = manager.Collect(10000, "STOPPING=1");
    got.insert(got.end(), more.begin(), more.end());
    EXPECT_EQ(station->Wait(), 0);
    EXPECT_EQ(Count(got, "READY=1"), 1);
    EXPECT_GE(Count(got, "WATCHDOG=1"), 4) << address;
    EXPECT_LT(LongestGap(got), 2000);  // never a whole period without a ping
    EXPECT_EQ(got.back().text, "STOPPING=1");
    EXPECT_EQ(RegularFilesBelow(dir.Path("dest/WaveformFiles")).size(), 20u);
  }
}

// A long cycle that progresses keeps the pings coming; the same cycle made
// to hang (its thread held by the test while the station's other threads
// run on) stops them, so that the service manager restarts the station.
TEST(ServiceNotify, AHangingCycleStopsThePings) {
  TempFolder dir;
  WriteStationConfig(dir);
  const std::string address = dir.Path("notify");
  ManagerSocket manager(address);
  ASSERT_TRUE(manager.bound());
  std::unique_ptr<BackgroundProcess> station;
  {
    ManagerEnvironment env(address, "2000000");
    station = std::make_unique<BackgroundProcess>(
        std::vector<std::string>{testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start"},
        dir.Path("station.out"));
  }
  auto got = manager.Collect(30000, "READY=1");
  ASSERT_FALSE(got.empty());
  ASSERT_EQ(WriteRecords(dir.Path("stage"), 300).exitCode, 0);
  for (const auto& f : RegularFilesBelow(dir.Path("stage"))) {
    std::filesystem::rename(f, dir.Path("watched/" + std::filesystem::path(f).filename().string()));
  }
  for (int i = 0; i < 2000 && RegularFilesBelow(dir.Path("dest/WaveformFiles")).size() < 3; ++i) ::usleep(10000);
  const auto during = manager.Collect(3000);  // inside the cycle of 100 files, 10 s of pauses
  const size_t filedDuring = RegularFilesBelow(dir.Path("dest/WaveformFiles")).size();
  EXPECT_GE(Count(during, "WATCHDOG=1"), 2) << dir.Read("station.out");
  EXPECT_LT(LongestGap(during), 2000);
  EXPECT_LT(filedDuring, 100u);  // still the first long cycle
  EXPECT_EQ(dir.Read("station.out").find("Found 100 new files."), std::string::npos);

  // Hold the thread that runs the cycles (the main thread: timer mode).
  const pid_t pid = station->pid();
  if (::ptrace(PTRACE_SEIZE, pid, nullptr, nullptr) != 0) {
    GTEST_SKIP() << "cannot hold the station's thread here (ptrace: " << std::strerror(errno) << ")";
  }
  ASSERT_EQ(::ptrace(PTRACE_INTERRUPT, pid, nullptr, nullptr), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, __WALL), pid);
  manager.Collect(100);  // a ping already under way
  const auto hung = manager.Collect(3000);
  EXPECT_EQ(Count(hung, "WATCHDOG=1"), 0);
  ::kill(pid, SIGKILL);
  ::ptrace(PTRACE_DETACH, pid, nullptr, nullptr);
}

}  // namespace
}  // namespace zentrova

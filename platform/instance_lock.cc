#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zentrova {
namespace {

// The pid in the lock file, read without following a link or waiting on
// a FIFO; 0 when there is none to read.
long PidIn(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return 0;
  struct stat st;
  char text[32] = {};
  const ssize_t n = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::pread(fd, text, sizeof text - 1, 0) : 0;
  ::close(fd);
  return n > 0 ? std::strtol(text, nullptr, 10) : 0;
}

// Names this process in the lock file, where it can be written as a
// regular file of its own; the lock does not depend on it.
void WritePid(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0) return;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) == 0) {
    const std::string pid = std::to_string(static_cast<long>(::getpid())) + "\n";
    [[maybe_unused]] const ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
  }
  ::close(fd);
}

}  // namespace

InstanceLock::~InstanceLock() { ::close(fd_); }

// The lock is taken on the folder itself: whatever stands at the lock
// file's name (another user's file, a link, a FIFO), and a folder that is
// read-only, cannot let a second station in.
InstanceLock::Attempt InstanceLock::Take(const std::string& folder) {
  Attempt attempt;
  const std::string pidFile = folder + "/" + kFileName;
  // Not inherited by the sender or the controller, which would otherwise
  // keep the folder locked after the station's end.
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    attempt.problem = "cannot open the configuration folder " + folder + ": " + std::strerror(errno);
    return attempt;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (err == EWOULDBLOCK) {
      attempt.heldByAnother = true;
      attempt.holderPid = PidIn(pidFile);
    } else {
      attempt.problem = "cannot lock the configuration folder " + folder + ": " + std::strerror(err);
    }
    ::close(fd);
    return attempt;
  }
  WritePid(pidFile);
  attempt.lock.reset(new InstanceLock(fd));
  return attempt;
}

std::string AnotherInstanceLine(const std::string& program, const std::string& folder, long pid) {
  return program + ": another station runs on the configuration folder " + folder +
         (pid > 0 ? " (pid " + std::to_string(pid) + ")" : std::string(" (its pid is unknown)")) +
         "; this one ends";
}

}  // namespace zentrova

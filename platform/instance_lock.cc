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

long PidIn(int fd) {
  char text[32] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  if (n <= 0) return 0;
  return std::strtol(text, nullptr, 10);
}

}  // namespace

InstanceLock::~InstanceLock() { ::close(fd_); }

InstanceLock::Attempt InstanceLock::Take(const std::string& folder) {
  Attempt attempt;
  const std::string path = folder + "/" + kFileName;
  // No link followed, no FIFO waited on; not inherited by the sender or the
  // controller, which would otherwise keep the folder locked after the end.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) {
    attempt.problem = "cannot open " + path + ": " + std::strerror(errno);
    return attempt;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    attempt.problem = path + " is not a regular file";
    return attempt;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (err == EWOULDBLOCK) {
      attempt.heldByAnother = true;
      attempt.holderPid = PidIn(fd);
    } else {
      attempt.problem = "cannot lock " + path + ": " + std::strerror(err);
    }
    ::close(fd);
    return attempt;
  }
  const std::string pid = std::to_string(static_cast<long>(::getpid())) + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
  }
  attempt.lock.reset(new InstanceLock(fd));
  return attempt;
}

std::string AnotherInstanceLine(const std::string& program, const std::string& folder, long pid) {
  return program + ": another station runs on the configuration folder " + folder +
         (pid > 0 ? " (pid " + std::to_string(pid) + ")" : std::string(" (its pid is unknown)")) +
         "; this one ends";
}

}  // namespace zentrova

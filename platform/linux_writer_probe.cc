#include "platform/linux_writer_probe.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <mutex>

namespace zentrova {

void IgnoreLeaseBreakSignal() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction old = {};
    if (::sigaction(SIGIO, nullptr, &old) != 0) return;
    if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) return;
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGIO, &ignore, nullptr);
  });
}

WriterUse ProbeWriters(int fd, const std::string& path) {
  IgnoreLeaseBreakSignal();
  if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    return WriterUse::kNone;
  }
  if (errno == EAGAIN) return WriterUse::kWriting;
  // No lease for us here (another user's file, a file system without
  // leases): the descriptor tables decide, where they can.
  return SearchProcForWriters(path);
}

namespace {

// Whether descriptor `fd` of process `pid` is open for writing, from fdinfo.
bool OpenForWriting(const std::string& pid, const char* fd) {
  std::ifstream info("/proc/" + pid + "/fdinfo/" + fd);
  std::string key;
  std::string value;
  while (info >> key >> value) {
    if (key == "flags:") return (std::strtol(value.c_str(), nullptr, 8) & O_ACCMODE) != O_RDONLY;
  }
  return false;
}

}  // namespace

WriterUse SearchProcForWriters(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return WriterUse::kUnknown;
  const std::string target(resolved);
  const std::string self = std::to_string(::getpid());
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return WriterUse::kUnknown;
  WriterUse use = WriterUse::kNone;
  while (use != WriterUse::kWriting) {
    dirent* p = ::readdir(proc);
    if (p == nullptr) break;
    if (p->d_name[0] < '0' || p->d_name[0] > '9' || self == p->d_name) continue;
    const std::string pid = p->d_name;
    const std::string fdDir = "/proc/" + pid + "/fd";
    DIR* fds = ::opendir(fdDir.c_str());
    if (fds == nullptr) {
      if (errno != ENOENT) use = WriterUse::kUnknown;  // another user's process: closed to us
      continue;
    }
    while (dirent* f = ::readdir(fds)) {
      if (f->d_name[0] == '.') continue;
      char link[PATH_MAX];
      const std::string fdPath = fdDir + "/" + f->d_name;
      const ssize_t len = ::readlink(fdPath.c_str(), link, sizeof link - 1);
      if (len <= 0) {
        if (errno == EACCES) use = WriterUse::kUnknown;
        continue;
      }
      if (target.compare(0, std::string::npos, link, static_cast<size_t>(len)) != 0) continue;
      if (OpenForWriting(pid, f->d_name)) {
        use = WriterUse::kWriting;
        break;
      }
    }
    ::closedir(fds);
  }
  ::closedir(proc);
  return use;
}

}  // namespace zentrova

#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace zentrova {

FolderLock::~FolderLock() { ::close(fd_); }

std::unique_ptr<FolderLock> FolderLock::Wait(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<FolderLock>(new FolderLock(fd));
}

}  // namespace zentrova

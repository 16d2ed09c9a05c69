#pragma once
// An exclusive lock on a folder shared by processes that write into it
// one after another (two conversions into one archive, a conversion beside
// the station): taking it waits until the holder lets go. It goes with
// the process however it ends, and no program started meanwhile inherits
// it.

#include <memory>
#include <string>

namespace zentrova {

class FolderLock {
 public:
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  // Null when the folder cannot be opened or locked (it is not on the
  // disk, a file system without locks): the caller goes on unlocked.
  static std::unique_ptr<FolderLock> Wait(const std::string& folder);

 private:
  explicit FolderLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace zentrova

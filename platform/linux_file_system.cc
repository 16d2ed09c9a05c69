#include "platform/linux_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/move_by_copy.h"

namespace zentrova {
namespace {

Status ErrnoStatus(const std::string& what, const std::string& path, int err) {
  std::string msg = what + " " + path + ": " + std::strerror(err);
  switch (err) {
    case ENOENT: return Status::NotFound(msg);
    case EEXIST: return Status::Exists(msg);
    case ENOSPC:
    case EDQUOT: return Status::NoSpace(msg);
    case EXDEV: return Status::CrossDevice(msg);
    default: return Status::IoError(msg);
  }
}

Status NotRegular(const std::string& path, const struct stat& st) {
  return Status::IoError("cannot open " + path + (S_ISDIR(st.st_mode) ? ": is a folder" : ": not a regular file"));
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { if (fd_ >= 0) ::close(fd_); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { int f = fd_; fd_ = -1; return f; }
 private:
  int fd_;
};

class LinuxReadFile : public RandomAccessFile {
 public:
  LinuxReadFile(int fd, uint64_t size, std::string path) : fd_(fd), size_(size), path_(std::move(path)) {}
  ~LinuxReadFile() override { ::close(fd_); }
  uint64_t Size() const override { return size_; }
  StatusOr<size_t> ReadAt(uint64_t offset, size_t n, char* dst) override {
    for (;;) {
      ssize_t got = ::pread(fd_, dst, n, static_cast<off_t>(offset));
      if (got >= 0) return static_cast<size_t>(got);
      if (errno != EINTR) return ErrnoStatus("cannot read", path_, errno);
    }
  }
 private:
  int fd_;
  uint64_t size_;
  std::string path_;
};

// A descriptor open for writing: the writes, flush and close both kinds of
// written file share. `offset` < 0 writes at the end (write), else at that
// offset (pwrite).
class WriteDescriptor {
 public:
  WriteDescriptor(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~WriteDescriptor() { if (fd_ >= 0) ::close(fd_); }
  WriteDescriptor(const WriteDescriptor&) = delete;
  WriteDescriptor& operator=(const WriteDescriptor&) = delete;

  Status Write(std::string_view data, int64_t offset) {
    while (!data.empty()) {
      const ssize_t put = offset < 0 ? ::write(fd_, data.data(), data.size())
                                     : ::pwrite(fd_, data.data(), data.size(), static_cast<off_t>(offset));
      if (put < 0) {
        if (errno == EINTR) continue;
        return ErrnoStatus("cannot write", path_, errno);
      }
      data.remove_prefix(static_cast<size_t>(put));
      if (offset >= 0) offset += put;
    }
    return Status::Ok();
  }
  Status Sync() {
    if (::fsync(fd_) != 0) return ErrnoStatus("cannot flush", path_, errno);
    return Status::Ok();
  }
  Status Close() {
    if (fd_ < 0) return Status::Ok();
    int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0) return ErrnoStatus("cannot close", path_, errno);
    return Status::Ok();
  }

 private:
  int fd_;
  std::string path_;
};

class LinuxWriteFile : public WritableFile {
 public:
  LinuxWriteFile(int fd, std::string path) : fd_(fd, std::move(path)) {}
  Status Append(std::string_view data) override { return fd_.Write(data, -1); }
  Status Sync() override { return fd_.Sync(); }
  Status Close() override { return fd_.Close(); }
 private:
  WriteDescriptor fd_;
};

class LinuxUpdateFile : public UpdatableFile {
 public:
  LinuxUpdateFile(int fd, std::string path) : fd_(fd, std::move(path)) {}
  Status WriteAt(uint64_t offset, std::string_view data) override {
    return fd_.Write(data, static_cast<int64_t>(offset));
  }
  Status Sync() override { return fd_.Sync(); }
  Status Close() override { return fd_.Close(); }
 private:
  WriteDescriptor fd_;
};

StatusOr<std::unique_ptr<WritableFile>> OpenWriting(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0644);
  if (fd < 0) return ErrnoStatus("cannot create", path, errno);
  return std::unique_ptr<WritableFile>(new LinuxWriteFile(fd, path));
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
  Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace

StatusOr<std::unique_ptr<RandomAccessFile>> LinuxFileSystem::OpenForRead(const std::string& path) {
  // Only regular files are read: the open of a FIFO would wait for a writer
  // (a survey file or a setting that is a FIFO would hold the station), so
  // the type is looked at before the open, and again on the open file,
  // which is opened without waiting.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return NotRegular(path, st);
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return ErrnoStatus("cannot open", path, errno);
  if (::fstat(fd.get(), &st) != 0) return ErrnoStatus("cannot stat", path, errno);
  if (!S_ISREG(st.st_mode)) return NotRegular(path, st);
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return ErrnoStatus("cannot open", path, errno);
  return std::unique_ptr<RandomAccessFile>(
      new LinuxReadFile(fd.release(), static_cast<uint64_t>(st.st_size), path));
}

StatusOr<std::unique_ptr<WritableFile>> LinuxFileSystem::OpenForWrite(const std::string& path) {
  return OpenWriting(path, O_TRUNC);
}

StatusOr<std::unique_ptr<WritableFile>> LinuxFileSystem::OpenForAppend(const std::string& path) {
  return OpenWriting(path, O_APPEND);
}

StatusOr<std::unique_ptr<UpdatableFile>> LinuxFileSystem::OpenForUpdate(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return ErrnoStatus("cannot create", path, errno);
  return std::unique_ptr<UpdatableFile>(new LinuxUpdateFile(fd, path));
}

StatusOr<uint64_t> LinuxFileSystem::FileSize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return ErrnoStatus("cannot stat", path, errno);
  return static_cast<uint64_t>(st.st_size);
}

bool LinuxFileSystem::Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool LinuxFileSystem::IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

StatusOr<std::vector<std::string>> LinuxFileSystem::ListFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return ErrnoStatus("cannot list", path, errno);
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

Status LinuxFileSystem::CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0755) != 0) return ErrnoStatus("cannot create folder", path, errno);
  return Status::Ok();
}

Status LinuxFileSystem::Remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return ErrnoStatus("cannot remove", path, errno);
  return Status::Ok();
}

Status LinuxFileSystem::LinkNoReplace(const std::string& from, const std::string& to) {
  if (::link(from.c_str(), to.c_str()) != 0) return ErrnoStatus("cannot link " + from + " to", to, errno);
  SyncFolder(ParentFolder(to));
  return Status::Ok();
}

Status LinuxFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return Status::Ok();
  }
  int err = errno;
  if (err == EXDEV) return MoveByCopy(*this, from, to);
  if (err == EINVAL || err == ENOSYS) {
    // File systems without RENAME_NOREPLACE: link + unlink is just as safe.
    Status linked = LinkNoReplace(from, to);
    if (linked.code() == Status::Code::kCrossDevice) return MoveByCopy(*this, from, to);
    if (!linked.ok()) return linked;
    return Remove(from);
  }
  return ErrnoStatus("cannot move " + from + " to", to, err);
}

Status LinuxFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return ErrnoStatus("cannot rename " + from + " to", to, errno);
  SyncFolder(ParentFolder(to));
  return Status::Ok();
}

Status LinuxFileSystem::SetMode(const std::string& path, int mode) {
  if (::chmod(path.c_str(), static_cast<mode_t>(mode)) != 0) return ErrnoStatus("cannot set mode of", path, errno);
  return Status::Ok();
}

bool LinuxFileSystem::IsHeldByWriter(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return errno != ENOENT;  // cannot be opened: treat as busy
  if (::fcntl(fd.get(), F_SETLEASE, F_WRLCK) == 0) {
    ::fcntl(fd.get(), F_SETLEASE, F_UNLCK);
    return false;
  }
  // Either someone has it open (readers do not hold a record back, so look for
  // a writer) or leases are not available here: the fd tables decide.
  return OtherProcessWritesFile(path);
}

bool OtherProcessWritesFile(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return false;
  const std::string target(resolved);
  const std::string self = std::to_string(::getpid());
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return false;
  bool held = false;
  while (!held) {
    dirent* p = ::readdir(proc);
    if (p == nullptr) break;
    if (p->d_name[0] < '0' || p->d_name[0] > '9' || self == p->d_name) continue;
    const std::string fdDir = std::string("/proc/") + p->d_name + "/fd";
    DIR* fds = ::opendir(fdDir.c_str());
    if (fds == nullptr) continue;
    while (dirent* f = ::readdir(fds)) {
      if (f->d_name[0] == '.') continue;
      char link[PATH_MAX];
      const std::string fdPath = fdDir + "/" + f->d_name;
      ssize_t len = ::readlink(fdPath.c_str(), link, sizeof link - 1);
      if (len <= 0 || target.compare(0, std::string::npos, link, static_cast<size_t>(len)) != 0) continue;
      std::ifstream info(std::string("/proc/") + p->d_name + "/fdinfo/" + f->d_name);
      std::string key;
      std::string value;
      while (info >> key >> value) {
        if (key == "flags:") {
          long flags = std::strtol(value.c_str(), nullptr, 8);
          if ((flags & O_ACCMODE) != O_RDONLY) held = true;
          break;
        }
      }
      if (held) break;
    }
    ::closedir(fds);
  }
  ::closedir(proc);
  return held;
}

Status LinuxFileSystem::SetCurrentFolder(const std::string& folder) {
  if (::chdir(folder.c_str()) != 0) return ErrnoStatus("cannot change to", folder, errno);
  return Status::Ok();
}

std::string LinuxFileSystem::CurrentFolder() {
  char buf[PATH_MAX];
  if (::getcwd(buf, sizeof buf) == nullptr) return ".";
  return buf;
}

}  // namespace zentrova

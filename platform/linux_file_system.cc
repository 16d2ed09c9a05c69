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

#include "platform/linux_writer_probe.h"
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
  Status Truncate(uint64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return ErrnoStatus("cannot cut back", path_, errno);
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
  Status Truncate(uint64_t size) override { return fd_.Truncate(size); }
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

EntryType TypeOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::kRegular;
  if (S_ISDIR(mode)) return EntryType::kFolder;
  if (S_ISLNK(mode)) return EntryType::kLink;
  if (S_ISFIFO(mode)) return EntryType::kFifo;
  if (S_ISSOCK(mode)) return EntryType::kSocket;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return EntryType::kDevice;
  return EntryType::kOther;
}

// Every file the station writes is opened here. A final symbolic link is
// never followed (a link planted in a folder others can write would make
// the station overwrite whatever it points at), nothing waits on a FIFO
// (a non-blocking open, then only a regular file is kept), and a file is
// emptied only once it is known to be a regular file of its own.
StatusOr<int> OpenRegularForWriting(const std::string& path, int flags, int mode) {
  const bool truncate = (flags & O_TRUNC) != 0;
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (flags & ~O_TRUNC),
               static_cast<mode_t>(mode)));
  if (fd.get() < 0) {
    const int err = errno;
    if (err == ELOOP) return Status::Invalid("cannot write " + path + ": is a symbolic link");
    if (err == ENXIO) return Status::Invalid("cannot write " + path + ": is a FIFO or socket, not a regular file");
    return ErrnoStatus("cannot create", path, err);
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return ErrnoStatus("cannot stat", path, errno);
  if (!S_ISREG(st.st_mode)) {
    return Status::Invalid("cannot write " + path + ": is a " + EntryTypeName(TypeOf(st.st_mode)) +
                           ", not a regular file");
  }
  if (truncate && st.st_size != 0 && ::ftruncate(fd.get(), 0) != 0) return ErrnoStatus("cannot empty", path, errno);
  const int fl = ::fcntl(fd.get(), F_GETFL);
  if (fl >= 0) ::fcntl(fd.get(), F_SETFL, fl & ~O_NONBLOCK);
  return fd.release();
}

StatusOr<std::unique_ptr<WritableFile>> OpenWriting(const std::string& path, int flags, int mode = 0644) {
  auto fd = OpenRegularForWriting(path, flags, mode);
  if (!fd.ok()) return fd.status();
  return std::unique_ptr<WritableFile>(new LinuxWriteFile(*fd, path));
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


EntryInfo InfoOf(const struct stat& st) {
  EntryInfo info;
  info.type = TypeOf(st.st_mode);
  info.size = static_cast<uint64_t>(st.st_size);
  info.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  info.mode = static_cast<int>(st.st_mode & 07777);
  info.device = static_cast<uint64_t>(st.st_dev);
  info.inode = static_cast<uint64_t>(st.st_ino);
  return info;
}

// Opens without blocking (a FIFO would wait for a writer) and hands out
// only regular files, in blocking mode again.
StatusOr<std::unique_ptr<RandomAccessFile>> OpenRegular(const std::string& path, int extraFlags) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | extraFlags));
  if (fd.get() < 0) {
    if (errno == ELOOP && (extraFlags & O_NOFOLLOW) != 0) {
      return Status::Invalid("cannot open " + path + ": is a symbolic link");
    }
    return ErrnoStatus("cannot open", path, errno);
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return ErrnoStatus("cannot stat", path, errno);
  if (S_ISDIR(st.st_mode)) return Status::IoError("cannot open " + path + ": is a folder");
  if (!S_ISREG(st.st_mode)) {
    return Status::Invalid("cannot open " + path + ": is a " + EntryTypeName(TypeOf(st.st_mode)) +
                           ", not a regular file");
  }
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  return std::unique_ptr<RandomAccessFile>(
      new LinuxReadFile(fd.release(), static_cast<uint64_t>(st.st_size), path));
}

int64_t NowNs() {
  struct timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

}  // namespace

StatusOr<std::unique_ptr<RandomAccessFile>> LinuxFileSystem::OpenForRead(const std::string& path) {
  return OpenRegular(path, 0);
}

StatusOr<std::unique_ptr<RandomAccessFile>> LinuxFileSystem::OpenEntryForRead(const std::string& path) {
  return OpenRegular(path, O_NOFOLLOW);
}

StatusOr<std::unique_ptr<WritableFile>> LinuxFileSystem::CreateNewFile(const std::string& path, int mode) {
  return OpenWriting(path, O_EXCL | O_NOFOLLOW, mode & 0777);
}

StatusOr<EntryInfo> LinuxFileSystem::Inspect(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return ErrnoStatus("cannot inspect", path, errno);
  return InfoOf(st);
}

StatusOr<std::unique_ptr<WritableFile>> LinuxFileSystem::OpenForWrite(const std::string& path) {
  return OpenWriting(path, O_TRUNC);
}

StatusOr<std::unique_ptr<WritableFile>> LinuxFileSystem::OpenForAppend(const std::string& path) {
  return OpenWriting(path, O_APPEND);
}

StatusOr<std::unique_ptr<UpdatableFile>> LinuxFileSystem::OpenForUpdate(const std::string& path) {
  auto fd = OpenRegularForWriting(path, O_TRUNC, 0644);
  if (!fd.ok()) return fd.status();
  return std::unique_ptr<UpdatableFile>(new LinuxUpdateFile(*fd, path));
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
  if (::link(from.c_str(), to.c_str()) != 0) {
    const int err = errno;
    // FAT and exFAT (and FUSE file systems without links) say EPERM.
    if (err == EPERM || err == EOPNOTSUPP || err == ENOSYS) {
      return Status::Unsupported("cannot link " + from + " to " + to + ": " + std::strerror(err));
    }
    return ErrnoStatus("cannot link " + from + " to", to, err);
  }
  SyncFolder(ParentFolder(to));
  return Status::Ok();
}

Status LinuxFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
    const int err = errno;
    if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) {
      return Status::Unsupported("cannot rename " + from + " to " + to + " without replacing: " +
                                 std::strerror(err));
    }
    return ErrnoStatus("cannot move " + from + " to", to, err);
  }
  SyncFolder(ParentFolder(to));
  return Status::Ok();
}

namespace {

bool IsRegularEntry(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

// Only regular files are moved: an entry replaced by a link (or a FIFO)
// after it was looked at is not carried into the destination. A rename
// moves whatever has the name at that instant, so the moved entry is looked
// at again and a link put back where it was.
Status LinuxFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
  const std::string notRegular = "cannot move " + from + ": it is no longer a regular file";
  if (!IsRegularEntry(from)) return Status::Invalid(notRegular);
  Status st = RenameNoReplace(from, to);
  if (st.code() == Status::Code::kUnsupported) st = PlaceWithoutReplacing(*this, from, to);
  if (st.code() == Status::Code::kCrossDevice) return MoveByCopy(*this, from, to);
  if (st.ok() && !IsRegularEntry(to)) {
    if (::renameat2(AT_FDCWD, to.c_str(), AT_FDCWD, from.c_str(), RENAME_NOREPLACE) != 0 && !IsRegularEntry(to)) {
      ::unlink(to.c_str());  // a link or special entry, no record: it may not stay among the records
    }
    return Status::Invalid(notRegular);
  }
  return st;
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

bool LinuxFileSystem::IsHeldByWriter(const std::string& path) { return WriterUseOf(path) == WriterUse::kWriting; }

WriterUse LinuxFileSystem::WriterUseOf(const std::string& path) {
  struct stat entry;
  if (::lstat(path.c_str(), &entry) != 0) {  // cannot be looked at: treat as busy
    return errno != ENOENT ? WriterUse::kWriting : WriterUse::kNone;
  }
  if (!S_ISREG(entry.st_mode)) return WriterUse::kWriting;  // never taken, never opened
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  if (fd.get() < 0) return errno != ENOENT ? WriterUse::kWriting : WriterUse::kNone;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return WriterUse::kWriting;
  const WriterUse use = ProbeWriters(fd.get(), path);
  if (use != WriterUse::kUnknown) return use;
  const int64_t changed = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return NowNs() - changed < static_cast<int64_t>(kQuietMs) * 1000000 ? WriterUse::kWriting : WriterUse::kUnknown;
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

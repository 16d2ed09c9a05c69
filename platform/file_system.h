#pragma once
// The file operations the station needs, behind one interface so that the
// logic never calls the operating system itself. LinuxFileSystem is the real
// one; MemoryFileSystem and FaultFileSystem are the doubles for tests.
//
// Paths are UTF-8 texts. A FileSystem may be used from several threads at
// once as long as they do not work on the same file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace zentrova {

// A file open for reading at any offset.
class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to n bytes at offset into dst; returns how many were read,
  // fewer than n only at the end of the file.
  virtual StatusOr<size_t> ReadAt(uint64_t offset, size_t n, char* dst) = 0;
};

// A file open for writing; bytes go to the end of it.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual Status Append(std::string_view data) = 0;
  // Flushes the written bytes to the storage device.
  virtual Status Sync() = 0;
  virtual Status Close() = 0;
  // Cuts the file back to `size` bytes (what a failed append left beyond
  // the last whole unit goes); later appends go to the new end.
  virtual Status Truncate(uint64_t size) {
    (void)size;
    return Status::Unsupported("this file cannot be cut back");
  }
};

// A file open for writing at any offset (a joined record is laid out in
// advance and filled in place).
class UpdatableFile {
 public:
  virtual ~UpdatableFile() = default;
  virtual Status WriteAt(uint64_t offset, std::string_view data) = 0;
  virtual Status Sync() = 0;
  virtual Status Close() = 0;
};

// What a folder entry itself is: a symbolic link is a link, whatever it
// points at (or whether it points anywhere).
enum class EntryType { kRegular, kFolder, kLink, kFifo, kSocket, kDevice, kOther };

struct EntryInfo {
  EntryType type = EntryType::kOther;
  uint64_t size = 0;
  int64_t mtimeNs = 0;  // last change of the contents, ns since 1970
  int mode = 0;         // permission bits
  uint64_t device = 0;  // with inode: which file this is
  uint64_t inode = 0;
};

// The text for the log: "FIFO", "symbolic link", ...
const char* EntryTypeName(EntryType type);

// Whether another program may still be writing a file.
enum class WriterUse { kNone, kWriting, kUnknown };

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual StatusOr<std::unique_ptr<RandomAccessFile>> OpenForRead(const std::string& path) = 0;
  // The three ways of opening a file for writing never follow a final
  // symbolic link and never wait on a FIFO: only a regular file is written
  // (kInvalid for anything else), so a link or FIFO planted at a name in a
  // folder others can write neither redirects nor stops the station.
  // Creates the file, or truncates it when it exists.
  virtual StatusOr<std::unique_ptr<WritableFile>> OpenForWrite(const std::string& path) = 0;
  // Creates the file when missing and writes at its end.
  virtual StatusOr<std::unique_ptr<WritableFile>> OpenForAppend(const std::string& path) = 0;
  // Creates or truncates the file for writing at any offset.
  virtual StatusOr<std::unique_ptr<UpdatableFile>> OpenForUpdate(const std::string& path) = 0;
  // Opens a regular file of a folder the station does not control: a final
  // symbolic link is not followed, and nothing else than a regular file is
  // opened (kInvalid), so a FIFO or a device never blocks or is read.
  virtual StatusOr<std::unique_ptr<RandomAccessFile>> OpenEntryForRead(const std::string& path) = 0;
  // Creates a new file with at most the permission bits `mode`; fails with
  // kExists when the name is taken (by anything, a dangling link included).
  virtual StatusOr<std::unique_ptr<WritableFile>> CreateNewFile(const std::string& path, int mode) = 0;

  virtual StatusOr<uint64_t> FileSize(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsDirectory(const std::string& path) = 0;
  // The entry itself, without following a symbolic link (kNotFound when gone).
  virtual StatusOr<EntryInfo> Inspect(const std::string& path) = 0;
  // Names in the folder, "." and ".." included, sorted bytewise.
  virtual StatusOr<std::vector<std::string>> ListFolder(const std::string& path) = 0;
  // Creates one folder level; the parent must exist.
  virtual Status CreateFolder(const std::string& path) = 0;
  virtual Status Remove(const std::string& path) = 0;

  // Gives the file a second name; fails with kExists when `to` exists, and
  // with kUnsupported where the file system has no hard links (FAT, exFAT).
  virtual Status LinkNoReplace(const std::string& from, const std::string& to) = 0;
  // Renames within one file system without replacing an existing `to`, and
  // never copies; kUnsupported where the file system cannot refuse to replace.
  virtual Status RenameNoReplace(const std::string& from, const std::string& to) = 0;
  // Moves a file without replacing an existing target. Across file systems
  // the file is copied, flushed and linked into place before the source is
  // removed: at every instant the file exists whole at one of the two places.
  // kSourceRemains when the copy was placed but the source could not be
  // removed (a read-only folder): the file is then at both places.
  virtual Status MoveNoReplace(const std::string& from, const std::string& to) = 0;
  // Renames within one file system, replacing `to` in one step: readers see
  // the old file or the new one, never a mix.
  virtual Status ReplaceFile(const std::string& from, const std::string& to) = 0;
  // Sets the permission bits of a file (0600 for the settings files).
  virtual Status SetMode(const std::string& path, int mode) = 0;

  // True while the file may still be written: another program holds it open
  // for writing, or that cannot be known and the file changed a moment ago.
  virtual bool IsHeldByWriter(const std::string& path) = 0;
  // The same test, telling apart a file known to be free (kNone) from one
  // that is taken only because it has been still for a while: its writers
  // could not be seen (kUnknown). kWriting where IsHeldByWriter is true.
  virtual WriterUse WriterUseOf(const std::string& path) {
    return IsHeldByWriter(path) ? WriterUse::kWriting : WriterUse::kNone;
  }

  virtual std::string CurrentFolder() = 0;
  // Makes folder the process's current folder.
  virtual Status SetCurrentFolder(const std::string& folder) = 0;
  virtual char Separator() const = 0;
};

// Helpers built on the interface.
StatusOr<std::string> ReadWholeFile(FileSystem& fs, const std::string& path);
// The whole of a file already open, as far as it can be read.
StatusOr<std::string> ReadWholeFile(RandomAccessFile& file);
Status WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view data);
Status AppendToFile(FileSystem& fs, const std::string& path, std::string_view data);
std::string JoinPath(const FileSystem& fs, const std::string& folder, const std::string& name);
// Creates the folder and whatever of its parents is missing, one level at a time.
void CreateFolders(FileSystem& fs, const std::string& folder);

// Reads exactly n bytes at offset; a short read is an error.
Status ReadExactly(RandomAccessFile& file, uint64_t offset, size_t n, char* dst);

}  // namespace zentrova

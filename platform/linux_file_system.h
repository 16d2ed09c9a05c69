#pragma once
// The real file system of a Linux station computer.

#include "platform/file_system.h"

namespace zentrova {

class LinuxFileSystem : public FileSystem {
 public:
  StatusOr<std::unique_ptr<RandomAccessFile>> OpenForRead(const std::string& path) override;
  StatusOr<std::unique_ptr<WritableFile>> OpenForWrite(const std::string& path) override;
  StatusOr<std::unique_ptr<WritableFile>> OpenForAppend(const std::string& path) override;
  StatusOr<std::unique_ptr<UpdatableFile>> OpenForUpdate(const std::string& path) override;
  StatusOr<std::unique_ptr<RandomAccessFile>> OpenEntryForRead(const std::string& path) override;
  StatusOr<std::unique_ptr<WritableFile>> CreateNewFile(const std::string& path, int mode) override;
  StatusOr<EntryInfo> Inspect(const std::string& path) override;
  Status RenameNoReplace(const std::string& from, const std::string& to) override;
  StatusOr<uint64_t> FileSize(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  StatusOr<std::vector<std::string>> ListFolder(const std::string& path) override;
  Status CreateFolder(const std::string& path) override;
  Status Remove(const std::string& path) override;
  // Links and then flushes the target folder, so the new name survives a power cut.
  Status LinkNoReplace(const std::string& from, const std::string& to) override;
  Status MoveNoReplace(const std::string& from, const std::string& to) override;
  Status ReplaceFile(const std::string& from, const std::string& to) override;
  Status SetMode(const std::string& path, int mode) override;
  // The write lease and the /proc search of linux_writer_probe.h; a file
  // whose writers cannot be seen is held until it has been still for
  // kQuietMs. Entries that are not regular files are never opened and count
  // as held.
  bool IsHeldByWriter(const std::string& path) override;
  WriterUse WriterUseOf(const std::string& path) override;
  std::string CurrentFolder() override;
  Status SetCurrentFolder(const std::string& folder) override;
  char Separator() const override { return '/'; }
};

}  // namespace zentrova

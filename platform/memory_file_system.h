#pragma once
// A FileSystem held in memory: files and folders in maps, "/" separators.
// For tests and fuzzing, where real files would only cost time. Not for
// concurrent use.

#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace zentrova {

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();

  // Puts a file straight into the store (its folder need not exist).
  void AddFile(const std::string& path, std::string data);
  // The stored bytes of a file; empty when there is none.
  std::string Contents(const std::string& path) const;
  void SetCurrentFolder(std::string folder) { current_ = std::move(folder); }

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
  Status LinkNoReplace(const std::string& from, const std::string& to) override;
  Status MoveNoReplace(const std::string& from, const std::string& to) override;
  Status ReplaceFile(const std::string& from, const std::string& to) override;
  Status SetMode(const std::string& path, int mode) override;
  int Mode(const std::string& path) const;
  bool IsHeldByWriter(const std::string& path) override;
  std::string CurrentFolder() override { return current_; }
  Status SetCurrentFolder(const std::string& folder) override {
    if (!IsDirectory(folder)) return Status::NotFound("cannot change to " + folder);
    current_ = folder;
    return Status::Ok();
  }
  char Separator() const override { return '/'; }

 private:
  std::map<std::string, std::shared_ptr<std::string>> files_;
  std::set<std::string> folders_;
  std::map<std::string, int> modes_;
  std::string current_ = "/";
};

}  // namespace zentrova

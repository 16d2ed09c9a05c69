#pragma once
// Forwards every call to another FileSystem; a test double derives from it
// and overrides only the calls it changes.

#include "platform/file_system.h"

namespace zentrova {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& base) : base_(base) {}

  StatusOr<std::unique_ptr<RandomAccessFile>> OpenForRead(const std::string& p) override { return base_.OpenForRead(p); }
  StatusOr<std::unique_ptr<WritableFile>> OpenForWrite(const std::string& p) override { return base_.OpenForWrite(p); }
  StatusOr<std::unique_ptr<WritableFile>> OpenForAppend(const std::string& p) override { return base_.OpenForAppend(p); }
  StatusOr<std::unique_ptr<UpdatableFile>> OpenForUpdate(const std::string& p) override { return base_.OpenForUpdate(p); }
  StatusOr<std::unique_ptr<RandomAccessFile>> OpenEntryForRead(const std::string& p) override { return base_.OpenEntryForRead(p); }
  StatusOr<std::unique_ptr<WritableFile>> CreateNewFile(const std::string& p, int mode) override { return base_.CreateNewFile(p, mode); }
  StatusOr<EntryInfo> Inspect(const std::string& p) override { return base_.Inspect(p); }
  Status RenameNoReplace(const std::string& a, const std::string& b) override { return base_.RenameNoReplace(a, b); }
  StatusOr<uint64_t> FileSize(const std::string& p) override { return base_.FileSize(p); }
  bool Exists(const std::string& p) override { return base_.Exists(p); }
  bool IsDirectory(const std::string& p) override { return base_.IsDirectory(p); }
  StatusOr<std::vector<std::string>> ListFolder(const std::string& p) override { return base_.ListFolder(p); }
  Status CreateFolder(const std::string& p) override { return base_.CreateFolder(p); }
  Status Remove(const std::string& p) override { return base_.Remove(p); }
  Status LinkNoReplace(const std::string& a, const std::string& b) override { return base_.LinkNoReplace(a, b); }
  Status MoveNoReplace(const std::string& a, const std::string& b) override { return base_.MoveNoReplace(a, b); }
  Status ReplaceFile(const std::string& a, const std::string& b) override { return base_.ReplaceFile(a, b); }
  Status SetMode(const std::string& p, int mode) override { return base_.SetMode(p, mode); }
  bool IsHeldByWriter(const std::string& p) override { return base_.IsHeldByWriter(p); }
  WriterUse WriterUseOf(const std::string& p) override { return base_.WriterUseOf(p); }
  std::string CurrentFolder() override { return base_.CurrentFolder(); }
  Status SetCurrentFolder(const std::string& p) override { return base_.SetCurrentFolder(p); }
  char Separator() const override { return base_.Separator(); }

 protected:
  FileSystem& base() { return base_; }

 private:
  FileSystem& base_;
};

}  // namespace zentrova

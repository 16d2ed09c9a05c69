#pragma once
// Reads through another file system and refuses every change: a record
// opened for viewing is read as the station reads it, and nothing it would
// write on the way (the importer's notes in the current folder) reaches the
// disk.

#include "platform/forwarding_file_system.h"

namespace zentrova {

class ReadOnlyFileSystem : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

  StatusOr<std::unique_ptr<WritableFile>> OpenForWrite(const std::string& p) override { return Refused(p); }
  StatusOr<std::unique_ptr<WritableFile>> OpenForAppend(const std::string& p) override { return Refused(p); }
  StatusOr<std::unique_ptr<UpdatableFile>> OpenForUpdate(const std::string& p) override { return Refused(p); }
  StatusOr<std::unique_ptr<WritableFile>> CreateNewFile(const std::string& p, int) override { return Refused(p); }
  Status RenameNoReplace(const std::string& a, const std::string&) override { return Refused(a); }
  Status CreateFolder(const std::string& p) override { return Refused(p); }
  Status Remove(const std::string& p) override { return Refused(p); }
  Status LinkNoReplace(const std::string& a, const std::string&) override { return Refused(a); }
  Status MoveNoReplace(const std::string& a, const std::string&) override { return Refused(a); }
  Status ReplaceFile(const std::string& a, const std::string&) override { return Refused(a); }
  Status SetMode(const std::string& p, int) override { return Refused(p); }
  Status SetCurrentFolder(const std::string& p) override { return Refused(p); }

 private:
  static Status Refused(const std::string& path) { return Status::Unsupported(path + ": nothing is written while viewing"); }
};

}  // namespace zentrova

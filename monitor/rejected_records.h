#pragma once
// Rejected records that could not be moved to the error folder. They stay
// in the watched folder; rather than being read and logged again at every
// cycle, they are only tried again quietly, until the move succeeds or the
// file is replaced by another one of the same name.

#include <map>
#include <string>

#include "platform/file_system.h"

namespace zentrova {

class RejectedRecords {
 public:
  void Remember(const std::string& path, const EntryInfo& info, const std::string& reason);
  // Whether `path` is still the file remembered (same size and time).
  bool Holds(const std::string& path, const EntryInfo& info) const;
  // Why it was rejected, as remembered.
  std::string Reason(const std::string& path) const;
  void Forget(const std::string& path) {
    entries_.erase(path);
    reasons_.erase(path);
    copied_.erase(path);
  }
  // A rejected record copied to the error folder whose source could not be
  // removed: nothing more is tried with it while it is that file.
  void RememberCopied(const std::string& path, const EntryInfo& info);
  bool Copied(const std::string& path, const EntryInfo& info) const;

 private:
  static constexpr size_t kCapacity = 1024;
  std::map<std::string, EntryInfo> entries_;
  std::map<std::string, EntryInfo> copied_;
  std::map<std::string, std::string> reasons_;
};

}  // namespace zentrova

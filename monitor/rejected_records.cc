#include "monitor/rejected_records.h"

namespace zentrova {

void RejectedRecords::Remember(const std::string& path, const EntryInfo& info, const std::string& reason) {
  if (entries_.size() >= kCapacity && entries_.count(path) == 0) {
    reasons_.erase(entries_.begin()->first);
    entries_.erase(entries_.begin());
  }
  entries_[path] = info;
  reasons_[path] = reason;
}

std::string RejectedRecords::Reason(const std::string& path) const {
  auto it = reasons_.find(path);
  return it == reasons_.end() ? std::string() : it->second;
}

bool RejectedRecords::Holds(const std::string& path, const EntryInfo& info) const {
  auto it = entries_.find(path);
  return it != entries_.end() && it->second.size == info.size && it->second.mtimeNs == info.mtimeNs &&
         it->second.inode == info.inode;
}

void RejectedRecords::RememberCopied(const std::string& path, const EntryInfo& info) {
  entries_.erase(path);
  reasons_.erase(path);
  if (copied_.size() >= kCapacity && copied_.count(path) == 0) copied_.erase(copied_.begin());
  copied_[path] = info;
}

bool RejectedRecords::Copied(const std::string& path, const EntryInfo& info) const {
  auto it = copied_.find(path);
  return it != copied_.end() && it->second.size == info.size && it->second.mtimeNs == info.mtimeNs &&
         it->second.inode == info.inode;
}

}  // namespace zentrova

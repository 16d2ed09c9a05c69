#include "monitor/rejected_records.h"

namespace zentrova {

void RejectedRecords::Remember(const std::string& path, const EntryInfo& info) {
  if (entries_.size() >= kCapacity && entries_.count(path) == 0) entries_.erase(entries_.begin());
  entries_[path] = info;
}

bool RejectedRecords::Holds(const std::string& path, const EntryInfo& info) const {
  auto it = entries_.find(path);
  return it != entries_.end() && it->second.size == info.size && it->second.mtimeNs == info.mtimeNs &&
         it->second.inode == info.inode;
}

}  // namespace zentrova

#include "monitor/known_file_set.h"

#include <algorithm>

namespace zentrova {

void KnownFileSet::Add(const std::string& folder, const std::string& name) { folders_[folder][name] = listings_; }

bool KnownFileSet::Contains(const std::string& folder, const std::string& name) const {
  auto it = folders_.find(folder);
  return it != folders_.end() && it->second.count(name) > 0;
}

void KnownFileSet::Prune(const std::string& folder, const std::vector<std::string>& listing) {
  auto it = folders_.find(folder);
  if (it == folders_.end()) return;
  // Mark what the listing holds, then sweep the rest: no copies of names.
  const uint64_t mark = ++listings_;
  auto& names = it->second;
  for (const std::string& name : listing) {
    if (auto known = names.find(name); known != names.end()) known->second = mark;
  }
  std::erase_if(names, [mark](const auto& entry) { return entry.second != mark; });
  if (names.empty()) folders_.erase(it);
}

void KnownFileSet::KeepOnly(const std::vector<std::string>& folders) {
  for (auto it = folders_.begin(); it != folders_.end();) {
    if (std::find(folders.begin(), folders.end(), it->first) == folders.end()) {
      it = folders_.erase(it);
    } else {
      ++it;
    }
  }
}

size_t KnownFileSet::Size() const {
  size_t n = 0;
  for (const auto& [folder, names] : folders_) n += names.size();
  return n;
}

}  // namespace zentrova

#include "monitor/known_file_set.h"

#include <algorithm>

namespace zentrova {

void KnownFileSet::Add(const std::string& folder, const std::string& name) { folders_[folder].insert(name); }

bool KnownFileSet::Contains(const std::string& folder, const std::string& name) const {
  auto it = folders_.find(folder);
  return it != folders_.end() && it->second.count(name) > 0;
}

void KnownFileSet::Prune(const std::string& folder, const std::vector<std::string>& listing) {
  auto it = folders_.find(folder);
  if (it == folders_.end()) return;
  std::unordered_set<std::string> kept;
  for (const std::string& name : listing) {
    if (it->second.count(name) > 0) kept.insert(name);
  }
  if (kept.empty()) {
    folders_.erase(it);
  } else {
    it->second.swap(kept);
  }
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

#include "notify/attachment_folders.h"

#include <vector>

namespace zentrova {
namespace {

// The names between separators; empty ones ("a//b", a separator at the end) are none.
std::vector<std::string> Parts(const std::string& path, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(separator, start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

bool LiesBelow(FileSystem* fs, const std::string& folder, const std::string& path) {
  const char separator = fs != nullptr ? fs->Separator() : '/';
  if (folder.empty() || path.empty() || folder[0] != separator || path[0] != separator) return false;
  const std::vector<std::string> base = Parts(folder, separator);
  const std::vector<std::string> parts = Parts(path, separator);
  if (parts.size() <= base.size()) return false;
  for (size_t i = 0; i < base.size(); ++i) {
    if (parts[i] != base[i]) return false;
  }
  std::string at = folder;
  while (at.size() > 1 && at.back() == separator) at.pop_back();
  for (size_t i = base.size(); i < parts.size(); ++i) {
    if (parts[i] == "." || parts[i] == "..") return false;
    at += (at.back() == separator ? "" : std::string(1, separator)) + parts[i];
    if (fs == nullptr) continue;
    const auto entry = fs->Inspect(at);
    if (entry.ok() && entry->type == EntryType::kLink) return false;
  }
  return true;
}

}  // namespace zentrova

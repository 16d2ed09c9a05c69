#include "monitor/free_name_move.h"

#include "platform/fitting_name.h"

namespace zentrova {

// Enough for any burst of records that share a time; a folder where even
// these are taken has a problem the log should show.
constexpr int kMaxSuffix = 999;

std::string NumberedName(const std::string& name, int n) {
  const size_t dot = name.find_last_of('.');
  const std::string suffix = "-" + std::to_string(n);
  if (dot == std::string::npos || dot == 0) return NameWithSuffix(name, suffix);
  // A long name gives way before the suffix; its extension stays.
  const std::string extension = name.substr(dot);
  if (extension.size() + suffix.size() >= kMaxNameBytes) return NameWithSuffix(name, suffix);
  return CutToFit(name.substr(0, dot), kMaxNameBytes - suffix.size() - extension.size()) + suffix + extension;
}

Placement MoveUnderFreeName(FileSystem& fs, const std::string& from, const std::string& folder,
                            const std::string& name) {
  Placement p;
  for (int n = 1; n <= kMaxSuffix; ++n) {
    p.target = JoinPath(fs, folder, n == 1 ? name : NumberedName(name, n));
    p.renamed = n > 1;
    p.status = fs.MoveNoReplace(from, p.target);
    if (p.status.code() != Status::Code::kExists) break;
  }
  return p;
}

}  // namespace zentrova

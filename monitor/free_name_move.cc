#include "monitor/free_name_move.h"

#include <algorithm>

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
  if (p.status.code() == Status::Code::kSourceRemains) {
    p.sourceRemains = true;
    p.status = Status::Ok();
  }
  return p;
}

std::string FirstFreePath(FileSystem& fs, const std::string& folder, const std::string& name) {
  std::string path;
  for (int n = 1; n <= kMaxSuffix; ++n) {
    path = JoinPath(fs, folder, n == 1 ? name : NumberedName(name, n));
    if (!fs.Inspect(path).ok()) break;
  }
  return path;
}

namespace {

bool SameBytes(FileSystem& fs, const std::string& a, const std::string& b, uint64_t size) {
  auto one = fs.OpenEntryForRead(a);
  auto two = fs.OpenEntryForRead(b);
  if (!one.ok() || !two.ok() || (*one)->Size() != size || (*two)->Size() != size) return false;
  constexpr size_t kChunk = 1 << 20;
  std::string x(kChunk, '\0'), y(kChunk, '\0');
  for (uint64_t at = 0; at < size;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kChunk, size - at));
    if (!ReadExactly(**one, at, n, x.data()).ok() || !ReadExactly(**two, at, n, y.data()).ok()) return false;
    if (x.compare(0, n, y, 0, n) != 0) return false;
    at += n;
  }
  return true;
}

}  // namespace

std::string EarlierCopy(FileSystem& fs, const std::string& from, const std::string& folder, const std::string& name) {
  auto source = fs.Inspect(from);
  if (!source.ok() || source->type != EntryType::kRegular) return "";
  for (int n = 1; n <= kMaxSuffix; ++n) {
    const std::string candidate = JoinPath(fs, folder, n == 1 ? name : NumberedName(name, n));
    auto there = fs.Inspect(candidate);
    if (!there.ok()) return "";  // the first free name: no copy beyond it
    if (there->type == EntryType::kRegular && there->size == source->size &&
        SameBytes(fs, from, candidate, source->size)) {
      return candidate;
    }
  }
  return "";
}

}  // namespace zentrova

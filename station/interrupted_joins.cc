#include "station/interrupted_joins.h"

#include <algorithm>
#include <optional>

#include "records/record_file_name.h"

namespace zentrova {
namespace {

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> Folders(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> out;
  auto names = fs.ListFolder(folder);
  if (!names.ok()) return out;
  for (const std::string& name : *names) {
    if (name == "." || name == "..") continue;
    if (fs.IsDirectory(JoinPath(fs, folder, name))) out.push_back(name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

std::vector<InterruptedJoin> FindInterruptedJoins(FileSystem& fs, const std::string& destination) {
  std::vector<InterruptedJoin> found;
  const std::string joins = JoinPath(fs, destination, "WaveformFiles_concatenated");
  const std::string records = JoinPath(fs, destination, "WaveformFiles");
  for (const std::string& year : Folders(fs, joins)) {
    const std::string y = JoinPath(fs, joins, year);
    for (const std::string& month : Folders(fs, y)) {
      const std::string m = JoinPath(fs, y, month);
      for (const std::string& day : Folders(fs, m)) {
        const std::string d = JoinPath(fs, m, day);
        auto names = fs.ListFolder(d);
        if (!names.ok()) continue;
        std::vector<std::string> sorted = *names;
        std::sort(sorted.begin(), sorted.end());
        for (const std::string& name : sorted) {
          // "YYYYMMDD_HH..." of the first record joined.
          const std::optional<std::string> hour = HourOfName(name);
          if (!EndsWith(name, ".partial") || !hour) continue;
          const std::string folder =
              JoinPath(fs, JoinPath(fs, JoinPath(fs, JoinPath(fs, records, year), month), day), *hour);
          if (!fs.IsDirectory(folder)) continue;
          found.push_back({JoinPath(fs, d, name), folder, d});
        }
      }
    }
  }
  return found;
}

}  // namespace zentrova

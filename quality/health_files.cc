#include "quality/health_files.h"

#include <cstdio>

#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

// YYYYMMDD of the local day of t; 0 when it cannot be had.
int DayNumber(int64_t t) {
  const auto c = SecondsToLocal(t);
  return c ? c->year * 10000 + c->month * 100 + c->day : 0;
}

}  // namespace

std::string HealthFolder(const FileSystem& fs, const std::string& destination) {
  return JoinPath(fs, destination, kHealthFolder);
}

std::string DayFile(const FileSystem& fs, const std::string& folder, const std::string& series, int64_t t) {
  return JoinPath(fs, folder, Printf("%s_%08d.csv", series.c_str(), DayNumber(t)));
}

Status AppendDayLines(FileSystem& fs, const std::string& path, const std::string& header, const std::string& lines) {
  if (lines.empty()) return Status::Ok();
  const size_t cut = path.find_last_of(fs.Separator());
  if (cut != std::string::npos) CreateFolders(fs, path.substr(0, cut));
  const bool fresh = !fs.Exists(path);
  return AppendToFile(fs, path, fresh ? header + lines : lines);
}

int RemoveOldDays(FileSystem& fs, const std::string& folder, int64_t now, int days) {
  const int oldest = DayNumber(now - static_cast<int64_t>(days) * 86400);
  auto names = fs.ListFolder(folder);
  if (!names.ok()) return 0;
  int removed = 0;
  for (const std::string& name : *names) {
    char series[16] = {0};
    int day = 0;
    char tail[8] = {0};
    if (std::sscanf(name.c_str(), "%15[a-z]_%8d.%3s", series, &day, tail) != 3) continue;
    const std::string s = series;
    if ((s != "channels" && s != "station") || std::string(tail) != "csv" || name.size() != s.size() + 13) continue;
    if (day < oldest && fs.Remove(JoinPath(fs, folder, name)).ok()) ++removed;
  }
  return removed;
}

std::vector<std::string> ReadDayLines(FileSystem& fs, const std::string& folder, const std::string& series,
                                      int64_t from, int64_t to) {
  std::vector<int64_t> moments;
  for (int64_t t = from; t < to; t += 86400) moments.push_back(t);
  moments.push_back(to);
  std::vector<std::string> lines;
  int last = 0;
  for (int64_t t : moments) {
    const int day = DayNumber(t);
    if (day == last) continue;
    last = day;
    auto text = ReadWholeFile(fs, DayFile(fs, folder, series, t));
    if (!text.ok()) continue;
    size_t at = text->find('\n');  // the header's end
    while (at != std::string::npos) {
      const size_t end = text->find('\n', at + 1);
      if (end == std::string::npos) break;  // a line not yet whole
      lines.push_back(text->substr(at + 1, end - at - 1));
      at = end;
    }
  }
  return lines;
}

}  // namespace zentrova

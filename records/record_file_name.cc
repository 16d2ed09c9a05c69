#include "records/record_file_name.h"

#include <algorithm>
#include <cstdio>

#include "platform/local_time.h"

namespace zentrova {
namespace {

// Date and time part "%04d%02d%02d_%02d%02d%06.3f"; a time that cannot be
// converted gives zeros for the date and -1 for the clock fields.
std::string Stamp(int64_t time, int ms) {
  CivilTime t{0, 0, 0, -1, -1, -1};
  double seconds = -1.0;
  if (auto local = SecondsToLocal(time)) {
    t = *local;
    seconds = t.second + ms / 1000.0;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d_%02d%02d%06.3f", t.year, t.month, t.day, t.hour, t.minute, seconds);
  return buf;
}

}  // namespace

std::string RecordNameStem(int64_t time, int ms, const std::string& text, int number) {
  return Stamp(time, ms) + "_" + text + "_" + std::to_string(number);
}

std::string RecordFileName(int64_t time, int ms, const std::string& text, int number) {
  return RecordNameStem(time, ms, text, number) + ".dat";
}

std::string JoinedRecordFileName(int64_t time, int ms, const std::string& text, int first, int last) {
  return Stamp(time, ms) + "_" + text + "_" + std::to_string(first) + "_" + std::to_string(last) + ".dat";
}

std::optional<std::string> HourOfName(std::string_view name) {
  const auto digits = [&](size_t from, size_t count) {
    return name.size() >= from + count &&
           std::all_of(name.begin() + from, name.begin() + from + count, [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits(0, 8) || name[8] != '_' || !digits(9, 2)) return std::nullopt;
  return std::string(name.substr(0, 8)) + std::string(name.substr(9, 2));
}

}  // namespace zentrova

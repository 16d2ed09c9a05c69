#include "archive/sds_path.h"

#include <cstdlib>
#include <vector>

#include "platform/printf.h"

namespace zentrova {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

int YearOfDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned m = mp + (mp < 10 ? 3 : -9);
  return static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts(1);
  for (char c : s) {
    if (c == sep) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

bool AllDigits(const std::string& s, size_t n) {
  if (s.size() != n) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

UtcDay UtcDayOf(int64_t us) {
  const int64_t days = FloorDiv(us, int64_t{86400} * 1000000);
  UtcDay d;
  d.year = YearOfDays(days);
  d.dayOfYear = static_cast<int>(days - DaysFromCivil(d.year, 1, 1)) + 1;
  d.startUs = days * 86400 * 1000000;
  return d;
}

std::string SdsDayName(const StreamId& id, const UtcDay& day) {
  return Printf("%s.%s.%s.%s.D.%04d.%03d", id.network.c_str(), id.station.c_str(), id.location.c_str(),
                id.channel.c_str(), day.year, day.dayOfYear);
}

std::string SdsDayFolder(const FileSystem& fs, const std::string& sdsRoot, const StreamId& id, int year) {
  std::string folder = JoinPath(fs, sdsRoot, Printf("%04d", year));
  folder = JoinPath(fs, folder, id.network);
  folder = JoinPath(fs, folder, id.station);
  return JoinPath(fs, folder, id.channel + ".D");
}

std::string SdsDayPath(const FileSystem& fs, const std::string& sdsRoot, const StreamId& id, const UtcDay& day) {
  return JoinPath(fs, SdsDayFolder(fs, sdsRoot, id, day.year), SdsDayName(id, day));
}

std::optional<UtcDay> DayOfSdsName(const std::string& name) {
  const std::vector<std::string> parts = Split(name, '.');
  if (parts.size() != 7 || parts[4] != "D" || !AllDigits(parts[5], 4) || !AllDigits(parts[6], 3)) return std::nullopt;
  const int year = std::atoi(parts[5].c_str());
  const int doy = std::atoi(parts[6].c_str());
  const int64_t first = DaysFromCivil(year, 1, 1);
  const int length = static_cast<int>(DaysFromCivil(year + 1, 1, 1) - first);
  if (doy < 1 || doy > length) return std::nullopt;
  UtcDay d;
  d.year = year;
  d.dayOfYear = doy;
  d.startUs = (first + doy - 1) * 86400 * 1000000;
  return d;
}

}  // namespace zentrova

#include "records/record_time.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/local_time.h"
#include "records/seg2_text.h"

namespace zentrova {
namespace {

constexpr std::string_view kGps = "$GPZDA";
constexpr std::string_view kDate = "ACQUISITION_DATE";
constexpr std::string_view kTime = "ACQUISITION_TIME";

struct Stamp {
  CivilTime civil;
  int ms = 0;
};

char At(std::string_view s, size_t i) { return i < s.size() ? s[i] : '\0'; }

bool IsValidCalendar(const CivilTime& c) {
  return c.year >= 1900 && c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= 31 && c.hour >= 0 &&
         c.hour <= 23 && c.minute >= 0 && c.minute <= 59 && c.second >= 0 && c.second <= 59;
}

// Digits of a decimal fraction as milliseconds: ".5" is 500, ".789" 789.
int FractionMs(std::string_view s, size_t pos) {
  int ms = 0;
  for (int k = 0; k < 3; ++k) {
    char c = At(s, pos + k);
    ms = ms * 10 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : 0);
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      for (++k; k < 3; ++k) ms *= 10;
      break;
    }
  }
  return ms;
}

// The blank-delimited value after a keyword, split at `separator`.
std::vector<std::string> ValueFields(std::string_view item, size_t keywordLength, char separator) {
  size_t pos = keywordLength;
  while (pos < item.size() && item[pos] == ' ') ++pos;
  size_t end = pos;
  while (end < item.size() && item[end] != ' ') ++end;
  std::vector<std::string> fields(1);
  for (size_t i = pos; i < end; ++i) {
    if (item[i] == separator) {
      fields.emplace_back();
    } else {
      fields.back().push_back(item[i]);
    }
  }
  return fields;
}

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return s.size() <= 6;
}

bool FixedDate(std::string_view item, CivilTime& c) {
  if (At(item, 19) != '/' || At(item, 23) != '/') return false;
  auto day = FixedInt(item, 17, 2);
  auto year = FixedInt(item, 24, 4);
  int month = item.size() >= 23 ? MonthFromName(item.substr(20, 3)) : 0;
  if (!day || !year || month == 0 || *day < 1 || *day > 31 || *year < 1900) return false;
  c.day = *day;
  c.month = month;
  c.year = *year;
  return true;
}

// dd/Mmm/yyyy with any number of digits, or a numeric month: 7/MAR/2018, 17/10/2021.
bool SeparatedDate(std::string_view item, CivilTime& c) {
  auto f = ValueFields(item, kDate.size(), '/');
  if (f.size() != 3 || !AllDigits(f[0]) || !AllDigits(f[2])) return false;
  int month = f[1].size() >= 3 ? MonthFromName(std::string_view(f[1]).substr(0, 3)) : 0;
  if (month == 0 && AllDigits(f[1])) month = std::stoi(f[1]);
  c.day = std::stoi(f[0]);
  c.month = month;
  c.year = std::stoi(f[2]);
  return c.day >= 1 && c.day <= 31 && c.month >= 1 && c.month <= 12 && c.year >= 1900;
}

bool FixedTime(std::string_view item, CivilTime& c, int& ms) {
  if (At(item, 19) != ':' || At(item, 22) != ':') return false;
  auto hour = FixedInt(item, 17, 2);
  auto minute = FixedInt(item, 20, 2);
  auto second = FixedInt(item, 23, 2);
  if (!hour || !minute || !second || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59 || *second < 0 ||
      *second > 59) {
    return false;
  }
  c.hour = *hour;
  c.minute = *minute;
  c.second = *second;
  ms = At(item, 25) == '.' ? FractionMs(item, 26) : 0;
  return true;
}

// h:mm:ss[.fff] with any number of digits per field.
bool SeparatedTime(std::string_view item, CivilTime& c, int& ms) {
  auto f = ValueFields(item, kTime.size(), ':');
  if (f.size() != 3) return false;
  std::string seconds = f[2];
  std::string fraction;
  if (size_t dot = seconds.find('.'); dot != std::string::npos) {
    fraction = seconds.substr(dot + 1);
    seconds.resize(dot);
  }
  if (!AllDigits(f[0]) || !AllDigits(f[1]) || !AllDigits(seconds)) return false;
  c.hour = std::stoi(f[0]);
  c.minute = std::stoi(f[1]);
  c.second = std::stoi(seconds);
  ms = FractionMs(fraction, 0);
  return c.hour <= 23 && c.minute <= 59 && c.second <= 59;
}

std::optional<Stamp> GpsStamp(std::string_view s) {
  auto hour = FixedInt(s, 7, 2), minute = FixedInt(s, 9, 2), second = FixedInt(s, 11, 2);
  auto hundredths = FixedInt(s, 14, 2), day = FixedInt(s, 17, 2), month = FixedInt(s, 20, 2);
  auto year = FixedInt(s, 23, 4);
  if (!hour || !minute || !second || !hundredths || !day || !month || !year) return std::nullopt;
  if (*hundredths < 0 || *hundredths > 99) return std::nullopt;
  Stamp st;
  st.civil = {*year, *month, *day, *hour, *minute, *second};
  st.ms = *hundredths * 10;
  if (!IsValidCalendar(st.civil)) return std::nullopt;
  return st;
}

}  // namespace

int MonthFromName(std::string_view three) {
  static constexpr std::string_view kNames[12][3] = {
      {"jan", "Jan", "JAN"}, {"feb", "Feb", "FEB"}, {"mar", "Mar", "MAR"}, {"apr", "Apr", "APR"},
      {"may", "May", "MAY"}, {"jun", "Jun", "JUN"}, {"jul", "Jul", "JUL"}, {"aug", "Aug", "AUG"},
      {"sep", "Sep", "SEP"}, {"oct", "Oct", "OCT"}, {"nov", "Nov", "NOV"}, {"dec", "Dec", "DEC"}};
  three = three.substr(0, 3);
  for (int m = 0; m < 12; ++m) {
    for (auto name : kNames[m]) {
      if (three.find(name) != std::string_view::npos) return m + 1;
    }
  }
  return 0;
}

int ParseRecordTime(std::string_view text, RecordTimeHeader& header) {
  const size_t gps = text.find(kGps);
  if (gps == std::string_view::npos) {
    header.nGpsStatus = 2;
  } else if (text.find(",,,,,,", gps) != std::string_view::npos) {
    header.nGpsStatus = 1;
  } else if (auto st = GpsStamp(text.substr(gps))) {
    if (auto seconds = LocalToSeconds(st->civil)) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%02d:%02d:%05.2f %02d/%02d/%d", st->civil.hour, st->civil.minute,
                    st->civil.second + st->ms / 1000.0, st->civil.month, st->civil.day, st->civil.year);
      header.nAcquisitionMs = st->ms;
      header.tAcquisition = *seconds;
      header.strAcquisition = buf;
      header.nGpsStatus = 0;
      return 1;
    }
    header.nGpsStatus = 1;  // a sentence that gives no time is as good as an empty one
  } else {
    header.nGpsStatus = 1;
  }

  const size_t date = text.find(kDate);
  const size_t time = text.find(kTime);
  if (date == std::string_view::npos && time == std::string_view::npos) {
    header.nGpsStatus = 3;
    return 0;
  }
  CivilTime civil;
  int ms = 0;
  if (date != std::string_view::npos) {
    std::string_view item = text.substr(date);
    if (!FixedDate(item, civil)) SeparatedDate(item, civil);
  }
  if (time != std::string_view::npos) {
    std::string_view item = text.substr(time);
    if (!FixedTime(item, civil, ms)) {
      civil.hour = civil.minute = civil.second = 0;
      if (!SeparatedTime(item, civil, ms)) civil.hour = -1;  // unreadable time
    }
  }
  std::optional<int64_t> seconds;
  if (IsValidCalendar(civil)) seconds = LocalToSeconds(civil);
  if (!seconds) {
    // An unreadable time must not leave the previous record's time standing as valid.
    header.nGpsStatus = 3;
    return 0;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%06.3f %02d/%02d/%d", civil.hour, civil.minute, civil.second + ms / 1000.0,
                civil.month, civil.day, civil.year);
  header.nAcquisitionMs = ms;
  header.tAcquisition = *seconds;
  header.strAcquisition = buf;
  return 1;
}

}  // namespace zentrova

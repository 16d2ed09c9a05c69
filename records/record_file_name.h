#pragma once
// The names under which records are filed and joined records are written:
// the local time with milliseconds, a text (the site name) and the numbers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

// "%04d%02d%02d_%02d%02d%06.3f_%s_%d.dat"
std::string RecordFileName(int64_t time, int ms, const std::string& text, int number);
// The same name without ".dat", which the record's event image shares.
std::string RecordNameStem(int64_t time, int ms, const std::string& text, int number);
// "%04d%02d%02d_%02d%02d%06.3f_%s_%d_%d.dat"
std::string JoinedRecordFileName(int64_t time, int ms, const std::string& text, int first, int last);
// "YYYYMMDDHH", the name of the hour folder, of a name that begins as
// these names do ("YYYYMMDD_HH..."); nothing for any other name.
std::optional<std::string> HourOfName(std::string_view name);

}  // namespace zentrova

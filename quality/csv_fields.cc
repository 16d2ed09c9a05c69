#include "quality/csv_fields.h"

#include <charconv>
#include <cmath>

namespace zentrova {

std::string JoinCsv(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += fields[i];
  }
  return line + "\n";
}

std::vector<std::string> SplitCsv(const std::string& line) {
  std::string text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::vector<std::string> fields;
  size_t at = 0;
  for (;;) {
    const size_t comma = text.find(',', at);
    fields.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return fields;
}

bool CsvWhole(const std::string& field, int64_t& value) {
  const char* end = field.data() + field.size();
  auto [ptr, ec] = std::from_chars(field.data(), end, value);
  return !field.empty() && ec == std::errc() && ptr == end;
}

bool CsvNumber(const std::string& field, double& value) {
  const char* end = field.data() + field.size();
  auto [ptr, ec] = std::from_chars(field.data(), end, value);
  return !field.empty() && ec == std::errc() && ptr == end && std::isfinite(value);
}

}  // namespace zentrova

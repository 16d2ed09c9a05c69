#pragma once
// The plain CSV of the health files: fields without commas or quotes,
// numbers in the C locale, one record a line ending in "\n".

#include <cstdint>
#include <string>
#include <vector>

namespace zentrova {

// The fields joined by commas, with the line end.
std::string JoinCsv(const std::vector<std::string>& fields);
// A line (with or without its line end) cut at its commas.
std::vector<std::string> SplitCsv(const std::string& line);
// A whole number or a decimal number; false for anything else (an empty field too).
bool CsvWhole(const std::string& field, int64_t& value);
bool CsvNumber(const std::string& field, double& value);

}  // namespace zentrova

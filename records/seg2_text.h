#pragma once
// Searching the text areas of a SEG-2 file the way the readers do: the area
// becomes one line (every line feed and NUL a blank), a keyword is found by
// its first occurrence anywhere, and its value is scanned right after it like
// a C "%f" or "%d" conversion that skips leading blanks. Scans only accept
// finite numbers that fit their type; anything else counts as no number.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

std::string NormaliseSeg2Text(std::string_view bytes);

std::optional<double> ScanDouble(std::string_view text, size_t pos);
std::optional<float> ScanFloat(std::string_view text, size_t pos);
std::optional<int> ScanInt(std::string_view text, size_t pos);

// The value after the first occurrence of keyword; nothing when the keyword
// is absent or no number follows it.
std::optional<float> KeywordFloat(std::string_view text, std::string_view keyword);
std::optional<double> KeywordDouble(std::string_view text, std::string_view keyword);
std::optional<int> KeywordInt(std::string_view text, std::string_view keyword);

// "%d" of the characters [from, from + length), as when fixed columns are
// copied into a small buffer; nothing when they lie outside the text.
std::optional<int> FixedInt(std::string_view text, size_t from, size_t length);

}  // namespace zentrova

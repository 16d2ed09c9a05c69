#include "records/seg2_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace zentrova {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

// Skips blanks and an optional sign; returns whether the number is negative.
bool SkipToDigits(std::string_view text, size_t& pos) {
  pos = SkipBlanks(text, pos);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  return negative;
}

}  // namespace

std::string NormaliseSeg2Text(std::string_view bytes) {
  std::string text(bytes);
  for (char& c : text) {
    if (c == '\n' || c == '\0') c = ' ';
  }
  return text;
}

std::optional<double> ScanDouble(std::string_view text, size_t pos) {
  if (pos > text.size()) return std::nullopt;
  const bool negative = SkipToDigits(text, pos);
  if (pos >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[pos])) || text[pos] == '.')) {
    return std::nullopt;
  }
  double value = 0.0;
  auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value, std::chars_format::general);
  if (ec != std::errc() || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
    return std::nullopt;
  }
  (void)end;
  return negative ? -value : value;
}

std::optional<float> ScanFloat(std::string_view text, size_t pos) {
  auto v = ScanDouble(text, pos);
  if (!v) return std::nullopt;
  return static_cast<float>(*v);
}

std::optional<int> ScanInt(std::string_view text, size_t pos) {
  if (pos > text.size()) return std::nullopt;
  const bool negative = SkipToDigits(text, pos);
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
  if (ec != std::errc()) return std::nullopt;
  (void)end;
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<float> KeywordFloat(std::string_view text, std::string_view keyword) {
  size_t at = text.find(keyword);
  if (at == std::string_view::npos) return std::nullopt;
  return ScanFloat(text, at + keyword.size());
}

std::optional<double> KeywordDouble(std::string_view text, std::string_view keyword) {
  size_t at = text.find(keyword);
  if (at == std::string_view::npos) return std::nullopt;
  return ScanDouble(text, at + keyword.size());
}

std::optional<int> KeywordInt(std::string_view text, std::string_view keyword) {
  size_t at = text.find(keyword);
  if (at == std::string_view::npos) return std::nullopt;
  return ScanInt(text, at + keyword.size());
}

std::optional<int> FixedInt(std::string_view text, size_t from, size_t length) {
  if (from >= text.size() || length > text.size() - from) return std::nullopt;
  return ScanInt(text.substr(from, length), 0);
}

}  // namespace zentrova

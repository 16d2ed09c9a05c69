#include "platform/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace zentrova {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool OnlyBlanksFrom(const char* p) {
  while (*p && IsBlank(*p)) ++p;
  return *p == '\0';
}

// strtod and strtoll skip leading blanks themselves; a text that is empty
// or blank reads nothing.
bool Empty(const std::string& text) { return OnlyBlanksFrom(text.c_str()); }

}  // namespace

std::optional<int64_t> WholeInteger(const std::string& text) {
  if (Empty(text) || text.find('\0') != std::string::npos) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (end == text.c_str() || errno == ERANGE || !OnlyBlanksFrom(end)) return std::nullopt;
  return static_cast<int64_t>(v);
}

std::optional<double> WholeNumber(const std::string& text) {
  if (Empty(text) || text.find('\0') != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !OnlyBlanksFrom(end) || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace zentrova

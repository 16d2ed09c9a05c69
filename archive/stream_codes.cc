#include "archive/stream_codes.h"

#include <cctype>

#include "platform/printf.h"

namespace zentrova {

std::string CodeCharacters(const std::string& text, size_t longest) {
  std::string code;
  for (char c : text) {
    if (code.size() >= longest) break;
    const unsigned char u = static_cast<unsigned char>(c);
    if (std::isdigit(u) || (u < 128 && std::isalpha(u))) code += static_cast<char>(std::toupper(u));
  }
  return code;
}

std::string NetworkCodeOf(const std::string& stored) {
  const std::string code = CodeCharacters(stored, 2);
  return code.empty() ? "XX" : code;
}

std::string StationCodeOf(const std::string& stored, const std::string& siteName) {
  std::string code = CodeCharacters(stored, 5);
  if (code.empty()) code = CodeCharacters(siteName, 5);
  return code.empty() ? "ZENT" : code;
}

std::string LocationCode(int traceIndex) {
  if (traceIndex < 0 || traceIndex >= kMostArchivedTraces) return "";
  return Printf("%02d", traceIndex);
}

char BandCode(double rate) {
  if (rate >= 1000) return 'G';
  if (rate >= 250) return 'D';
  if (rate >= 80) return 'E';
  if (rate >= 10) return 'S';
  if (rate > 1.5) return 'M';
  if (rate >= 0.5) return 'L';
  if (rate >= 0.05) return 'V';
  return 'U';
}

std::string ChannelCode(double rate, char orientation) {
  return std::string{BandCode(rate), 'P', orientation};
}

}  // namespace zentrova

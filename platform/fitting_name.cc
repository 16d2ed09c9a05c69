#include "platform/fitting_name.h"

namespace zentrova {

std::string CutToFit(const std::string& text, size_t bytes) {
  if (text.size() <= bytes) return text;
  // Back over continuation bytes (10xxxxxx) to the start of the character;
  // a UTF-8 character has at most three. Bytes that are no UTF-8 are cut
  // where they are.
  auto continuation = [&](size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
  size_t end = bytes;
  while (end > 0 && bytes - end < 3 && continuation(end)) --end;
  if (continuation(end)) end = bytes;
  return text.substr(0, end);
}

std::string NameWithSuffix(const std::string& name, const std::string& suffix) {
  if (suffix.size() >= kMaxNameBytes) return suffix.substr(0, kMaxNameBytes);
  return CutToFit(name, kMaxNameBytes - suffix.size()) + suffix;
}

}  // namespace zentrova

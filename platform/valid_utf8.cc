#include "platform/valid_utf8.h"

namespace zentrova {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool Continues(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

size_t Utf8CharacterLength(const std::string& s, size_t at) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[at + k]); };
  const unsigned char c = byte(0);
  if (c < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() - at < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (!Continues(byte(k))) return 0;
  }
  return length;
}

std::string ValidUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8CharacterLength(text, at);
    if (length == 0) {
      out += kReplacement;
      ++at;
    } else {
      out.append(text, at, length);
      at += length;
    }
  }
  return out;
}

}  // namespace zentrova

#include "surfacewave/xml_text.h"

#include <cstdint>

namespace zentrova {
namespace {

// Length of the UTF-8 sequence starting at text[i] and its code point; 0
// when it is not a well-formed, shortest, non-surrogate sequence.
size_t Utf8Sequence(std::string_view text, size_t i, uint32_t& code) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  uint32_t min = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Characters XML 1.0 admits that a person would keep.
bool Kept(uint32_t code) {
  if (code == '\t' || code == '\n' || code == '\r') return true;
  if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return false;  // C0, DEL and C1 controls
  return code != 0xFFFE && code != 0xFFFF;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  uint32_t code = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t n = Utf8Sequence(text, i, code);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string XmlSafeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  uint32_t code = 0;
  if (IsValidUtf8(text)) {
    for (size_t i = 0; i < text.size();) {
      const size_t n = Utf8Sequence(text, i, code);
      if (Kept(code)) out.append(text.substr(i, n));
      i += n;
    }
    return out;
  }
  for (unsigned char c : text) {  // Latin-1: each byte is its code point
    if (Kept(c)) AppendUtf8(out, c);
  }
  return out;
}

}  // namespace zentrova

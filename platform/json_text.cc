#include "platform/json_text.h"

#include <cmath>
#include <cstdio>

#include "platform/valid_utf8.h"

namespace zentrova {

std::string JsonNumber(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

std::string JsonText(const std::string& s) {
  std::string out = "\"";
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      // A byte that begins no UTF-8 character (a name in another encoding)
      // becomes the replacement character: the output stays valid JSON.
      const size_t n = Utf8CharacterLength(s, i);
      if (n == 0) {
        out += "\\ufffd";
      } else {
        out.append(s, i, n);
        i += n - 1;
      }
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace zentrova

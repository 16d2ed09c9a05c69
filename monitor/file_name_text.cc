#include "monitor/file_name_text.h"

#include <cstring>

namespace zentrova {

std::string FileNameText(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f || std::strchr("/\\:*?\"<>|", c) != nullptr) c = '_';
  }
  return out;
}

}  // namespace zentrova

#pragma once
// File names no longer than a file system accepts: 255 bytes for one name
// on the Linux file systems and FAT's long names alike. A name made longer
// by a suffix ("-2", ".partial") is shortened before the suffix, at a
// character boundary so that UTF-8 text stays whole.

#include <cstddef>
#include <string>

namespace zentrova {

inline constexpr size_t kMaxNameBytes = 255;

// `text` cut to at most `bytes` bytes, never inside a UTF-8 sequence.
std::string CutToFit(const std::string& text, size_t bytes);

// `name` + `suffix`, `name` shortened where both would exceed kMaxNameBytes.
std::string NameWithSuffix(const std::string& name, const std::string& suffix);

}  // namespace zentrova

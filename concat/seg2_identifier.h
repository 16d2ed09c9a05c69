#pragma once
// Whether a file begins as a SEG-2 record does: the file descriptor block's
// identifier 0x3A55, little-endian. The readers themselves do not look at
// it; the join and the record tool use it to tell records from other files.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

enum class Seg2Identity {
  kCannotOpen,  // the file cannot be opened
  kNotSeg2,     // shorter than two bytes, or another identifier
  kSeg2,
};

Seg2Identity IdentifySeg2File(FileSystem& fs, const std::string& path);

}  // namespace zentrova

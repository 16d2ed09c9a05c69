#pragma once
// Whether a SEG-2 file already holds every trace its directory announces:
// the file descriptor, each trace descriptor and all samples of each trace.
// A record still being written (or one cut short) is not whole.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

bool Seg2RecordIsWhole(FileSystem& fs, const std::string& path);

}  // namespace zentrova

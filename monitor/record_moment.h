#pragma once
// The moment a record file stands for, in milliseconds since 1970: the time
// of its first sample from its header, or, for a record that carries none
// (or cannot be read), its modification time. Used at a start to tell the
// records that arrived while the station was down from older ones.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace zentrova {

std::optional<int64_t> RecordMomentMs(FileSystem& fs, const std::string& path, int kind);

}  // namespace zentrova

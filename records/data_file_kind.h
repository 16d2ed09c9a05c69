#pragma once
// What a file is, from its name: known extensions are looked for anywhere
// in the name (case-sensitive, only the listed spellings).

#include <string>

#include "platform/file_system.h"

namespace zentrova {

inline constexpr int DataKindNone = -1;
inline constexpr int DataKindSeg2 = 0;
inline constexpr int DataKindMtNeo = 16;

// The monitor's test: -1 for a name with no known extension.
int DataFileKind(const std::string& name);
// The concatenation's test: SEG-2 (0) for anything it does not know. A
// ".txt" name is opened through `fs` to look at its first line.
int JoinFileKind(FileSystem& fs, const std::string& name);

}  // namespace zentrova

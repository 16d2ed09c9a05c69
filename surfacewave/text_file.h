#pragma once
// The analysis' text files: built in memory, then written in one go over
// any earlier file of the name. A file that cannot be written is skipped.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

// Returns true when the whole text was written.
bool ReplaceTextFile(FileSystem& fs, const std::string& path, const std::string& text);

}  // namespace zentrova

#pragma once
// Writing a whole file so that readers see the old contents or the new,
// never a part: the bytes go to a new file beside it, which then replaces
// the name by renaming. Whatever stands at the name (a link to another
// file, a FIFO, another user's file) is replaced, never followed, opened
// or waited on; a folder of the name stays as it is.

#include <string>

#include "platform/file_system.h"
#include "platform/status.h"

namespace zentrova {

// `mode`: of the new file. `sync`: flushed to the disk before it replaces
// the name (a picture mailed at once). Nothing is left beside the name
// when it fails.
Status ReplaceContents(FileSystem& fs, const std::string& path, const std::string& bytes, int mode, bool sync);

}  // namespace zentrova

#ifndef ZENTROVA_PLATFORM_NARROW_MODE_H_
#define ZENTROVA_PLATFORM_NARROW_MODE_H_

// Files made from records (a joined record, an event file) are readable by
// no one who may not read the records themselves.

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

// The permission bits every one of `paths` grants (0666 at most); 0666 when
// none of them can be looked at.
int CommonMode(FileSystem& fs, const std::vector<std::string>& paths);

// Takes from `path` every permission bit that `allowed` does not hold; never
// widens. A file that cannot be looked at is left as it is.
Status NarrowMode(FileSystem& fs, const std::string& path, int allowed);

}  // namespace zentrova

#endif  // ZENTROVA_PLATFORM_NARROW_MODE_H_

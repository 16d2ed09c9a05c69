#pragma once
// Moving a file where a rename cannot: copy to a temporary name beside the
// target (with no wider permission bits than the source), flush, place it
// under the target name without replacing, and only then remove the source.
// If any step fails, or the source changed while it was copied, the source
// is left untouched and the copy is removed, so the record is never lost and
// never filed half-written.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

// Only regular files are moved this way; a symbolic link, a FIFO or a
// device is refused with kInvalid and never opened.
Status MoveByCopy(FileSystem& fs, const std::string& from, const std::string& to);

// Gives the file `from` the name `to` in the same folder or file system,
// never replacing an existing `to`; afterwards `from` is gone. A hard link
// is tried first; where the file system has none (FAT, exFAT), a rename that
// refuses to replace; where that is not offered either, the name `to` is
// taken by an exclusively created empty placeholder, which the file then
// replaces by a rename.
Status PlaceWithoutReplacing(FileSystem& fs, const std::string& from, const std::string& to);

}  // namespace zentrova

#pragma once
// Where the files an e-mail carries may come from. The station attaches only
// what it wrote below its destination folder (the filed record, the event
// image); a path named by other hands (a spool file put into the outbox)
// must not make the sender carry any other file of this user away.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

// Whether `path` names an entry below `folder`: both absolute, every part of
// `path` below the folder a plain name (no "." or ".."), and none of those
// parts a symbolic link (without a file system only the names are looked
// at). The folder itself may be a link.
bool LiesBelow(FileSystem* fs, const std::string& folder, const std::string& path);

}  // namespace zentrova

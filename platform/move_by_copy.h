#pragma once
// Moving a file where a rename cannot: copy to a temporary name beside the
// target, flush, link into place without replacing, and only then remove the
// source. If any step fails the source is left untouched and the temporary
// copy is removed, so the record is never lost.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

Status MoveByCopy(FileSystem& fs, const std::string& from, const std::string& to);

}  // namespace zentrova

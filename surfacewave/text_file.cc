#include "surfacewave/text_file.h"

namespace zentrova {

bool ReplaceTextFile(FileSystem& fs, const std::string& path, const std::string& text) {
  auto file = fs.OpenForWrite(path);
  if (!file.ok()) return false;
  const bool appended = (*file)->Append(text).ok();
  const bool closed = (*file)->Close().ok();
  return appended && closed;
}

}  // namespace zentrova

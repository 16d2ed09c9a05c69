#include "surfacewave/text_file.h"

namespace zentrova {

// The text goes to a new file beside the old one, which it then replaces by
// renaming: whatever stands at `path` (a link to another file, a FIFO left
// there, another user's file) is replaced, never followed, opened or
// waited on; a folder of the name stays as it is.
bool ReplaceTextFile(FileSystem& fs, const std::string& path, const std::string& text) {
  const std::string part = path + ".part";
  if (fs.Inspect(part).ok()) (void)fs.Remove(part);  // left by a write cut short
  auto file = fs.CreateNewFile(part, 0644);
  if (!file.ok()) return false;
  const bool appended = (*file)->Append(text).ok();
  const bool closed = (*file)->Close().ok();
  if (appended && closed && fs.ReplaceFile(part, path).ok()) return true;
  (void)fs.Remove(part);
  return false;
}

}  // namespace zentrova

#include "platform/replace_contents.h"

namespace zentrova {

Status ReplaceContents(FileSystem& fs, const std::string& path, const std::string& bytes, int mode, bool sync) {
  const std::string part = path + ".part";
  if (fs.Inspect(part).ok()) (void)fs.Remove(part);  // left by a write cut short
  auto file = fs.CreateNewFile(part, mode);
  if (!file.ok()) return file.status();
  Status s = (*file)->Append(bytes);
  if (s.ok() && sync) s = (*file)->Sync();
  const Status closed = (*file)->Close();
  if (s.ok()) s = closed;
  if (s.ok()) s = fs.ReplaceFile(part, path);
  if (!s.ok()) (void)fs.Remove(part);
  return s;
}

}  // namespace zentrova

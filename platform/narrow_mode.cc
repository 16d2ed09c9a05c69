#include "platform/narrow_mode.h"

namespace zentrova {

int CommonMode(FileSystem& fs, const std::vector<std::string>& paths) {
  int mode = 0666;
  for (const std::string& path : paths) {
    if (auto info = fs.Inspect(path); info.ok() && info->type == EntryType::kRegular) mode &= info->mode;
  }
  return mode;
}

Status NarrowMode(FileSystem& fs, const std::string& path, int allowed) {
  auto info = fs.Inspect(path);
  if (!info.ok() || info->type != EntryType::kRegular) return Status::Ok();
  const int narrowed = info->mode & allowed;
  if (narrowed == info->mode) return Status::Ok();
  return fs.SetMode(path, narrowed);
}

}  // namespace zentrova

#include "surfacewave/text_file.h"

#include "platform/replace_contents.h"

namespace zentrova {

bool ReplaceTextFile(FileSystem& fs, const std::string& path, const std::string& text) {
  return ReplaceContents(fs, path, text, 0644, false).ok();
}

}  // namespace zentrova

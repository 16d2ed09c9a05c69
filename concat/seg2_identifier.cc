#include "concat/seg2_identifier.h"

namespace zentrova {

Seg2Identity IdentifySeg2File(FileSystem& fs, const std::string& path) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return Seg2Identity::kCannotOpen;
  char id[2] = {0, 0};
  if (!ReadExactly(**file, 0, 2, id).ok()) return Seg2Identity::kNotSeg2;
  const bool seg2 = static_cast<unsigned char>(id[0]) == 0x55 && static_cast<unsigned char>(id[1]) == 0x3A;
  return seg2 ? Seg2Identity::kSeg2 : Seg2Identity::kNotSeg2;
}

}  // namespace zentrova

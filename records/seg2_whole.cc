#include "records/seg2_whole.h"

#include "records/seg2_blocks.h"

namespace zentrova {

bool Seg2RecordIsWhole(FileSystem& fs, const std::string& path) {
  auto file = fs.OpenEntryForRead(path);
  if (!file.ok()) return false;
  auto dir = ReadSeg2Directory(**file, 65535);
  if (!dir.ok() || dir->traceCount <= 0 || dir->pointers.size() != static_cast<size_t>(dir->traceCount)) {
    return false;
  }
  for (const uint32_t pointer : dir->pointers) {
    auto block = ReadSeg2TraceBlock(**file, pointer);
    if (!block.ok() || !CheckSeg2Samples(**file, *block, block->sampleCount).ok()) return false;
  }
  return true;
}

}  // namespace zentrova

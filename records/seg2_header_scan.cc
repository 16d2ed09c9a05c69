#include "records/seg2_header_scan.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "records/seg2_blocks.h"

namespace zentrova {

int ScanSeg2Headers(FileSystem& fs, Prompt& prompt, const std::string& path, std::vector<CHeaderXY>& headersXY,
                    const RecordLimits& limits) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return -1;
  RandomAccessFile& f = **file;

  const auto note = ReadSeg2NotePosition(f);

  auto dir = ReadSeg2Directory(f, limits.maxTraces);
  if (!dir.ok()) return 0;
  if (dir->traceCount > limits.maxTraces) {
    char text[128];
    std::snprintf(text, sizeof text, "Number of traces is too large ! \n\n Maximum trace number is  %d",
                  limits.maxTraces);
    prompt.Show(text);
  }
  const int n = static_cast<int>(dir->pointers.size());
  if (headersXY.size() < static_cast<size_t>(n)) headersXY.resize(static_cast<size_t>(n));

  int scanned = 0;
  bool allZero = true;
  for (int i = 0; i < n; ++i) {
    auto block = ReadSeg2TraceBlock(f, dir->pointers[i]);
    if (!block.ok()) break;
    const Seg2TraceStrings s = ParseSeg2TraceStrings(block->text, i);
    CHeaderXY h;
    h.nTrace = i;
    h.nReceiverLoc = EncodeAssignedLocation(s.receiver);
    h.nSourceLoc = EncodeAssignedLocation(s.source);
    h.nFixedGain = 0;
    h.nComponent = s.rawReceiverComponent;
    h.fDelay = 0.0f;
    h.fSampleInterval = Microseconds(s.sampleInterval);
    h.nSamples = static_cast<int32_t>(std::min<int64_t>(block->sampleCount, std::numeric_limits<int32_t>::max()));
    ApplyTracePosition(h, s, note);
    headersXY[i] = h;
    allZero = allZero && s.receiver == 0.0f;
    scanned = i + 1;
  }
  if (scanned > 0 && allZero) {
    for (int k = 0; k < scanned; ++k) headersXY[k].nReceiverLoc = EncodeAssignedLocation(k);
  }
  return scanned;
}

}  // namespace zentrova

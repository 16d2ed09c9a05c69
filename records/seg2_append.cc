#include "records/seg2_append.h"

#include <algorithm>
#include <cstdio>

#include "records/record_time.h"
#include "records/seg2_blocks.h"

namespace zentrova {
namespace {

constexpr const char* kFailed = "Failed to open a file.";

void ReadTime(RandomAccessFile& f, const Seg2Directory& dir, RecordTimeHeader& time) {
  time.bTimeValid = dir.pointers.empty() ? 0 : ParseRecordTime(ReadSeg2FileText(f, dir), time);
  time.tFirstSample = time.tAcquisition;
  time.nFirstSampleMs = time.nAcquisitionMs;
  time.strFirstSample = FormatFirstSampleText(time.tFirstSample, time.nFirstSampleMs);
}

// Stored samples of a trace of n raw samples: every step-th, within the
// limit, and only from the raw samples that are read.
int64_t StoredCount(int64_t n, int64_t rawRead, int step, int maxStored) {
  int64_t stored = std::min<int64_t>(n / step, maxStored);
  return std::min<int64_t>(stored, (rawRead + step - 1) / step);
}

int AppendTraces(FileSystem& fs, Prompt& prompt, const std::string& path, int maxSamples, int firstIndex, int step,
                 std::vector<CHeaderXY>& headersXY, std::vector<std::vector<float>>* data, RecordTimeHeader& timeHeader,
                 const RecordLimits& limits) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return -1;
  RandomAccessFile& f = **file;
  maxSamples = std::max(maxSamples, kMaxSamples);
  step = std::max(step, 1);
  firstIndex = std::clamp(firstIndex, 0, limits.maxTraces);

  const auto note = ReadSeg2NotePosition(f);

  auto dir = ReadSeg2Directory(f, limits.maxTraces);
  if (!dir.ok()) {
    prompt.Show(kFailed);
    return 0;
  }
  ReadTime(f, *dir, timeHeader);

  int count = dir->traceCount;
  if (firstIndex + count > limits.maxTraces) {
    count = limits.maxTraces - firstIndex;
    char text[128];
    std::snprintf(text, sizeof text, "The total number of traces was too large ! \n Only %d traces has been read !",
                  count);
    prompt.Show(text);
  }
  const size_t end = static_cast<size_t>(firstIndex + count);
  if (headersXY.size() < end) headersXY.resize(end);
  if (data && data->size() < end) data->resize(end);

  bool warned = false;
  bool allZero = true;
  std::vector<float> raw;
  for (int i = 0; i < count; ++i) {
    const int g = firstIndex + i;
    auto block = ReadSeg2TraceBlock(f, dir->pointers[i]);
    if (!block.ok()) {
      prompt.Show(kFailed);
      return 0;
    }
    const Seg2TraceStrings s = ParseSeg2TraceStrings(block->text, i);
    const int64_t n = block->sampleCount;
    if (n / step > limits.maxSamples && !warned) {
      prompt.Show(" Number of samples is too large ! \n\n Data will be truncated. \n\n Change maximum samples by "
                  "'Option', 'Dimension size' !");
      warned = true;
    }
    const int64_t rawRead = std::min<int64_t>(n, maxSamples);
    const int64_t stored = StoredCount(n, rawRead, step, limits.maxSamples);
    const int64_t rawNeeded = stored == 0 ? 0 : (stored - 1) * step + 1;
    const Status read = data ? ReadSeg2Samples(f, *block, rawNeeded, raw) : CheckSeg2Samples(f, *block, rawNeeded);
    if (!read.ok()) {
      prompt.Show(kFailed);
      return 0;
    }
    if (data) {
      std::vector<float>& out = (*data)[g];
      out.resize(static_cast<size_t>(stored));
      for (int64_t j = 0; j < stored; ++j) out[j] = raw[static_cast<size_t>(j * step)];
    }

    CHeaderXY& h = headersXY[g];
    h.nTrace = g;
    h.nReceiverLoc = EncodeLocation(s.receiver);
    h.nSourceLoc = EncodeLocation(s.source);
    h.fReceiverLoc100 = s.receiver * 100.0f;
    h.nFixedGain = s.fixedGain;
    h.nComponent = s.component;
    h.fDelay = Microseconds(s.delay);
    h.fSampleInterval = Microseconds(s.sampleInterval, step);
    h.nSamples = static_cast<int32_t>(stored);
    ApplyTracePosition(h, s, note);
    allZero = allZero && s.receiver == 0.0f;
  }
  if (count > 0 && allZero) {
    for (int i = 0; i < count; ++i) {
      headersXY[firstIndex + i].nReceiverLoc = EncodeAssignedLocation(i);
      headersXY[firstIndex + i].fReceiverLoc100 = static_cast<float>(i) * 100.0f;
    }
  }
  return count;
}

}  // namespace

int AppendSeg2File(FileSystem& fs, Prompt& prompt, const std::string& path, int maxSamples, int firstIndex, int step,
                   std::vector<CHeaderXY>& headersXY, std::vector<std::vector<float>>& data,
                   RecordTimeHeader& timeHeader, const RecordLimits& limits) {
  return AppendTraces(fs, prompt, path, maxSamples, firstIndex, step, headersXY, &data, timeHeader, limits);
}

int AppendSeg2Headers(FileSystem& fs, Prompt& prompt, const std::string& path, int maxSamples, int firstIndex, int step,
                      std::vector<CHeaderXY>& headersXY, RecordTimeHeader& timeHeader, const RecordLimits& limits) {
  return AppendTraces(fs, prompt, path, maxSamples, firstIndex, step, headersXY, nullptr, timeHeader, limits);
}

}  // namespace zentrova

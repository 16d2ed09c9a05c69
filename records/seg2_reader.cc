#include "records/seg2_reader.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "records/record_limits.h"
#include "records/record_time.h"
#include "records/seg2_blocks.h"

namespace zentrova {
namespace {

void SetWhy(std::string* why, const std::string& text) {
  if (why) *why = text;
}

void ReadFileTime(RandomAccessFile& file, const Seg2Directory& dir, RecordTimeHeader& time) {
  if (dir.pointers.empty()) {
    // Without a trace there is nothing to size the string area by: no time.
    time.bTimeValid = 0;
    time.nGpsStatus = 3;
    return;
  }
  time.bTimeValid = ParseRecordTime(ReadSeg2FileText(file, dir), time);
}

void PrepareArrays(SeismicRecord& record, int n, int bAllocate) {
  if (bAllocate) {
    record.ReleaseTraces();
    record.AllocateTraces(n);
    return;
  }
  const size_t count = static_cast<size_t>(n);
  record.pHeader.resize(count);
  record.pHeaderXY.resize(count);
  record.ppData.resize(count);
}

void FillHeader(CHeader& h, int index, const Seg2TraceStrings& s, int32_t samples) {
  h.nTrace = index;
  h.nReceiverLoc = EncodeLocation(s.receiver);
  h.nSourceLoc = EncodeLocation(s.source);
  h.bSourceLocation = s.sourceGiven ? 1 : 0;
  h.nFixedGain = s.fixedGain;
  h.nComponent = s.component;
  h.fDelay = Microseconds(s.delay);
  h.fSampleInterval = Microseconds(s.sampleInterval);
  h.nSamples = samples;
  if (s.manualChannel) h.nManualChannel = *s.manualChannel;
}

// Reads trace after trace; returns how many were read completely.
int ReadTraces(RandomAccessFile& file, SeismicRecord& record, const Seg2Directory& dir,
               std::vector<Seg2TraceStrings>& strings, std::string* why) {
  const int n = static_cast<int>(dir.pointers.size());
  for (int i = 0; i < n; ++i) {
    auto block = ReadSeg2TraceBlock(file, dir.pointers[i]);
    if (!block.ok()) {
      SetWhy(why, "trace " + std::to_string(i) + ": " + block.status().message());
      return i;
    }
    Seg2TraceStrings s = ParseSeg2TraceStrings(block->text, i);
    const int64_t kept = std::min<int64_t>(block->sampleCount, kMaxSamples);
    Status st = ReadSeg2Samples(file, *block, kept, record.ppData[i]);
    if (!st.ok()) {
      SetWhy(why, "trace " + std::to_string(i) + ": " + st.message());
      return i;
    }
    FillHeader(record.pHeader[i], i, s, static_cast<int32_t>(kept));
    record.pHeader[i].nFormatCode = block->formatCode;
    record.pHeader[i].fMaxAmplitude = PeakAmplitude(record.ppData[i].data(), record.ppData[i].size());
    ApplyTracePosition(record.pHeaderXY[i], s);
    strings.push_back(s);
  }
  return n;
}

// All receivers at 0 (or a single trace without one): number them 0, 1, 2 ...
void NumberReceiversWhenAllZero(SeismicRecord& record, const std::vector<Seg2TraceStrings>& strings) {
  if (strings.empty()) return;
  for (const auto& s : strings) {
    if (s.receiver != 0.0f) return;
  }
  for (size_t k = 0; k < strings.size(); ++k) {
    record.pHeader[k].nReceiverLoc = EncodeAssignedLocation(static_cast<double>(k));
  }
}

int ReadOpened(RandomAccessFile& file, SeismicRecord& record, int bAllocate, int bReadData, int& status,
               std::string* why) {
  auto count = ReadSeg2TraceCount(file);
  if (count.ok() && *count > kMaxTraces) {
    status = kSeg2TooManyTraces;
    SetWhy(why, "file indicates " + std::to_string(*count) + " traces, more than " + std::to_string(kMaxTraces));
    return 0;
  }
  auto dir = ReadSeg2Directory(file, kMaxTraces);
  if (!dir.ok()) {
    status = kSeg2NoDirectory;
    SetWhy(why, dir.status().message());
    return 0;
  }
  const int n = dir->traceCount;
  ReadFileTime(file, *dir, record.time);
  record.nTracesInFile = n;
  if (!bReadData) {
    record.time.SetFirstSampleTime(0.0f);
    status = kSeg2AllRead;
    return n;
  }

  PrepareArrays(record, n, bAllocate);
  std::vector<Seg2TraceStrings> strings;
  strings.reserve(static_cast<size_t>(n));
  int read = 0;
  try {
    read = ReadTraces(file, record, *dir, strings, why);
  } catch (const std::exception& e) {  // an exhausted heap ends the loop like a read failure
    read = static_cast<int>(strings.size());
    SetWhy(why, std::string("trace ") + std::to_string(read) + ": " + e.what());
  }
  const size_t kept = static_cast<size_t>(read);
  record.pHeader.resize(kept);
  record.pHeaderXY.resize(kept);
  record.ppData.resize(kept);
  record.nTraces = read;
  record.bAllocated = 1;

  NumberReceiversWhenAllZero(record, strings);
  record.time.SetFirstSampleTime(strings.empty() ? 0.0f : static_cast<float>(strings[0].delay));
  record.ComputeSummaryFromTracePeaks();
  if (!record.pHeaderXY.empty()) {
    record.time.dLatitude = record.pHeaderXY[0].fLatitude;
    record.time.dLongitude = record.pHeaderXY[0].fLongitude;
  }
  status = read == n ? kSeg2AllRead : kSeg2ShortRead;
  return read == n ? read : 0;
}

}  // namespace

int ReadSeg2FirstTraceSamples(FileSystem& fs, const std::string& path) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return 0;
  auto dir = ReadSeg2Directory(**file, 1);
  if (!dir.ok() || dir->pointers.empty()) return 0;
  auto block = ReadSeg2TraceBlock(**file, dir->pointers[0]);
  if (!block.ok()) return 0;
  return static_cast<int>(std::min<int64_t>(block->sampleCount, kMaxSamples));
}

int ReadSeg2File(FileSystem& fs, SeismicRecord& record, const std::string& path, int bAllocate, int bReadData,
                 int& status, std::string* why) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) {
    SetWhy(why, file.status().message());
    return -1;
  }
  try {
    return ReadOpened(**file, record, bAllocate, bReadData, status, why);
  } catch (const std::exception& e) {
    status = kSeg2NoDirectory;
    SetWhy(why, e.what());
    return 0;
  }
}

}  // namespace zentrova

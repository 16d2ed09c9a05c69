#include "archive/archive_trace.h"

#include <bit>
#include <cmath>

#include "archive/archive_span.h"
#include "platform/local_time.h"
#include "records/mtneo_import.h"
#include "records/record_limits.h"
#include "records/record_time.h"
#include "records/seg2_blocks.h"
#include "records/seg2_code3.h"
#include "records/seg2_text.h"

namespace zentrova {
namespace {

uint32_t U32(const unsigned char* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint64_t U64(const unsigned char* p) { return uint64_t(U32(p)) | (uint64_t(U32(p + 4)) << 32); }

size_t BytesOf(int code, size_t n) {
  switch (code) {
    case 1: return 2 * n;
    case 3: return (n + 3) / 4 * 10;
    case 5: return 8 * n;
    default: return 4 * n;
  }
}

// The samples of one trace in the kind the format code stores them.
Status ReadSamples(RandomAccessFile& file, const Seg2TraceBlock& block, ArchiveTrace& t) {
  const size_t n = static_cast<size_t>(block.sampleCount);
  if (Status st = CheckSeg2Samples(file, block, block.sampleCount); !st.ok()) return st;
  // Format 3 packs four samples in ten bytes; a last group cut short reads as zeros.
  const uint64_t room = file.Size() - std::min(file.Size(), block.dataOffset);
  std::vector<unsigned char> raw(std::min<uint64_t>(BytesOf(block.formatCode, n), room));
  if (Status st = ReadExactly(file, block.dataOffset, raw.size(), reinterpret_cast<char*>(raw.data())); !st.ok()) {
    return st;
  }
  const unsigned char* p = raw.data();
  switch (block.formatCode) {
    case 1:
      t.ints.resize(n);
      for (size_t j = 0; j < n; ++j) t.ints[j] = static_cast<int16_t>(p[2 * j] | (p[2 * j + 1] << 8));
      break;
    case 3:
      t.ints.resize(n);
      UnpackSeg2Code3(raw, t.ints.data(), n);
      break;
    case 4:
      t.kind = SampleKind::kFloat32;
      t.floats.resize(n);
      for (size_t j = 0; j < n; ++j) t.floats[j] = std::bit_cast<float>(U32(p + 4 * j));
      break;
    case 5:
      t.kind = SampleKind::kFloat64;
      t.doubles.resize(n);
      for (size_t j = 0; j < n; ++j) t.doubles[j] = std::bit_cast<double>(U64(p + 8 * j));
      break;
    default:  // 2, and codes the readers take as 32-bit integers
      t.ints.resize(n);
      for (size_t j = 0; j < n; ++j) t.ints[j] = static_cast<int32_t>(U32(p + 4 * j));
      break;
  }
  return Status::Ok();
}

}  // namespace

size_t ArchiveTrace::Count() const {
  switch (kind) {
    case SampleKind::kFloat32: return floats.size();
    case SampleKind::kFloat64: return doubles.size();
    default: return ints.size();
  }
}

StatusOr<ArchiveRecord> ReadSeg2ForArchive(FileSystem& fs, const std::string& path) {
  auto opened = fs.OpenEntryForRead(path);
  if (!opened.ok()) return opened.status();
  RandomAccessFile& file = **opened;
  auto dir = ReadSeg2Directory(file, kMaxTraces);
  if (!dir.ok()) return dir.status();
  if (dir->traceCount > kMaxTraces) {
    return Status::Invalid(path + " announces " + std::to_string(dir->traceCount) + " traces, more than " +
                           std::to_string(kMaxTraces));
  }
  if (dir->pointers.empty()) return Status::Invalid(path + " holds no trace");
  RecordTimeHeader time;
  if (ParseRecordTime(ReadSeg2FileText(file, *dir), time) != 1) {
    return Status::Invalid(path + " carries no acquisition time of its own");
  }
  ArchiveRecord record;
  double firstDelayS = 0;
  for (size_t i = 0; i < dir->pointers.size(); ++i) {
    auto block = ReadSeg2TraceBlock(file, dir->pointers[i]);
    if (!block.ok()) return Status::Invalid(path + ", trace " + std::to_string(i) + ": " + block.status().message());
    const Seg2TraceStrings strings = ParseSeg2TraceStrings(block->text, static_cast<int>(i));
    if (!(strings.sampleInterval > 0) || !std::isfinite(strings.sampleInterval)) {
      return Status::Invalid(path + ", trace " + std::to_string(i) + ": no sample interval");
    }
    if (i == 0) {
      // The readers take a DELAY that is no number for none; the archive
      // cannot know when such a record began.
      if (block->text.find("DELAY") != std::string::npos && !KeywordDouble(block->text, "DELAY")) {
        return Status::Invalid(path + ": the first trace's DELAY is no number");
      }
      firstDelayS = strings.delay;
    }
    ArchiveTrace t;
    t.index = static_cast<int>(i);
    t.receiverLocation = strings.receiver;
    t.intervalUs = strings.sampleInterval * 1e6;
    if (Status st = ReadSamples(file, *block, t); !st.ok()) {
      return Status::Invalid(path + ", trace " + std::to_string(i) + ": " + st.message());
    }
    record.traces.push_back(std::move(t));
  }
  if (!std::isfinite(firstDelayS)) return Status::Invalid(path + ": the first trace's DELAY is no number");
  const double startUs = static_cast<double>(time.tAcquisition) * 1e6 + time.nAcquisitionMs * 1e3 +
                         std::round(firstDelayS * 1e6);
  if (!ArchivedTime(startUs)) {
    return Status::Invalid(path + ": the first sample (acquisition time and DELAY) lies outside 1970 to 2100");
  }
  record.startUs = static_cast<int64_t>(startUs);
  return record;
}

StatusOr<ArchiveRecord> ReadMtNeoForArchive(FileSystem& fs, const std::string& path) {
  auto header = ReadMtNeoHeader(fs, path);
  if (!header.ok()) return header.status();
  const auto start = LocalToSeconds(header->firstSample);
  if (!start) return Status::Invalid(path + ": the first-sample time is no local time");
  if (!ArchivedTime(static_cast<double>(*start) * 1e6)) {
    return Status::Invalid(path + ": the first sample lies outside 1970 to 2100");
  }
  auto opened = fs.OpenEntryForRead(path);
  if (!opened.ok()) return opened.status();
  const int64_t frames = std::min<int64_t>(header->nFrames, header->nFileFrames);
  constexpr int64_t kMostFrames = 10000000;  // a day at 100 Hz and more; a larger file is no record
  if (frames > kMostFrames) return Status::Invalid(path + " holds more frames than a record has");
  const size_t n = static_cast<size_t>(std::max<int64_t>(0, frames));
  std::vector<unsigned char> raw(n * static_cast<size_t>(header->nFrameBytes));
  if (Status st = ReadExactly(**opened, 512, raw.size(), reinterpret_cast<char*>(raw.data())); !st.ok()) return st;
  ArchiveRecord record;
  record.startUs = *start * 1000000;
  const int components = header->nComponents == 1 ? 1 : 3;
  static constexpr char kDirections[] = {'N', 'E', 'Z'};
  for (int k = 0; k < components; ++k) {
    ArchiveTrace t;
    t.index = k;
    t.orientation = components == 1 ? 'Z' : kDirections[k];
    t.receiverLocation = components == 1 ? 0 : k;
    t.intervalUs = header->IntervalMicroseconds();
    t.ints.resize(n);
    for (size_t j = 0; j < n; ++j) {
      t.ints[j] = static_cast<int32_t>(U32(raw.data() + j * static_cast<size_t>(header->nFrameBytes) + 4 * k));
    }
    record.traces.push_back(std::move(t));
  }
  return record;
}

}  // namespace zentrova

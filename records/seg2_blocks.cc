#include "records/seg2_blocks.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "records/note_position.h"
#include "records/seg2_code3.h"
#include "records/seg2_text.h"

namespace zentrova {
namespace {

constexpr uint64_t kFileDescriptor = 32;
constexpr uint64_t kTraceFixedPart = 32;

uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const unsigned char* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint64_t U64(const unsigned char* p) { return uint64_t(U32(p)) | (uint64_t(U32(p + 4)) << 32); }

// A 64-bit sample beyond the float range becomes the largest float of its sign.
float ToFloat(double v) {
  if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::max();
  if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::max();
  return static_cast<float>(v);
}

std::string ReadText(RandomAccessFile& file, uint64_t offset, uint64_t length) {
  if (offset >= file.Size()) return "";
  length = std::min(length, file.Size() - offset);
  std::string raw(length, '\0');
  if (!ReadExactly(file, offset, raw.size(), raw.data()).ok()) return "";
  return NormaliseSeg2Text(raw);
}

// Bytes the first `count` samples take in a format, and bytes worth reading
// (format 3 reads whole groups where the file has them).
uint64_t BytesNeeded(int code, int64_t count) {
  const uint64_t n = static_cast<uint64_t>(count);
  switch (code) {
    case 1: return 2 * n;
    case 3: return 5 * n / 2;
    case 5: return 8 * n;
    default: return 4 * n;
  }
}

}  // namespace

StatusOr<int> ReadSeg2TraceCount(RandomAccessFile& file) {
  unsigned char head[kFileDescriptor];
  Status st = ReadExactly(file, 0, sizeof head, reinterpret_cast<char*>(head));
  if (!st.ok()) return Status::Invalid("file descriptor block cut short (" + std::to_string(file.Size()) + " bytes)");
  return static_cast<int>(U16(head + 6));
}

StatusOr<Seg2Directory> ReadSeg2Directory(RandomAccessFile& file, int maxPointers) {
  auto count = ReadSeg2TraceCount(file);
  if (!count.ok()) return count.status();
  Seg2Directory dir;
  dir.traceCount = *count;
  const size_t wanted = static_cast<size_t>(std::clamp(dir.traceCount, 0, std::max(maxPointers, 0)));
  std::vector<unsigned char> raw(4 * wanted);
  if (!ReadExactly(file, kFileDescriptor, raw.size(), reinterpret_cast<char*>(raw.data())).ok()) {
    return Status::Invalid("file indicates " + std::to_string(dir.traceCount) +
                           " traces, but the trace pointers run past the end of the file");
  }
  dir.pointers.resize(wanted);
  for (size_t i = 0; i < wanted; ++i) dir.pointers[i] = U32(raw.data() + 4 * i);
  return dir;
}

std::string ReadSeg2FileText(RandomAccessFile& file, const Seg2Directory& dir) {
  if (dir.pointers.empty()) return "";
  const uint64_t start = kFileDescriptor + 4 * uint64_t(dir.traceCount);
  const uint64_t first = dir.pointers[0];
  if (first <= start) return "";
  return ReadText(file, start, first - start);
}

std::string ReadSeg2Prefix(RandomAccessFile& file, size_t n) { return ReadText(file, 0, n); }

// Bytes of a descriptor block read at once: the fixed part and, for the
// usual block sizes, the strings as well.
uint64_t HeadLength(const RandomAccessFile& file, uint64_t pointer) {
  constexpr uint64_t kFirstRead = 1024;
  return std::min<uint64_t>(kFirstRead, file.Size() - std::min<uint64_t>(file.Size(), pointer));
}

StatusOr<Seg2TraceBlock> ReadSeg2TraceBlock(RandomAccessFile& file, uint32_t pointer) {
  std::string head(HeadLength(file, pointer), '\0');
  if (!ReadExactly(file, pointer, head.size(), head.data()).ok()) head.clear();
  if (head.size() < kTraceFixedPart) {
    return Status::Invalid("trace pointer " + std::to_string(pointer) + " lies beyond the end of the file");
  }
  const unsigned char* fixed = reinterpret_cast<const unsigned char*>(head.data());
  const int16_t size = static_cast<int16_t>(U16(fixed + 2));
  if (size < static_cast<int16_t>(kTraceFixedPart)) {
    return Status::Invalid("trace descriptor at " + std::to_string(pointer) + " gives an impossible size " +
                           std::to_string(size));
  }
  Seg2TraceBlock block;
  block.pointer = pointer;
  block.dataOffset = uint64_t(pointer) + uint64_t(size);
  if (block.dataOffset > file.Size()) {
    return Status::Invalid("trace descriptor at " + std::to_string(pointer) + " runs past the end of the file");
  }
  block.sampleCount = std::abs(int64_t{static_cast<int32_t>(U32(fixed + 8))});
  block.formatCode = fixed[12];
  const uint64_t textLength = uint64_t(size) - kTraceFixedPart;
  if (uint64_t(size) <= head.size()) {
    block.text = NormaliseSeg2Text(std::string_view(head).substr(kTraceFixedPart, textLength));
  } else {
    block.text = ReadText(file, pointer + kTraceFixedPart, textLength);
  }
  return block;
}

Seg2TraceStrings ParseSeg2TraceStrings(const std::string& text, int indexInFile) {
  Seg2TraceStrings s;
  s.sampleInterval = KeywordDouble(text, "SAMPLE_INTERVAL").value_or(0.0);
  s.receiver = KeywordFloat(text, "RECEIVER_LOCATION").value_or(static_cast<float>(indexInFile));
  const std::optional<float> source = KeywordFloat(text, "SOURCE_LOCATION");
  s.source = source.value_or(0.0f);
  s.sourceGiven = source.has_value();
  auto receiverComponent = KeywordInt(text, "RECEIVER_COMPONENT");
  s.rawReceiverComponent = receiverComponent.value_or(1);
  if (receiverComponent && *receiverComponent >= 0 && *receiverComponent < 20) {
    s.component = *receiverComponent;
  } else {
    s.component = KeywordInt(text, "TRACE_TYPE").value_or(1);
  }
  if (s.component < 1 || s.component > 100) s.component = 1;
  s.fixedGain = KeywordInt(text, "FIXED_GAIN").value_or(1);
  s.delay = KeywordDouble(text, "DELAY").value_or(0.0);
  s.latitude = KeywordFloat(text, "LATITUDE");
  s.longitude = KeywordFloat(text, "LONGITUDE");
  s.manualChannel = KeywordInt(text, "MANUAL_CHANNEL_NUMBER");
  return s;
}

std::optional<Seg2NotePosition> ReadSeg2NotePosition(RandomAccessFile& file) {
  Seg2NotePosition p;
  if (ParseNotePosition(ReadSeg2Prefix(file, 256), p.latitude, p.longitude) != 1) return std::nullopt;
  return p;
}

void ApplyTracePosition(CHeaderXY& h, const Seg2TraceStrings& s, const std::optional<Seg2NotePosition>& note) {
  if (s.latitude) h.fLatitude = *s.latitude;
  if (s.longitude) h.fLongitude = *s.longitude;
  if (s.manualChannel) h.nManualChannel = *s.manualChannel;
  if (note) {
    h.fLatitude = note->latitude;
    h.fLongitude = note->longitude;
  }
}

float Microseconds(double seconds, int step) {
  return static_cast<float>(seconds * 1.0e6 * step);
}

Status CheckSeg2Samples(const RandomAccessFile& file, const Seg2TraceBlock& block, int64_t count) {
  count = std::clamp<int64_t>(count, 0, block.sampleCount);
  const uint64_t available = file.Size() - std::min(file.Size(), block.dataOffset);
  if (BytesNeeded(block.formatCode, count) > available) {
    return Status::Invalid("trace at " + std::to_string(block.pointer) + " announces " +
                           std::to_string(block.sampleCount) + " samples, but the file holds only " +
                           std::to_string(available) + " bytes of them");
  }
  return Status::Ok();
}

Status ReadSeg2Samples(RandomAccessFile& file, const Seg2TraceBlock& block, int64_t count, std::vector<float>& out) {
  count = std::clamp<int64_t>(count, 0, block.sampleCount);
  const uint64_t available = file.Size() - std::min(file.Size(), block.dataOffset);
  const uint64_t needed = BytesNeeded(block.formatCode, count);
  if (Status st = CheckSeg2Samples(file, block, count); !st.ok()) return st;
  const size_t n = static_cast<size_t>(count);
  out.resize(n);
  if (n == 0) return Status::Ok();
  if (block.formatCode == 4 && std::endian::native == std::endian::little) {
    return ReadExactly(file, block.dataOffset, 4 * n, reinterpret_cast<char*>(out.data()));
  }
  uint64_t toRead = needed;
  if (block.formatCode == 3) toRead = std::min<uint64_t>(available, (n + 3) / 4 * 10);
  std::vector<unsigned char> raw(toRead);
  Status st = ReadExactly(file, block.dataOffset, raw.size(), reinterpret_cast<char*>(raw.data()));
  if (!st.ok()) return st;
  const unsigned char* p = raw.data();
  switch (block.formatCode) {
    case 1:
      for (size_t j = 0; j < n; ++j) out[j] = static_cast<float>(static_cast<int16_t>(U16(p + 2 * j)));
      break;
    case 3: {
      std::vector<int32_t> ints(n);
      UnpackSeg2Code3(raw, ints.data(), n);
      for (size_t j = 0; j < n; ++j) out[j] = static_cast<float>(ints[j]);
      break;
    }
    case 4:
      for (size_t j = 0; j < n; ++j) out[j] = std::bit_cast<float>(U32(p + 4 * j));
      break;
    case 5:
      for (size_t j = 0; j < n; ++j) out[j] = ToFloat(std::bit_cast<double>(U64(p + 8 * j)));
      break;
    default:
      for (size_t j = 0; j < n; ++j) out[j] = static_cast<float>(static_cast<int32_t>(U32(p + 4 * j)));
      break;
  }
  return Status::Ok();
}

}  // namespace zentrova

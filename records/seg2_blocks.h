#pragma once
// The blocks of a SEG-2 file as the three readers walk them, each read with
// every offset, count and size checked against the file first.
//
// File descriptor at 0: N (trace count) at offset 6, then N trace pointers
// at 32 and the file string area up to the first trace. Trace descriptor at
// its pointer P: size D at P + 2, sample count at P + 8, format code at
// P + 12, the trace string area from P + 32 to P + D, the data at P + D.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "records/seismic_record.h"

namespace zentrova {

struct Seg2Directory {
  int traceCount = 0;              // N, unsigned 16 bits as stored
  std::vector<uint32_t> pointers;  // the first min(N, limit) trace pointers
};

// N from the file descriptor block.
StatusOr<int> ReadSeg2TraceCount(RandomAccessFile& file);
// Reads N and up to `maxPointers` trace pointers.
StatusOr<Seg2Directory> ReadSeg2Directory(RandomAccessFile& file, int maxPointers);

// The file string area, 32 + 4N up to the first trace, as one line of text
// (empty when there is no trace or the area lies outside the file).
std::string ReadSeg2FileText(RandomAccessFile& file, const Seg2Directory& dir);

// The first `n` bytes of the file (fewer for a shorter file), as text.
std::string ReadSeg2Prefix(RandomAccessFile& file, size_t n);

struct Seg2TraceBlock {
  uint64_t pointer = 0;
  uint64_t dataOffset = 0;   // P + D
  int64_t sampleCount = 0;   // |n|
  int formatCode = 0;
  std::string text;          // the trace string area as one line
};

StatusOr<Seg2TraceBlock> ReadSeg2TraceBlock(RandomAccessFile& file, uint32_t pointer);

// What the trace strings say, with the reader's defaults where a keyword is
// absent or gives no number.
struct Seg2TraceStrings {
  double sampleInterval = 0.0;  // seconds
  float receiver = 0.0f;        // the trace's index in the file when absent
  float source = 0.0f;
  bool sourceGiven = false;     // SOURCE_LOCATION gives a number
  int component = 1;            // RECEIVER_COMPONENT 0..19, else TRACE_TYPE; 1..100
  int rawReceiverComponent = 1; // RECEIVER_COMPONENT as given (header scan), 1 when absent
  int fixedGain = 1;
  double delay = 0.0;           // seconds
  std::optional<float> latitude;
  std::optional<float> longitude;
  std::optional<int> manualChannel;
};

Seg2TraceStrings ParseSeg2TraceStrings(const std::string& text, int indexInFile);

// The position in the file's NOTE (within its first 256 bytes), if any.
struct Seg2NotePosition {
  float latitude = 0.0f;
  float longitude = 0.0f;
};
std::optional<Seg2NotePosition> ReadSeg2NotePosition(RandomAccessFile& file);

// LATITUDE, LONGITUDE and MANUAL_CHANNEL_NUMBER into a header where the
// strings give them; a note position replaces the coordinates.
void ApplyTracePosition(CHeaderXY& h, const Seg2TraceStrings& s,
                        const std::optional<Seg2NotePosition>& note = std::nullopt);

// Seconds from the trace strings as microseconds; the text is read in
// double precision so that 0.001 s is 1000 us exactly.
float Microseconds(double seconds, int step = 1);

// Reads the first `count` samples of the trace's data block as floats
// (count <= sampleCount). Format codes: 1 int16, 2 int32, 3 20-bit packed,
// 4 float32, 5 float64; any other code is read as int32. Fails when the
// file holds fewer bytes than those samples need.
// Whether the file holds the first `count` samples (what ReadSeg2Samples
// checks before it reads).
Status CheckSeg2Samples(const RandomAccessFile& file, const Seg2TraceBlock& block, int64_t count);
Status ReadSeg2Samples(RandomAccessFile& file, const Seg2TraceBlock& block, int64_t count, std::vector<float>& out);

}  // namespace zentrova

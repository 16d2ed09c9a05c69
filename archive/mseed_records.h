#pragma once
// miniSEED 2 data records of 512 bytes, made and read with libmseed:
// integers as Steim-2, floats and doubles as IEEE 32- and 64-bit values,
// big-endian, start times to the microsecond (blockette 1001).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/archive_trace.h"

namespace zentrova {

inline constexpr int kMiniSeedRecordBytes = 512;

struct StreamId {
  std::string network;
  std::string station;
  std::string location;
  std::string channel;
};

// A run of samples of one trace: samples [first, first + count) at
// startUs, one every intervalUs.
struct SamplePiece {
  const ArchiveTrace* trace = nullptr;
  size_t first = 0;
  size_t count = 0;
  int64_t startUs = 0;
};

// The whole records for a piece, one after another; empty when libmseed
// cannot pack it (a sample rate it cannot express).
std::string PackRecords(const StreamId& id, const SamplePiece& piece);

// What a record's header says.
struct RecordSpan {
  int64_t startUs = 0;
  int64_t sampleCount = 0;
  double sampleRateHz = 0;
  std::string channel;  // NET_STA_LOC_CHAN
  // The time just after the last sample (start of the next one).
  int64_t EndUs() const;
};

std::optional<RecordSpan> ReadRecordSpan(std::string_view record);

}  // namespace zentrova

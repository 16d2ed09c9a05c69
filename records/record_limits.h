#pragma once
// Process-wide size limits of a record. The single-file SEG-2 reader uses the
// fixed values; the header scan and the multi-file reader take them from the
// settings ("'Option', 'Dimension size'"), which default to the same values.

namespace zentrova {

inline constexpr int kMaxTraces = 1024;
inline constexpr int kMaxSamples = 100000;

struct RecordLimits {
  int maxTraces = kMaxTraces;
  int maxSamples = kMaxSamples;
};

}  // namespace zentrova

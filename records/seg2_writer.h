#pragma once
// Writing traces as a SEG-2 file (format code 4, 32-bit floats), the layout
// the readers take: file descriptor, a trace pointer block sized for the
// largest record, the file strings, then per trace a 480-byte descriptor and
// its samples.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "records/seismic_record.h"

namespace zentrova {

// One analogue filter of the trace strings.
class CFilt {
 public:
  virtual ~CFilt() = default;
  CFilt() = default;
  CFilt(const CFilt&) = default;
  CFilt& operator=(const CFilt&) = default;
  // "OUT", "LOW_CUT_FILTER %d %d", "HIGH_CUT_FILTER %d %d", "NOTCH_FREQUENCY %d" or "INVALID FILTER".
  virtual std::string Text() const;

  int nType = 0;  // 0 none, 1 low cut, 2 high cut, 3 notch
  int nFrequency = 0;
  int nSlope = 0;
};

struct Seg2WriteHeader {
  std::string strFileNote;
  int bMeters = 1;
  std::string strLineId = "1";
  int nFormatCode = 4;
  int nAgcWindow = 0;
  int64_t tAcquisition = 0;
  int nAcquisitionMs = 0;
  float fBaseInterval = 0.0f;
  float fPhoneIncrement = 0.0f;
  float fShotIncrement = 0.0f;
  std::vector<int> nChannel;
  std::vector<float> fDescaling;
  std::vector<int> nFixedGain;
  std::vector<float> fReceiver;
  std::vector<float> fSkew;
  std::vector<float> fSource;
  std::vector<int> nStack;
  std::vector<int> nDisplayScale;
  std::vector<std::string> strNote;
  CFilt lowCut;
  CFilt notch;
};

// A duration below one second, given in nanoseconds, as seconds:
// 1000000 -> "0.001", 20833 -> "0.000020833", 0 -> "0.0".
std::string FormatSeconds(int64_t ns);
// The alias filter frequency for a sample interval in nanoseconds, 0 for
// intervals the instrument does not use.
float AliasFilterFrequency(int64_t ns);

// The header the writer fills for these traces.
Seg2WriteHeader PrepareSeg2WriteHeader(std::span<const CHeader> traceHeaders, const RecordTimeHeader& timeHeader);

// Where everything lies in the file the writer makes for these traces: the
// head (descriptor, trace pointers, file strings), each 480-byte trace
// descriptor, and the offset of each trace's samples. A file laid out by it
// and filled in any order is the file WriteSeg2File writes.
class Seg2Layout {
 public:
  Seg2Layout(std::span<const CHeader> headers, const RecordTimeHeader& time, const std::string& fileNote = "");
  const std::string& Head() const { return head_; }
  std::string TraceDescriptor(size_t i) const;
  uint64_t DescriptorOffset(size_t i) const { return offsets_[i] - 480; }
  uint64_t DataOffset(size_t i) const { return offsets_[i]; }
  uint64_t FileSize() const { return size_; }

 private:
  std::vector<CHeader> headers_;
  Seg2WriteHeader header_;
  std::string head_;
  std::vector<uint64_t> offsets_;
  uint64_t size_ = 0;
};

// Creates or truncates `path` and writes the first nTraces traces:
// data[i] are the samples and traceHeaders[i] the header of trace i.
// Fails without writing when nTraces is negative, exceeds the maximum
// trace count or the arrays, or a trace holds fewer samples than its header
// says. `fileNote` is appended to the file's NOTE.
Status WriteSeg2File(FileSystem& fs, int nTraces, const std::string& path, const std::vector<std::vector<float>>& data,
                     std::span<const CHeader> traceHeaders, const RecordTimeHeader& timeHeader,
                     const std::string& fileNote = "");
Status WriteSeg2File(FileSystem& fs, int nTraces, const std::string& path, const std::vector<std::vector<float>>& data,
                     std::span<const CHeaderXY> traceHeaders, const RecordTimeHeader& timeHeader);

}  // namespace zentrova

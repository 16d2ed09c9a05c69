#pragma once
// Builds SEG-2 files byte by byte for tests, independently of the writer:
// any strings, format codes, sample counts and descriptor sizes, so that the
// readers can be fed the odd files other instruments write.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova::testing {

struct TestTrace {
  std::vector<std::string> strings;
  int formatCode = 4;
  std::string data;                         // the data block as stored
  int32_t sampleCount = 0;                  // as written in the descriptor
  std::optional<int16_t> descriptorSize;    // written instead of the real size
};

struct TestSeg2 {
  std::vector<std::string> fileStrings;
  std::vector<TestTrace> traces;
  std::optional<uint16_t> traceCount;       // written instead of traces.size()
  std::string Build() const;
};

std::string FloatData(const std::vector<float>& v);
std::string Int32Data(const std::vector<int32_t>& v);
std::string Int16Data(const std::vector<int16_t>& v);
std::string DoubleData(const std::vector<double>& v);

// A float trace with the given strings and samples.
TestTrace FloatTrace(std::vector<std::string> strings, const std::vector<float>& samples);

}  // namespace zentrova::testing

#include "records/test_seg2_builder.h"

#include <cstring>

namespace zentrova::testing {
namespace {

void Put16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Pad4(std::string& s) {
  while (s.size() % 4) s.push_back('\0');
}
std::string Strings(const std::vector<std::string>& strings) {
  std::string s;
  for (const auto& text : strings) {
    Put16(s, static_cast<uint16_t>(text.size() + 3));
    s += text;
    s.push_back('\0');
  }
  Put16(s, 0);
  return s;
}

}  // namespace

std::string TestSeg2::Build() const {
  const size_t n = traces.size();
  std::string out;
  Put16(out, 0x3A55);
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(4 * n));
  Put16(out, traceCount.value_or(static_cast<uint16_t>(n)));
  out.push_back(1);
  out.push_back('\0');
  out.push_back('\0');
  out.push_back(1);
  out.push_back('\n');
  out.resize(32, '\0');
  const size_t pointersAt = out.size();
  out.resize(pointersAt + 4 * n, '\0');
  out += Strings(fileStrings);
  Pad4(out);
  for (size_t i = 0; i < n; ++i) {
    const TestTrace& t = traces[i];
    std::string block;
    Put16(block, 0x4422);
    Put16(block, 0);  // size, set below
    Put32(block, static_cast<uint32_t>(t.data.size()));
    Put32(block, static_cast<uint32_t>(t.sampleCount));
    block.push_back(static_cast<char>(t.formatCode));
    block.resize(32, '\0');
    block += Strings(t.strings);
    Pad4(block);
    const uint16_t size = static_cast<uint16_t>(t.descriptorSize.value_or(static_cast<int16_t>(block.size())));
    block[2] = static_cast<char>(size & 0xFF);
    block[3] = static_cast<char>(size >> 8);
    const uint32_t pointer = static_cast<uint32_t>(out.size());
    std::memcpy(&out[pointersAt + 4 * i], &pointer, 4);  // the tests run on little-endian hosts
    out += block;
    out += t.data;
  }
  return out;
}

std::string FloatData(const std::vector<float>& v) {
  return std::string(reinterpret_cast<const char*>(v.data()), 4 * v.size());
}
std::string Int32Data(const std::vector<int32_t>& v) {
  return std::string(reinterpret_cast<const char*>(v.data()), 4 * v.size());
}
std::string Int16Data(const std::vector<int16_t>& v) {
  return std::string(reinterpret_cast<const char*>(v.data()), 2 * v.size());
}
std::string DoubleData(const std::vector<double>& v) {
  return std::string(reinterpret_cast<const char*>(v.data()), 8 * v.size());
}

TestTrace FloatTrace(std::vector<std::string> strings, const std::vector<float>& samples) {
  TestTrace t;
  t.strings = std::move(strings);
  t.formatCode = 4;
  t.data = FloatData(samples);
  t.sampleCount = static_cast<int32_t>(samples.size());
  return t;
}

}  // namespace zentrova::testing

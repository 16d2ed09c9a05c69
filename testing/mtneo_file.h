#pragma once
// A DaZEZIROZev / Orbel file made in a test: the 512-byte header with the
// fields the import reads, then the frames of 32-bit counts (each channel's
// count at frame j is (j % 1000) * (k + 1) - 400).

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace zentrova::testing {

struct MtNeoFile {
  std::string id = "MT_NEO";
  std::string components = "3";
  int intervalCode = 1;
  std::string gains[3] = {"  2", "  4", "  5"};
  std::string scaleFlag = "0";
  std::string calibration = "  8";
  std::string instrument = "   123";
  int frameBytes = 16;
  int64_t frames = 60000;

  std::string Build() const {
    std::string h(512, ' ');
    auto put = [&](size_t at, const std::string& text) { h.replace(at, text.size(), text); };
    put(0, id);
    put(38, instrument);
    put(46, components);
    put(49, scaleFlag);
    put(52, "32");
    char code[8];
    std::snprintf(code, sizeof code, "%3d", intervalCode);
    put(63, code);
    put(68, gains[0]);
    put(73, gains[1]);
    put(78, gains[2]);
    put(88, "2015 07 05  12 34 56");
    put(246, "N3540.123456");
    put(259, "E13945.123456");
    put(273, "+0012.50");
    put(317, calibration);
    std::string data(static_cast<size_t>(frames * frameBytes), '\0');
    for (int64_t j = 0; j < frames; ++j) {
      for (int k = 0; k < 3 && 4 * k + 4 <= frameBytes; ++k) {
        const int32_t count = static_cast<int32_t>((j % 1000) * (k + 1) - 400);
        std::memcpy(&data[j * frameBytes + 4 * k], &count, 4);
      }
    }
    return h + data;
  }
};

}  // namespace zentrova::testing

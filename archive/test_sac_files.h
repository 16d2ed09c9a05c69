#pragma once
// Reading miniSEED back through Debian's mseed2sac, a reader nobody here
// wrote: each continuous trace it finds becomes one SAC file (a gap or an
// overlap splits a trace in two).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/child_process.h"
#include "testing/temp_folder.h"

namespace zentrova::testing {

struct SacTrace {
  std::string name;     // NET.STA.LOC.CHAN...
  int64_t startUs = 0;  // first sample, UTC
  float deltaS = 0;
  std::vector<float> samples;
};

inline bool HaveProgram(const std::string& name) {
  return RunProcess({"/bin/sh", "-c", "command -v " + name}).exitCode == 0;
}

// The SAC files mseed2sac writes for `files` (merged), sorted by name.
inline std::vector<SacTrace> ReadBackWithMseed2sac(const std::vector<std::string>& files, std::string* err = nullptr) {
  TempFolder work;
  std::vector<std::string> argv{"/usr/bin/env", "mseed2sac"};
  argv.insert(argv.end(), files.begin(), files.end());
  const ProcessResult r = RunProcess(argv, work.path());
  if (err) *err = r.err + r.out;
  std::vector<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(work.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  std::vector<SacTrace> traces;
  for (const std::string& n : names) {
    const std::string bytes = ReadFileBytes(work.Path(n));
    if (bytes.size() < 632) continue;
    auto f = [&](int i) { float v; std::memcpy(&v, bytes.data() + 4 * i, 4); return v; };
    auto k = [&](int i) { int32_t v; std::memcpy(&v, bytes.data() + 280 + 4 * i, 4); return v; };
    SacTrace t;
    t.name = n;
    t.deltaS = f(0);
    const int year = k(0), jday = k(1), hour = k(2), minute = k(3), second = k(4), ms = k(5);
    const int npts = k(9);
    int64_t days = 0;
    for (int y = 1970; y < year; ++y) days += ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0) ? 366 : 365;
    days += jday - 1;
    const double b = f(5);
    t.startUs = ((days * 86400 + hour * 3600 + minute * 60 + second) * 1000 + ms) * 1000 +
                static_cast<int64_t>(std::llround(b * 1e6));
    if (npts < 0 || bytes.size() < 632 + 4 * static_cast<size_t>(npts)) continue;
    t.samples.resize(static_cast<size_t>(npts));
    std::memcpy(t.samples.data(), bytes.data() + 632, 4 * static_cast<size_t>(npts));
    traces.push_back(std::move(t));
  }
  return traces;
}

}  // namespace zentrova::testing

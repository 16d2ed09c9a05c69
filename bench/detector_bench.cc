// The RMS-ratio detector on a 24-trace, 60000-sample record at 1 ms (W1
// 100 ms, W2 500 ms) against, in the same run, (a) a plain pass that sums
// the squares of every sample of the same channels and (b) a numpy version
// of the same detector (bench/detector_numpy.py, run with /usr/bin/python3);
// and the detector with every trigger rule on (band-pass, minimum duration,
// glitch rule, whole events) against the same plain pass; and both on the
// record with a NaN and a 3e38 sample on every trace, which must find the
// same event.
//
//   detector_bench [rounds] [path of detector_numpy.py]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "detection/event_detector.h"
#include "platform/memory_file_system.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename F>
double TimeMs(int rounds, F f) {
  std::vector<double> ms;
  for (int r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    f();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return Median(ms);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zentrova;
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 61;
  const std::string script = argc > 2 ? argv[2] : std::string(ZENTROVA_SOURCE_DIR) + "/bench/detector_numpy.py";
  constexpr int kTraces = 24, kSamples = 60000;

  auto fill = [](SeismicRecord& record) {
    record.AllocateTraces(kTraces);
    record.nTraces = kTraces;
    record.bAllocated = 1;
    uint32_t seed = 12345;
    for (int i = 0; i < kTraces; ++i) {
      record.pHeader[i].nSamples = kSamples;
      record.pHeader[i].fSampleInterval = 1000.0f;
      record.ppData[i].resize(kSamples);
      for (int j = 0; j < kSamples; ++j) {
        seed = seed * 1664525u + 1013904223u;
        float v = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
        if (j >= 30000 && j < 30300) v *= 80.0f;  // an event in the middle
        record.ppData[i][j] = v;
      }
    }
  };
  SeismicRecord record;
  fill(record);
  EventDetectionParameters p;
  p.nMethod = 0;
  p.SetChannels("0-23", 512);
  MemoryFileSystem fs;

  EventDetectionParameters rules = p;
  rules.bBandPass = 1;
  rules.fBandPassLow = 2.0f;
  rules.fBandPassHigh = 20.0f;
  rules.fMinimumDuration = 0.05f;
  rules.nGlitchPercent = 67;
  rules.nGlitchSamples = 300;
  rules.bWholeEvents = 1;
  rules.fEventGap = 10.0f;

  SeismicRecord spoilt;
  fill(spoilt);
  for (int i = 0; i < kTraces; ++i) {
    spoilt.ppData[i][5000 + 97 * i] = std::numeric_limits<float>::quiet_NaN();
    spoilt.ppData[i][12000 + 89 * i] = 3e38f;
  }

  int events = 0, ruledEvents = 0, spoiltEvents = 0, spoiltRuledEvents = 0;
  double sink = 0.0;
  auto detect = [&] { events = DetectEvents(p, record, fs, "", 0); };
  auto detectWithRules = [&] { ruledEvents = DetectEvents(rules, record, fs, "", 0); };
  auto detectSpoilt = [&] { spoiltEvents = DetectEvents(p, spoilt, fs, "", 0); };
  auto detectSpoiltWithRules = [&] { spoiltRuledEvents = DetectEvents(rules, spoilt, fs, "", 0); };
  auto plainPass = [&] {
    double s = 0.0;
    for (int i = 0; i < kTraces; ++i) {
      for (float x : record.ppData[i]) s += static_cast<double>(x) * static_cast<double>(x);
    }
    sink += s;
  };
  // Interleaved, so that both see the same machine.
  std::vector<double> detectorMs, plainMs, rulesMs, spoiltMs, spoiltRulesMs;
  for (int r = 0; r < rounds; ++r) {
    detectorMs.push_back(TimeMs(1, detect));
    plainMs.push_back(TimeMs(1, plainPass));
    rulesMs.push_back(TimeMs(1, detectWithRules));
    spoiltMs.push_back(TimeMs(1, detectSpoilt));
    spoiltRulesMs.push_back(TimeMs(1, detectSpoiltWithRules));
  }
  const double detector = Median(detectorMs);
  const double plain = Median(plainMs);
  const double ruled = Median(rulesMs);

  // The same record for numpy.
  const std::string data = "/tmp/zentrova-detector-bench.f32";
  {
    std::ofstream out(data, std::ios::binary);
    for (const auto& trace : record.ppData) out.write(reinterpret_cast<const char*>(trace.data()), 4 * kSamples);
  }
  const std::string command = "/usr/bin/python3 '" + script + "' " + data + " " + std::to_string(kTraces) + " " +
                              std::to_string(kSamples) + " " + std::to_string(std::max(3, rounds / 3));
  double numpyMs = -1.0;
  int numpyEvents = -1;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    if (std::fscanf(pipe, "%lf %d", &numpyMs, &numpyEvents) != 2) numpyMs = -1.0;
    ::pclose(pipe);
  }
  std::remove(data.c_str());

  std::printf("24 traces x 60000 samples, OR over all, W1 100 ms, W2 500 ms (medians of %d rounds)\n", rounds);
  std::printf("  detector     %8.3f ms, %d events\n", detector, events);
  std::printf("  plain pass   %8.3f ms (sum of squares)\n", plain);
  const double a = detector / plain;
  std::printf("  detector / plain pass   %6.2f  (target <= 3) %s\n", a, a <= 3.0 ? "met" : "MISSED");
  bool met = a <= 3.0;
  std::printf("  with every rule on %8.3f ms, %d events (band-pass 2 to 20 Hz, 0.05 s, glitch 67 %% / 300, whole)\n",
              ruled, ruledEvents);
  const double c = ruled / plain;
  std::printf("  rules on / plain pass   %6.2f  (target <= 3) %s\n", c, c <= 3.0 ? "met" : "MISSED");
  met = met && c <= 3.0 && ruledEvents == 1;
  // A sample that is no number costs only its windows; a huge one, its
  // windows (an event of its own while W2 holds it) and, band-passed, its ringing.
  std::printf("  with a NaN and a 3e38 sample per trace: detector / plain pass %6.2f, rules on / plain pass %6.2f\n",
              Median(spoiltMs) / plain, Median(spoiltRulesMs) / plain);
  std::printf("    events %d and %d (the 3e38 samples' own and the one in the middle)\n", spoiltEvents,
              spoiltRuledEvents);
  if (numpyMs > 0) {
    const double b = numpyMs / detector;
    std::printf("  numpy        %8.3f ms, %d events\n", numpyMs, numpyEvents);
    std::printf("  numpy / detector        %6.2f  (target >= 5) %s\n", b, b >= 5.0 ? "met" : "MISSED");
    met = met && b >= 5.0 && numpyEvents == events;
  } else {
    std::printf("  numpy: not run (needs /usr/bin/python3 with numpy)\n");
  }
  return (met && sink != 0.0) ? 0 : 3;
}

// The dispersion image (transforms and phase-shift stack, default settings)
// of a 24-trace, 4096-sample shot at 0.25 ms and of the five real MASW shots
// (from the shot on),
// against, in the same run, a numpy version vectorised over traces, rows
// and columns (bench/dispersion_numpy.py, run with /usr/bin/python3); the
// picked column of every row is compared.
//
//   dispersion_bench [rounds] [folder of the SEG-2 records]

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux_file_system.h"
#include "records/seg2_reader.h"
#include "surfacewave/dispersion_image.h"

namespace {

using namespace zentrova;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Columns picked per row, the first largest.
std::vector<int> Picks(const SeismicRecord& r) {
  std::vector<int> out;
  for (int i = 0; i < r.nDispRows; ++i) {
    const auto& row = r.ppDispImage[i];
    out.push_back(static_cast<int>(std::max_element(row.begin(), row.begin() + r.pDispHeader[i].nSamples) - row.begin()));
  }
  return out;
}

void Synthetic(SeismicRecord& record) {
  constexpr int kTraces = 24, kSamples = 4096;
  record.AllocateTraces(kTraces);
  record.nTraces = kTraces;
  for (int i = 0; i < kTraces; ++i) {
    CHeader& h = record.pHeader[i];
    const double x = 5.0 + 2.0 * i;
    h.nReceiverLoc = EncodeLocation(static_cast<float>(x));
    h.fSampleInterval = 250.0f;
    h.nSamples = kSamples;
    record.ppData[i].resize(kSamples);
    for (int t = 0; t < kSamples; ++t) {
      double s = 0.0;
      for (int f = 5; f <= 45; f += 4) s += std::cos(2 * std::numbers::pi * f * (t * 0.00025 - x / (150.0 + 4.0 * f)));
      record.ppData[i][t] = static_cast<float>(s / std::sqrt(x));
    }
    h.fMaxAmplitude = PeakAmplitude(record.ppData[i].data(), kSamples);
  }
}

struct Run {
  double ms = 0.0, numpyMs = -1.0;
  int rows = 0, agree = 0, ties = 0, compared = 0;  // ties: another column within 1e-5 of the row's peak
};

Run Measure(SeismicRecord& record, int rounds, const std::string& script) {
  Run run;
  // The samples as the image takes them: the window from the shot, and
  // the distances along the line.
  DispersionSettings first;
  const DispersionImageInfo info = ComputeDispersionImage(record, first, nullptr);
  const int traces = info.tracesUsed;
  const int m = info.window.samples;
  std::vector<float> pos(traces), samples(static_cast<size_t>(traces) * m, 0.0f);
  for (int i = 0; i < traces; ++i) {
    pos[i] = static_cast<float>(info.spread.distance[i]);
    const int own = std::clamp<int>(static_cast<int>(record.ppData[i].size()) - info.window.first, 0, m);
    std::copy(record.ppData[i].begin() + info.window.first, record.ppData[i].begin() + info.window.first + own,
              samples.begin() + static_cast<size_t>(i) * m);
  }
  const double dtMs = record.pHeader[0].fSampleInterval / 1000.0;
  std::vector<double> ms;
  DispersionSettings settings;
  for (int r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    ComputeDispersionImage(record, settings, nullptr);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  run.ms = Median(ms);
  run.rows = record.nDispRows;
  const std::vector<int> ours = Picks(record);
  const std::string data = "/tmp/zentrova-dispersion-bench.f32";
  {
    std::ofstream out(data, std::ios::binary);
    out.write(reinterpret_cast<const char*>(pos.data()), 4 * static_cast<std::streamsize>(pos.size()));
    out.write(reinterpret_cast<const char*>(samples.data()), 4 * static_cast<std::streamsize>(samples.size()));
  }
  const std::string command = "/usr/bin/python3 '" + script + "' " + data + " " + std::to_string(traces) + " " +
                              std::to_string(m) + " " + std::to_string(dtMs) + " " +
                              "0 " + std::to_string(std::max(3, rounds / 3));
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char line[1 << 14];
    std::string text;
    while (std::fgets(line, sizeof line, pipe)) text += line;
    ::pclose(pipe);
    std::istringstream in(text);
    if (in >> run.numpyMs) {
      int k = 0;
      for (size_t r = 0; r < ours.size() && in >> k; ++r) {
        ++run.compared;
        if (k == ours[r]) {
          ++run.agree;
        } else if (k >= 0 && k < record.pDispHeader[r].nSamples &&
                   std::fabs(record.ppDispImage[r][k] - record.ppDispImage[r][ours[r]]) <= 1e-5f) {
          ++run.ties;
        }
      }
    }
  }
  std::remove(data.c_str());
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
  const std::string folder = argc > 2 ? argv[2] : std::string(ZENTROVA_SHARED_DATA) + "/seg2";
  const std::string script = std::string(ZENTROVA_SOURCE_DIR) + "/bench/dispersion_numpy.py";
  std::printf("dispersion image, default settings (medians of %d rounds; numpy %d)\n", rounds, std::max(3, rounds / 3));
  bool met = true;
  auto report = [&](const char* name, SeismicRecord& record) {
    const Run r = Measure(record, rounds, script);
    std::printf("  %-26s %8.3f ms, %3d rows", name, r.ms, r.rows);
    if (r.numpyMs > 0) {
      const double ratio = r.numpyMs / r.ms;
      std::printf("   numpy %8.3f ms   numpy / ours %6.1f (target >= 10) %s   picks equal %d of %d (%d near-ties)\n",
                  r.numpyMs, ratio, ratio >= 10.0 ? "met" : "MISSED", r.agree, r.compared, r.ties);
      met = met && ratio >= 10.0 && r.agree + r.ties == r.compared && r.compared == r.rows;
    } else {
      std::printf("   numpy: not run (needs /usr/bin/python3 with numpy)\n");
    }
  };
  {
    SeismicRecord record;
    Synthetic(record);
    report("24 x 4096 at 0.25 ms", record);
  }
  LinuxFileSystem fs;
  for (int shot = 6; shot <= 10; ++shot) {
    SeismicRecord record;
    int status = 0;
    const std::string name = "swprocess_wghs_" + std::to_string(shot) + ".dat";
    if (ReadSeg2File(fs, record, folder + "/" + name, 1, 1, status) <= 0) {
      std::printf("  %-26s not found in %s\n", name.c_str(), folder.c_str());
      continue;
    }
    report(name.c_str(), record);
  }
  return met ? 0 : 3;
}

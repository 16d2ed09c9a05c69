// The sweep an operator runs to choose a threshold: 52 labelled quake
// records (../shared/data/quakes) read and scanned at 37 ratios from 2 to
// 20, with the settings of bench/data/detect_quakes.ini (band-pass and every
// rule on), as `zentrova-seg2 detect --sweep ratio=2:20:0.5` does it; then
// the scorecard of those settings. Target: the sweep within 10 s.
//
//   detect_sweep_bench [quakes folder]

#include <chrono>
#include <cstdio>
#include <string>

#include "detection/quake_scorecard.h"
#include "platform/linux_file_system.h"
#include "tools/seg2_tool/detect_command.h"
#include "tools/seg2_tool/detection_options.h"
#include "tools/seg2_tool/record_reading.h"

int main(int argc, char** argv) {
  using namespace zentrova;
  const std::string folder = argc > 1 ? argv[1] : std::string(ZENTROVA_SHARED_DATA) + "/quakes";
  LinuxFileSystem fs;
  if (!fs.Exists(folder + "/labels.csv")) {
    std::printf("no labelled quakes in %s: nothing measured\n", folder.c_str());
    return 0;
  }
  DetectionSource source;
  source.configFile = std::string(ZENTROVA_SOURCE_DIR) + "/bench/data/detect_quakes.ini";
  EventDetectionParameters p;
  const LoadedDetection loaded = LoadDetection(fs, source, p);
  if (!loaded.error.empty()) {
    std::printf("%s\n", loaded.error.c_str());
    return 3;
  }
  Sweep sweep;
  ParseSweep("ratio=2:20:0.5", sweep);

  const auto start = std::chrono::steady_clock::now();
  std::vector<SweepRow> rows = SweepRows(sweep);
  int records = 0;
  for (const std::string& path : RecordPaths(fs, {folder})) {
    SeismicRecord record;
    if (!ReadRecord(fs, record, path).read) continue;
    SweepRecord(record, p, sweep, rows);
    ++records;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("sweep of %zu ratios over %d records (%s): %.3f s (target < 10 s) %s\n", sweep.values.size(), records,
              DescribeDetection(p).c_str(), seconds, seconds < 10.0 ? "met" : "MISSED");

  const QuakeSet set = ReadLabelledQuakes(fs, folder);
  std::printf("%s\n", ScorecardLine("bench/data/detect_quakes.ini", ScoreQuakes(set.quakes, p)).c_str());
  return seconds < 10.0 ? 0 : 3;
}

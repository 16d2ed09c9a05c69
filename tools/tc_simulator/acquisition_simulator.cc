#include "tools/tc_simulator/acquisition_simulator.h"

#include <cmath>
#include <vector>

#include "platform/local_time.h"
#include "platform/memory_file_system.h"
#include "platform/printf.h"
#include "records/seg2_writer.h"
#include "tools/tc_simulator/survey_log.h"

namespace zentrova {

std::vector<std::vector<float>> SimulatedTraces(const SimulatorOptions& o, int recordIndex, bool event) {
  std::vector<std::vector<float>> data(static_cast<size_t>(o.traces), std::vector<float>(static_cast<size_t>(o.samples)));
  uint32_t seed = 2463534242u + static_cast<uint32_t>(recordIndex) * 7919u;
  const int burstStart = o.samples / 2;
  const int burstLength = std::max(1, o.samples / 10);
  for (int i = 0; i < o.traces; ++i) {
    for (int j = 0; j < o.samples; ++j) {
      seed ^= seed << 13;
      seed ^= seed >> 17;
      seed ^= seed << 5;
      float v = (static_cast<float>(seed % 2001) - 1000.0f) / 1000.0f;  // noise of amplitude 1
      if (event && j >= burstStart && j < burstStart + burstLength) {
        v += 200.0f * static_cast<float>(std::sin(0.3 * (j - burstStart)));
      }
      data[i][j] = v;
    }
  }
  return data;
}

std::string SimulatedRecord(const SimulatorOptions& o, int index) {
  std::vector<CHeader> headers(static_cast<size_t>(o.traces));
  for (int i = 0; i < o.traces; ++i) {
    headers[i].nSamples = o.samples;
    headers[i].fSampleInterval = static_cast<float>(o.sampleIntervalUs);
    headers[i].nReceiverLoc = 200 * i;
    headers[i].nComponent = 1;
  }
  const bool event = o.eventEvery > 0 && (index + 1) % o.eventEvery == 0;
  const auto data = SimulatedTraces(o, index, event);
  const double lengthS = o.samples * o.sampleIntervalUs / 1e6;
  const double at = static_cast<double>(o.startTime) + index * lengthS;
  RecordTimeHeader t;
  t.tAcquisition = static_cast<int64_t>(std::floor(at));
  t.nAcquisitionMs = static_cast<int>(std::lround((at - std::floor(at)) * 1000.0)) % 1000;
  std::string note;
  if (o.gps) {
    const CivilTime c = SecondsToLocal(t.tAcquisition).value_or(CivilTime{});
    note = Printf("$GPZDA,%02d%02d%02d.%02d,%02d,%02d,%04d,00,00*00", c.hour, c.minute, c.second,
                  t.nAcquisitionMs / 10, c.day, c.month, c.year);
  }
  MemoryFileSystem memory;
  WriteSeg2File(memory, o.traces, "/r", data, headers, t, note);
  return memory.Contents("/r");
}

double BatteryVolts(const SimulatorOptions& o, int index) { return o.batteryVolts - o.batteryDrop * index; }

int RunSimulator(FileSystem& fs, Clock& clock, const SimulatorOptions& given, SurveyLog* survey,
                 const std::function<bool()>& stop) {
  SimulatorOptions o = given;
  if (o.startTime == 0) o.startTime = clock.Now();
  int written = 0;
  for (int k = 0; k < o.count; ++k) {
    if (k > 0) clock.Sleep(o.intervalMs);
    if (stop && stop()) break;
    const std::string bytes = SimulatedRecord(o, k);
    const std::string path = JoinPath(fs, o.outFolder, std::to_string(o.firstNumber + k) + "." + o.extension);
    auto file = fs.OpenForWrite(path);
    if (!file.ok()) continue;
    const size_t chunks = static_cast<size_t>(std::max(1, o.chunks));
    const size_t step = (bytes.size() + chunks - 1) / chunks;
    bool ok = true;
    for (size_t at = 0; at < bytes.size() && ok; at += step) {
      if (at > 0) clock.Sleep(o.chunkPauseMs);
      ok = (*file)->Append(std::string_view(bytes).substr(at, step)).ok();
    }
    ok = (*file)->Close().ok() && ok;
    if (!ok) continue;
    ++written;
    if (survey) {
      const int64_t steady = clock.SteadyMs();
      survey->RecordSaved(std::to_string(o.firstNumber + k) + "." + o.extension, BatteryVolts(o, k), clock.Now(),
                          static_cast<int>((steady / 10) % 100));
    }
  }
  return written;
}

}  // namespace zentrova

// The event image of a 24-trace, 60000-sample record (1 ms, with an event
// and the detector's markers): the whole WriteEventImage (drawing, PNG
// encoding, the file written in place) and the Cairo drawing alone.
//
//   display_bench [Google Benchmark options]

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <string>

#include "detection/event_detection_parameters.h"
#include "display/cairo_surface.h"
#include "display/event_image.h"
#include "display/waveform_drawing.h"
#include "monitor/zentrova_doc.h"
#include "platform/linux_file_system.h"

namespace zentrova {
namespace {

constexpr int kTraces = 24;
constexpr int kSamples = 60000;

struct Station {
  Station() : folder(std::filesystem::temp_directory_path() / ("display_bench_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder);
    doc = std::make_unique<CZentrovaDoc>(platform);
    SeismicRecord& r = doc->record;
    r.strFileName = "1234.sg2";
    r.AllocateTraces(kTraces);
    r.nTraces = kTraces;
    r.bAllocated = 1;
    uint32_t seed = 12345;
    for (int i = 0; i < kTraces; ++i) {
      r.pHeader[i].nSamples = kSamples;
      r.pHeader[i].fSampleInterval = 1000.0f;
      r.pHeader[i].nComponent = 1 + i % 3;
      r.ppData[i].resize(kSamples);
      for (int j = 0; j < kSamples; ++j) {
        seed = seed * 1664525u + 1013904223u;
        float v = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
        if (j >= 30000 && j < 30300) v *= 80.0f;  // an event in the middle
        r.ppData[i][j] = v;
      }
    }
    r.ComputeSummary();
    doc->pDetectionParameters = std::make_shared<EventDetectionParameters>();
    EventDetectionParameters& p = *doc->pDetectionParameters;
    p.nTraceTriggers.assign(p.nMaxChannels, 0);
    p.fTraceTriggerTime.assign(p.nMaxChannels, {});
    for (int i = 0; i < kTraces; ++i) {
      p.nTraceTriggers[i] = 300;
      for (int k = 0; k < 300; ++k) p.fTraceTriggerTime[i].push_back(30.0f + 0.001f * static_cast<float>(k) - 0.5f);
    }
    p.nEvents = 1;
    p.fEventTime = {29.6f};
    doc->bEventDetection = 1;
  }
  ~Station() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  std::filesystem::path folder;
  LinuxFileSystem fs;
  MemoryStore profile;
  MemoryStore product;
  FakeClock clock{1584259445};
  FixedSystemInfo system;
  RecordingPrompt prompt;
  Platform platform{fs, profile, product, clock, system, prompt};
  std::unique_ptr<CZentrovaDoc> doc;
};

Station& TheStation() {
  static Station station;
  return station;
}

void BM_WriteEventImage(benchmark::State& state) {
  Station& s = TheStation();
  double bytes = 0.0;
  for (auto _ : state) {
    const std::string path = WriteEventImage(*s.doc, s.folder.string(), 1);
    // A picture is never replaced: each round takes the same name again.
    state.PauseTiming();
    bytes = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
    state.ResumeTiming();
  }
  state.counters["bytes"] = bytes;
}

void BM_DrawWaveformsIntoCairo(benchmark::State& state) {
  Station& s = TheStation();
  for (auto _ : state) {
    CairoSurface surface(kEventImageWidth, kEventImageHeight);
    surface.FillRect({{0, 0}, {2000, -1000}}, kWindowBackground);
    PlotAxes axes;
    axes.bYDown = 1;
    benchmark::DoNotOptimize(DrawWaveforms(surface, axes, *s.doc, kEventImageArea, 1.0f, 0));
  }
}

void BM_EncodePng(benchmark::State& state) {
  Station& s = TheStation();
  CairoSurface surface(kEventImageWidth, kEventImageHeight);
  PlotAxes axes;
  axes.bYDown = 1;
  DrawWaveforms(surface, axes, *s.doc, kEventImageArea, 1.0f, 0);
  for (auto _ : state) benchmark::DoNotOptimize(surface.EncodePng());
}

BENCHMARK(BM_WriteEventImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawWaveformsIntoCairo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zentrova

BENCHMARK_MAIN();

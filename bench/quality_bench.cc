// The data-quality figures of a record against reading that record, both
// measured in this run: a 24-trace, 60000-sample record of noise with a few
// spikes, read whole with ReadSeg2File, then taken into the channel hours.
// Prints the medians and the ratio, and whether it meets its target.
//
//   quality_bench [rounds]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/linux_file_system.h"
#include "quality/channel_hours.h"
#include "records/seg2_reader.h"
#include "records/seg2_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zentrova;
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 41;
  char folder[] = "/tmp/zentrova-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return 1;
  const std::string path = std::string(folder) + "/record.dat";

  constexpr int kTraces = 24, kSamples = 60000;
  std::vector<CHeader> headers(kTraces);
  std::vector<std::vector<float>> data(kTraces, std::vector<float>(kSamples));
  for (int i = 0; i < kTraces; ++i) {
    headers[i].nSamples = kSamples;
    headers[i].fSampleInterval = 1000.0f;
    for (int j = 0; j < kSamples; ++j) data[i][j] = static_cast<float>((j * 7919 + i) % 2001 - 1000);
    data[i][kSamples / 3] = 40000.0f;  // a spike
  }
  RecordTimeHeader time;
  time.bTimeValid = 1;
  time.tAcquisition = 1584259200;
  LinuxFileSystem fs;
  if (!WriteSeg2File(fs, kTraces, path, data, headers, time).ok()) return 1;

  SeismicRecord record;
  int status = 0;
  std::vector<double> readMs, figuresMs;
  int64_t spikes = 0;
  ReadSeg2File(fs, record, path, 1, 1, status);  // warm the page cache and the allocator
  for (int r = 0; r < rounds; ++r) {
    auto start = Clock::now();
    ReadSeg2File(fs, record, path, 1, 1, status);
    readMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    ChannelHours hours;  // a fresh hour each round: the cost of one record in it
    start = Clock::now();
    hours.Add(record, {1584259300, true});
    figuresMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    spikes = hours.Figures(1, HourOf(static_cast<double>(record.time.tFirstSample)), 1584259300).spikes;
  }
  if (record.nTraces != kTraces || spikes != 1) {
    std::fprintf(stderr, "figures wrong: %d traces, %lld spikes\n", record.nTraces, static_cast<long long>(spikes));
    return 1;
  }
  const double read = Median(readMs), figures = Median(figuresMs);
  const double ratio = figures / read;
  constexpr double kTarget = 0.10;
  std::printf("record: %d traces x %d float samples, %d rounds (medians)\n", kTraces, kSamples, rounds);
  std::printf("  %-34s %8.3f ms\n", "ReadSeg2File", read);
  std::printf("  %-34s %8.3f ms\n", "ChannelHours::Add (figures)", figures);
  std::printf("  %-34s %6.3f  (target <= %.2f) %s\n", "figures / read", ratio, kTarget,
              ratio <= kTarget ? "met" : "MISSED");
  ::unlink(path.c_str());
  ::rmdir(folder);
  return ratio <= kTarget ? 0 : 3;
}

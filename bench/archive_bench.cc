// The miniSEED archive's cost against a plain write of the same bytes,
// measured in the same run: an hour of 24-trace records of 60000 integer
// samples (1000 Hz) archived as Steim-2, and each record's bytes written
// once more as a file. Also the Steim-2 compression of a real integer
// record of ../shared/data.
//
//   archive_bench [RECORDS]   (default 60: one hour)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_trace.h"
#include "archive/mseed_archive.h"
#include "archive/mseed_records.h"
#include "platform/linux_file_system.h"
#include "platform/printf.h"
#include "records/test_seg2_builder.h"

namespace zentrova {
namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Ground noise as a recorder sees it: a slow random walk of a few hundred counts.
std::string Record(int index) {
  testing::TestSeg2 file;
  const int minute = index % 60, hour = 10 + index / 60;
  file.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", Printf("ACQUISITION_TIME %02d:%02d:00.000", hour, minute)};
  uint32_t seed = 2463534242u + static_cast<uint32_t>(index);
  for (int t = 0; t < 24; ++t) {
    std::vector<int32_t> v(60000);
    int32_t x = 0;
    for (int32_t& s : v) {
      seed ^= seed << 13;
      seed ^= seed >> 17;
      seed ^= seed << 5;
      x += static_cast<int32_t>(seed % 61) - 30;
      x -= x / 64;
      s = x;
    }
    file.traces.push_back({{"SAMPLE_INTERVAL 0.001"}, 2, testing::Int32Data(v), 60000, std::nullopt});
  }
  return file.Build();
}

// Steim-2 bytes of a record's integer traces against 4 bytes a sample.
double CompressionRatio(const ArchiveRecord& r) {
  size_t raw = 0, packed = 0;
  for (const ArchiveTrace& t : r.traces) {
    if (t.kind != SampleKind::kInt32) continue;
    raw += 4 * t.Count();
    packed += PackRecords({"XX", "B", "00", "GPZ"}, {&t, 0, t.Count(), r.startUs}).size();
  }
  return packed > 0 ? static_cast<double>(raw) / static_cast<double>(packed) : 0.0;
}

}  // namespace
}  // namespace zentrova

int main(int argc, char** argv) {
  using namespace zentrova;
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  LinuxFileSystem fs;
  const std::string root = (std::filesystem::temp_directory_path() / "zentrova_archive_bench").string();
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root + "/records");
  std::filesystem::create_directories(root + "/plain");
  std::vector<std::string> paths;
  uint64_t bytes = 0;
  for (int i = 0; i < count; ++i) {
    const std::string data = Record(i);
    bytes += data.size();
    paths.push_back(root + Printf("/records/%04d.sg2", i));
    WriteWholeFile(fs, paths.back(), data);
  }
  // The plain write: each record's bytes read and written once more.
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    auto data = ReadWholeFile(fs, paths[static_cast<size_t>(i)]);
    WriteWholeFile(fs, root + Printf("/plain/%04d.sg2", i), *data);
  }
  const double plain = Seconds(start);
  MiniSeedArchive archive(fs, {});
  start = std::chrono::steady_clock::now();
  size_t written = 0;
  for (const std::string& p : paths) written += archive.ArchiveFile(root + "/SDS", p, 0, 0).written;
  const double archived = Seconds(start);
  uint64_t sds = 0;
  for (auto& e : std::filesystem::recursive_directory_iterator(root + "/SDS")) {
    if (e.is_regular_file()) sds += e.file_size();
  }
  std::printf("%d records of 24 x 60000 int32 samples (%.1f MB): plain write %.3f s, archive %.3f s, ratio %.2f "
              "(at most 1.5 wanted)\n",
              count, static_cast<double>(bytes) / 1e6, plain, archived, archived / plain);
  std::printf("samples archived %zu, archive %.1f MB: Steim-2 ratio %.2f on this synthetic noise\n", written,
              static_cast<double>(sds) / 1e6, static_cast<double>(written) * 4.0 / static_cast<double>(sds));
  const std::string real = std::string(ZENTROVA_SHARED_DATA) + "/seg2/obspy_20130107_103041000.CET.3c.cont.0.seg2";
  if (auto r = ReadSeg2ForArchive(fs, real); r.ok()) {
    std::printf("Steim-2 compression ratio of the real int32 record %s: %.2f\n",
                std::filesystem::path(real).filename().c_str(), CompressionRatio(*r));
  } else {
    std::printf("real record not there (%s): no compression ratio\n", r.status().message().c_str());
  }
  std::filesystem::remove_all(root);
  return 0;
}

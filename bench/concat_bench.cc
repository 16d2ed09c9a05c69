// Joining 60 records of 24 traces x 61000 samples (overlap 1000) against a
// plain copy of the same bytes from the input files to one output file, in
// one run; each runs in a child process so that its peak resident memory is
// its own.
//
//   concat_bench [records]      (under $TMPDIR, else /tmp)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "concat/concatenation.h"
#include "platform/linux_file_system.h"
#include "records/seg2_writer.h"

namespace {

// A continuous signal per trace, so that consecutive records overlap.
float Signal(int trace, int64_t i) {
  uint32_t h = static_cast<uint32_t>(i) * 2654435761u ^ static_cast<uint32_t>(trace) * 40503u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<float>(h % 20001) - 10000.0f;
}

struct Measured {
  double seconds = 0;
  long maxRssKb = 0;
  int status = -1;
};

Measured InChild(const std::function<int()>& work) {
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(work());
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  Measured m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.maxRssKb = usage.ru_maxrss;
  m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zentrova;
  const int records = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
  constexpr int kTraces = 24, kSamples = 61000, kLength = 60000;
  // $TMPDIR names the file system measured (/dev/shm: page-cache speed).
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zentrova-concat-XXXXXX";
  char* folder = pattern.data();
  if (::mkdtemp(folder) == nullptr) return 1;
  const std::string source = std::string(folder) + "/hour", target = std::string(folder) + "/joined";
  std::filesystem::create_directories(source);
  std::filesystem::create_directories(target);
  LinuxFileSystem fs;
  std::vector<std::string> inputs;
  {
    std::vector<CHeader> headers(kTraces);
    std::vector<std::vector<float>> data(kTraces, std::vector<float>(kSamples));
    for (int f = 0; f < kTraces; ++f) {
      headers[f].nSamples = kSamples;
      headers[f].fSampleInterval = 1000.0f;
      headers[f].nReceiverLoc = 200 * f;
    }
    for (int k = 0; k < records; ++k) {
      for (int f = 0; f < kTraces; ++f) {
        for (int j = 0; j < kSamples; ++j) data[f][j] = Signal(f, static_cast<int64_t>(k) * kLength + j);
      }
      RecordTimeHeader t;
      t.tAcquisition = 1584259200 + k * 60;
      inputs.push_back(source + "/20200315_08" + std::to_string(10 + k % 50) + "00.000_S_" + std::to_string(k + 1) +
                       ".dat");
      if (!WriteSeg2File(fs, kTraces, inputs.back(), data, headers, t).ok()) return 1;
    }
  }
  uint64_t bytes = 0;
  for (const auto& p : inputs) bytes += *fs.FileSize(p);

  const Measured copy = InChild([&] {
    auto out = fs.OpenForWrite(target + "/copy.bin");
    if (!out.ok()) return 1;
    std::vector<char> buf(1 << 20);
    for (const auto& p : inputs) {
      auto in = fs.OpenForRead(p);
      if (!in.ok()) return 1;
      for (uint64_t at = 0;;) {
        auto n = (*in)->ReadAt(at, buf.size(), buf.data());
        if (!n.ok() || *n == 0) break;
        if (!(*out)->Append(std::string_view(buf.data(), *n)).ok()) return 1;
        at += *n;
      }
    }
    return (*out)->Close().ok() ? 0 : 1;
  });
  std::filesystem::remove(target + "/copy.bin");
  const Measured join = InChild([&] {
    SilentPrompt quiet;
    ConcatenationRequest r;
    r.sourceFolder = source;
    r.targetFolder = target;
    r.presetLength = kLength;
    r.nameText = std::string(1, 'S');  // (assigning "S" trips a false -Wrestrict of GCC 12 at -O3)
    r.bThreaded = 0;
    return ConcatenateRecords(fs, quiet, r) == 1 ? 0 : 1;
  });

  const double ratio = join.seconds / copy.seconds;
  std::printf("%d records of %d traces x %d samples (overlap %d), %.1f MB of input\n", records, kTraces, kSamples,
              kSamples - kLength, static_cast<double>(bytes) / 1e6);
  std::printf("  plain copy  %7.3f s, peak memory %6.1f MB\n", copy.seconds, static_cast<double>(copy.maxRssKb) / 1024.0);
  std::printf("  join        %7.3f s, peak memory %6.1f MB%s\n", join.seconds, static_cast<double>(join.maxRssKb) / 1024.0,
              join.status == 0 ? "" : "  (FAILED)");
  const bool timeMet = ratio <= 3.0, memoryMet = join.maxRssKb < 64 * 1024;
  std::printf("  join / copy %7.2f  (target <= 3) %s\n", ratio, timeMet ? "met" : "MISSED");
  std::printf("  join memory %7.1f MB (target < 64) %s\n", static_cast<double>(join.maxRssKb) / 1024.0, memoryMet ? "met" : "MISSED");
  std::filesystem::remove_all(folder);
  return timeMet && memoryMet && join.status == 0 ? 0 : 3;
}

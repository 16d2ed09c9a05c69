// Reading and writing a 24-trace, 60000-sample float record against plain
// reads and writes of the same bytes, measured in one run. Prints the
// ratios and whether each meets its target.
//
//   seg2_bench [rounds]

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/linux_file_system.h"
#include "records/seg2_reader.h"
#include "records/seg2_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void RawRead(const std::string& path, std::vector<char>& buffer) {
  int fd = ::open(path.c_str(), O_RDONLY);
  size_t done = 0;
  while (done < buffer.size()) {
    ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
}

void RawWrite(const std::string& path, const std::vector<char>& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
  ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zentrova;
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 41;
  char folder[] = "/tmp/zentrova-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return 1;
  const std::string path = std::string(folder) + "/record.dat";
  const std::string copy = std::string(folder) + "/copy.dat";

  constexpr int kTraces = 24, kSamples = 60000;
  std::vector<CHeader> headers(kTraces);
  std::vector<std::vector<float>> data(kTraces, std::vector<float>(kSamples));
  for (int i = 0; i < kTraces; ++i) {
    headers[i].nSamples = kSamples;
    headers[i].fSampleInterval = 1000.0f;
    headers[i].nReceiverLoc = 200 * i;
    for (int j = 0; j < kSamples; ++j) data[i][j] = static_cast<float>((j * 7919 + i) % 2001 - 1000);
  }
  RecordTimeHeader time;
  LinuxFileSystem fs;
  if (!WriteSeg2File(fs, kTraces, path, data, headers, time).ok()) return 1;
  std::vector<char> bytes(*fs.FileSize(path));
  RawRead(path, bytes);

  SeismicRecord record;
  int status = 0;
  struct Op { const char* name; std::function<void()> run; std::vector<double> ms; };
  std::vector<Op> ops = {
      {"raw read", [&] { RawRead(path, bytes); }, {}},
      {"ReadSeg2File", [&] { ReadSeg2File(fs, record, path, 1, 1, status); }, {}},
      {"ReadSeg2File header only", [&] { ReadSeg2File(fs, record, path, 1, 0, status); }, {}},
      {"raw write", [&] { RawWrite(copy, bytes); }, {}},
      {"WriteSeg2File", [&] { (void)WriteSeg2File(fs, kTraces, copy, data, headers, time); }, {}},
  };
  for (auto& op : ops) op.run();  // warm the page cache and the allocator
  for (int r = 0; r < rounds; ++r) {
    for (auto& op : ops) {
      const auto start = Clock::now();
      op.run();
      op.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
  }
  if (record.nTraces != kTraces || record.ppData[23][59999] != data[23][59999]) {
    std::fprintf(stderr, "read back wrong\n");
    return 1;
  }
  const double rawRead = Median(ops[0].ms), rawWrite = Median(ops[3].ms);
  std::printf("record: %d traces x %d float samples, %zu bytes, %d rounds (medians)\n", kTraces, kSamples,
              bytes.size(), rounds);
  for (const auto& op : ops) std::printf("  %-26s %8.3f ms\n", op.name, Median(op.ms));
  struct Target { const char* what; double ratio; double limit; };
  const Target targets[] = {
      {"full read / raw read", Median(ops[1].ms) / rawRead, 1.5},
      {"header-only read / raw read", Median(ops[2].ms) / rawRead, 0.1},
      {"WriteSeg2File / raw write", Median(ops[4].ms) / rawWrite, 2.0},
  };
  bool all = true;
  for (const auto& t : targets) {
    const bool met = t.ratio <= t.limit;
    all = all && met;
    std::printf("  %-30s %6.3f  (target <= %.2f) %s\n", t.what, t.ratio, t.limit, met ? "met" : "MISSED");
  }
  ::unlink(path.c_str());
  ::unlink(copy.c_str());
  ::rmdir(folder);
  return all ? 0 : 3;
}

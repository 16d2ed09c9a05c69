// TC.exe: a stand-in for the acquisition controller. Writes SEG-2 records
// into a folder one after another, holding each open while it writes it.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/clock.h"
#include "platform/linux_file_system.h"
#include "platform/local_time.h"
#include "tools/tc_simulator/acquisition_simulator.h"

namespace {

const char* kUsage =
    "usage: TC.exe --out DIR [options]\n"
    "  --count N               records to write (default 10)\n"
    "  --interval-ms MS        pause between records (default 1000)\n"
    "  --traces N              traces per record (default 24)\n"
    "  --samples N             samples per trace (default 1000)\n"
    "  --sample-interval-us US sample interval (default 1000)\n"
    "  --first-number N        number of the first file, N.sg2 (default 1000)\n"
    "  --start-time \"YYYY-MM-DD HH:MM:SS\"  local record time of the first file (default now);\n"
    "                          the next ones follow at the record length\n"
    "  --events K              a clear seismic event in every K-th record\n"
    "  --gps                   write a $GPZDA sentence as well\n"
    "  --chunks N              writes per file (default 4), --chunk-pause-ms MS (default 20)\n"
    "  --extension EXT         file extension (default sg2)\n";

bool ParseTime(const std::string& text, int64_t& out) {
  zentrova::CivilTime c;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second) != 6) {
    return false;
  }
  auto s = zentrova::LocalToSeconds(c);
  if (!s) return false;
  out = *s;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  zentrova::SimulatorOptions o;
  bool haveOut = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "TC.exe: " << a << " needs a value\n" << kUsage;
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--out") {
      o.outFolder = next();
      haveOut = true;
    } else if (a == "--count") {
      o.count = std::atoi(next().c_str());
    } else if (a == "--interval-ms") {
      o.intervalMs = std::atoi(next().c_str());
    } else if (a == "--traces") {
      o.traces = std::atoi(next().c_str());
    } else if (a == "--samples") {
      o.samples = std::atoi(next().c_str());
    } else if (a == "--sample-interval-us") {
      o.sampleIntervalUs = std::atof(next().c_str());
    } else if (a == "--first-number") {
      o.firstNumber = std::atoi(next().c_str());
    } else if (a == "--start-time") {
      if (!ParseTime(next(), o.startTime)) {
        std::cerr << "TC.exe: --start-time wants \"YYYY-MM-DD HH:MM:SS\"\n";
        return 2;
      }
    } else if (a == "--events") {
      o.eventEvery = std::atoi(next().c_str());
    } else if (a == "--gps") {
      o.gps = true;
    } else if (a == "--chunks") {
      o.chunks = std::atoi(next().c_str());
    } else if (a == "--chunk-pause-ms") {
      o.chunkPauseMs = std::atoi(next().c_str());
    } else if (a == "--extension") {
      o.extension = next();
    } else if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else {
      std::cerr << "TC.exe: unknown option " << a << "\n" << kUsage;
      return 2;
    }
  }
  if (!haveOut || o.traces < 1 || o.traces > 1024 || o.samples < 1 || o.samples > 100000 || o.count < 0) {
    std::cerr << kUsage;
    return 2;
  }
  zentrova::LinuxFileSystem fs;
  zentrova::SystemClock clock;
  const int written = zentrova::RunSimulator(fs, clock, o);
  std::cout << "TC.exe: wrote " << written << " records to " << o.outFolder << "\n";
  return written == o.count ? 0 : 1;
}

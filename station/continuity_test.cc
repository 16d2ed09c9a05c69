// A station restarted at any moment (a service restarted by its manager, a
// power cut) loses no work: records written while it was down are filed
// as new ones, and hours filed before the stop are joined after it.

#include <signal.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "station/station_test_support.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RegularFilesBelow;
using testing::RunProcess;
using testing::TempFolder;

// `count` records of 2 traces x 100 samples from `start` ("YYYY-MM-DD HH:MM:SS").
void Simulate(const TempFolder& dir, int count, int firstNumber, const std::string& start) {
  const testing::ProcessResult r =
      RunProcess({testing::kTcProgram, "--out", dir.Path("watched"), "--count", std::to_string(count), "--interval-ms",
                  "0", "--chunks", "1", "--chunk-pause-ms", "0", "--traces", "2", "--samples", "100", "--first-number",
                  std::to_string(firstNumber), "--start-time", start});
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

// A station started, run until it has filed `expected` records in all, then
// stopped with `signal`; what it printed.
std::string RunUntilFiled(const TempFolder& dir, size_t expected, int signal = SIGTERM) {
  BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "60"},
                            dir.Path("station.out"));
  for (int waited = 0; waited < 30000 && RegularFilesBelow(dir.Path("dest/WaveformFiles")).size() < expected;
       waited += 100) {
    ::usleep(100000);
  }
  ::usleep(500000);
  station.Signal(signal);
  station.Wait();
  return dir.Read("station.out");
}

// A station started and run for `seconds`; what it printed.
std::string RunFor(const TempFolder& dir, const char* seconds) {
  const testing::ProcessResult r =
      RunProcess({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start", "--run-for", seconds});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Local time of `seconds` from now, as the simulator takes it.
std::string LocalTimeText(int64_t secondsFromNow) {
  const std::time_t t = std::time(nullptr) + secondsFromNow;
  std::tm tm{};
  ::localtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

TEST(Continuity, RecordsWrittenWhileTheStationWasDownAreFiledAsNewOnes) {
  TempFolder dir;
  testing::WriteStationConfig(dir);
  // Left from a survey before this station ever ran: the first start
  // clears them away, as always.
  Simulate(dir, 2, 500, "2020-03-15 07:00:00");
  std::string out = RunFor(dir, "1");
  EXPECT_NE(out.find("2 files were moved to the 'WaveformFile_old' folder"), std::string::npos) << out;
  // The station files two records, and is stopped.
  BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--run-for", "60", "--start"},
                            dir.Path("run1.out"));
  ASSERT_GE(testing::WaitForText(dir, "run1.out", "Monitor started", 20000), 0);
  Simulate(dir, 2, 1000, "2020-03-15 08:10:00");
  for (int waited = 0; waited < 20000 && RegularFilesBelow(dir.Path("dest/WaveformFiles")).size() < 2; waited += 100) {
    ::usleep(100000);
  }
  station.Signal(SIGTERM);
  ASSERT_EQ(station.Wait(), 0);
  ASSERT_EQ(RegularFilesBelow(dir.Path("dest/WaveformFiles")).size(), 2u);
  EXPECT_NE(dir.Read("cfg/ZentrovaState.ini").find("bStoppedCleanly=1"), std::string::npos);

  // While it is down: five new records, one of the same time as the last
  // one filed, and one older than any it filed.
  Simulate(dir, 5, 1002, "2020-03-15 08:20:00");
  Simulate(dir, 1, 1099, "2020-03-15 08:10:00");
  Simulate(dir, 1, 900, "2020-03-15 08:00:00");
  out = RunUntilFiled(dir, 8, SIGKILL);  // a power cut at the end
  EXPECT_NE(out.find("6 records that came after the last record taken (08:10:00.000 03/15/2020) are taken up as new "
                     "records"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("1 files were moved to the 'WaveformFile_old' folder"), std::string::npos) << out;
  EXPECT_EQ(out.find("did not end cleanly"), std::string::npos) << out;
  const auto filed = RegularFilesBelow(dir.Path("dest/WaveformFiles"));
  EXPECT_EQ(filed.size(), 8u);
  EXPECT_TRUE(std::filesystem::exists(dir.Path("dest/WaveformFiles_old/900.sg2")));
  // Taken oldest first.
  EXPECT_LT(out.find("1099.sg2 ("), out.find("1002.sg2 (")) << out;
  EXPECT_LT(out.find("1002.sg2 ("), out.find("1006.sg2 (")) << out;

  // After the kill: said at the next start, and nothing is taken twice.
  out = RunFor(dir, "1.5");
  EXPECT_NE(out.find("The last run did not end cleanly"), std::string::npos) << out;
  EXPECT_NE(out.find("0 records that came after the last record taken (08:20:00.000 03/15/2020)"), std::string::npos)
      << out;
  EXPECT_EQ(RegularFilesBelow(dir.Path("dest/WaveformFiles")).size(), 8u);
}

TEST(Continuity, AnHourFiledBeforeAStopIsJoinedAfterTheRestartAndOnlyOnce) {
  TempFolder dir;
  testing::WriteStationConfig(dir, "bConcatenate=1\nnDataConcatenate=100\n");
  RunFor(dir, "0.5");
  // Three records of the hour before last, filed; then the station stops
  // before any record of a later hour could start their join.
  const std::string start = LocalTimeText(-2 * 3600);
  const std::string hourStart = start.substr(0, 14) + "00:00";
  BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--run-for", "60", "--start"},
                            dir.Path("run1.out"));
  ASSERT_GE(testing::WaitForText(dir, "run1.out", "Monitor started", 20000), 0);
  Simulate(dir, 3, 1000, hourStart);
  for (int waited = 0; waited < 20000 && RegularFilesBelow(dir.Path("dest/WaveformFiles")).size() < 3; waited += 100) {
    ::usleep(100000);
  }
  station.Signal(SIGKILL);  // no join could start
  station.Wait();
  ASSERT_EQ(RegularFilesBelow(dir.Path("dest/WaveformFiles")).size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("dest/WaveformFiles_concatenated")) &&
               !RegularFilesBelow(dir.Path("dest/WaveformFiles_concatenated")).empty());

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    const std::string out = RunFor(dir, "3");
    EXPECT_EQ(Count(out, "was never joined; its records are joined now"), run == 0 ? 1u : 0u) << out;
    std::vector<std::string> joined;
    for (const auto& f : RegularFilesBelow(dir.Path("dest/WaveformFiles_concatenated"))) {
      if (f.find("_concatenated_1000_1002.dat") != std::string::npos) joined.push_back(f);
    }
    EXPECT_EQ(joined.size(), 1u);
  }
}

}  // namespace
}  // namespace zentrova

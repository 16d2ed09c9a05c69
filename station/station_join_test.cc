// The joining of finished hours as the station does it: zentrova-station and
// TC.exe as real child processes on real folders.

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "platform/prompt.h"
#include "records/seg2_reader.h"
#include "testing/child_process.h"
#include "testing/station_config.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RunProcess;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;
const std::string kTc = ZENTROVA_TC;

void WriteConfig(const TempFolder& dir, const std::string& extra) {
  testing::WriteStationConfig(dir, "bConcatenate=1\n" + extra);
}

// Records of 4 traces x 2000 samples at 500 us (1 s each), from `start`.
void Record(const TempFolder& dir, int first, int count, const std::string& start,
            const std::vector<std::string>& more = {}) {
  std::vector<std::string> argv{kTc,        "--out",     dir.Path("watched"), "--count",    std::to_string(count),
                                "--interval-ms", "100",  "--traces",          "4",          "--samples",
                                "2000",     "--sample-interval-us", "500",    "--first-number", std::to_string(first),
                                "--start-time", start};
  argv.insert(argv.end(), more.begin(), more.end());
  const auto run = RunProcess(argv);
  ASSERT_EQ(run.exitCode, 0) << run.err;
}

// Waits (at most 30 s) until the station has printed `text`, after `after`
// when that is given.
bool Printed(const TempFolder& dir, const std::string& text, const std::string& after = "") {
  for (int i = 0; i < 3000; ++i) {
    if (std::filesystem::exists(dir.Path("station.out"))) {
      const std::string out = dir.Read("station.out");
      const size_t from = after.empty() ? 0 : out.find(after);
      if (from != std::string::npos && out.find(text, from) != std::string::npos) return true;
    }
    ::usleep(10000);
  }
  return false;
}

// Records that are there before the monitor starts are moved aside.
bool Monitoring(const TempFolder& dir) { return Printed(dir, "Monitor started by timer\n"); }

// Stops the station once it has filed the record `last` (its joins are
// finished before it exits).
int StopAfter(BackgroundProcess& station, const TempFolder& dir, int last) {
  EXPECT_TRUE(Printed(dir, " new files.\n", std::to_string(last) + ".sg2 (Number of traces"));
  ::usleep(300000);
  station.Signal(SIGTERM);
  return station.Wait();
}

const std::string kConcatDay = "dest/WaveformFiles_concatenated/2020/202003/20200315";

// The joined records in the concatenation folder, by name, with their
// sample counts; and whether a ".partial" file was left.
std::map<std::string, int> Joined(const TempFolder& dir, bool* partialLeft = nullptr) {
  std::map<std::string, int> joined;
  LinuxFileSystem fs;
  SilentPrompt quiet;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path(kConcatDay), ec)) {
    const std::string name = e.path().filename().string();
    if (partialLeft && name.find(".partial") != std::string::npos) *partialLeft = true;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".dat") != 0) continue;
    SeismicRecord r;
    int status = 0;
    const int traces = ReadSeg2File(fs, r, e.path().string(), 1, 1, status);
    joined[name] = traces == 4 && status == 0 ? r.pHeader[0].nSamples : -1;
  }
  return joined;
}

std::string LogFile(const TempFolder& dir) {
  for (const auto& e : std::filesystem::directory_iterator(dir.Path("dest"))) {
    const std::string name = e.path().filename().string();
    if (name.rfind("ZentrovaLog_", 0) == 0) return testing::ReadFileBytes(e.path().string());
  }
  return "";
}

TEST(StationJoin, AGapBeginsANewJoinedRecordAndForeignRecordsAreLeftOut) {
  testing::ScopedTimeZone tz{"UTC"};
  TempFolder dir;
  WriteConfig(dir, "nDataConcatenate=2000\n");
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "60"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  ASSERT_TRUE(Monitoring(dir));
  Record(dir, 1000, 4, "2020-03-15 08:59:40");
  Record(dir, 1004, 3, "2020-03-15 08:59:50");  // the acquisition paused for 6 s
  Record(dir, 1007, 1, "2020-03-15 08:59:53", {"--samples", "4000", "--sample-interval-us", "250"});
  Record(dir, 1008, 1, "2020-03-15 09:00:00");  // the next hour: 08 is joined
  EXPECT_EQ(StopAfter(station, dir, 1008), 0);
  const std::string out = dir.Read("station.out");
  EXPECT_EQ(Joined(dir), (std::map<std::string, int>{{"20200315_085940.000_SITE_concatenated_1000_1003.dat", 8000},
                                                     {"20200315_085950.000_SITE_concatenated_1004_1006.dat", 6000}}))
      << out;
  const std::string lines[] = {
      "Time gap: 20200315_085950.000_SITE_1004.dat starts 6.000 s after its place in the joined record; it begins a "
      "new joined record",
      "Not joined: 20200315_085953.000_SITE_1007.dat (sample interval 250 us, the first record has 500 us)"};
  const std::string log = LogFile(dir);
  const std::string report = dir.Read(kConcatDay + "/ConcatenateSeg2.txt");
  for (const std::string& line : lines) {
    EXPECT_NE(out.find(line + "\n"), std::string::npos) << line << "\n" << out;
    EXPECT_NE(log.find(line + "\r\n"), std::string::npos) << line;
    EXPECT_NE(report.find(line + "\r\n"), std::string::npos) << line;
  }
}

TEST(StationJoin, ADataLengthThatCutsOrWritesNothingIsSaid) {
  testing::ScopedTimeZone tz{"UTC"};
  const std::string hour = "/dest/WaveformFiles/2020/202003/20200315/2020031508";
  struct Case {
    int length;
    std::string line;  // with the hour folder for "%s"
    std::map<std::string, int> joined;
  };
  const std::vector<Case> cases = {
      {60000, "No joined record written for %s: the data length 60000 is longer than the records (2000 samples)", {}},
      {5000, "No joined record written for %s: the data length 5000 is longer than the records (2000 samples)", {}},
      {1000,
       "Overlap: the records hold up to 2000 samples and the data length is 1000, so the last 1000 samples of each "
       "record are taken as its overlap with the next record (the last record's are left out)",
       {{"20200315_085958.000_SITE_concatenated_1000_1001.dat", 2000}}},
  };
  // The stations run side by side.
  std::vector<std::unique_ptr<TempFolder>> dirs;
  std::vector<std::unique_ptr<BackgroundProcess>> stations;
  for (const Case& c : cases) {
    dirs.push_back(std::make_unique<TempFolder>());
    WriteConfig(*dirs.back(), "nDataConcatenate=" + std::to_string(c.length) + "\n");
    stations.push_back(std::make_unique<BackgroundProcess>(
        std::vector<std::string>{kStation, "--config-dir", dirs.back()->Path("cfg"), "--start", "--run-for", "60"},
        dirs.back()->Path("station.out")));
  }
  for (auto& dir : dirs) {
    ASSERT_TRUE(Monitoring(*dir));
    Record(*dir, 1000, 3, "2020-03-15 08:59:58");
  }
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].length);
    const TempFolder& dir = *dirs[i];
    EXPECT_EQ(StopAfter(*stations[i], dir, 1002), 0);
    std::string line = cases[i].line;
    if (const size_t at = line.find("%s"); at != std::string::npos) line.replace(at, 2, dir.path() + hour);
    const std::string out = dir.Read("station.out");
    EXPECT_NE(out.find(line + "\n"), std::string::npos) << line << "\n" << out;
    EXPECT_NE(LogFile(dir).find(line + "\r\n"), std::string::npos);
    EXPECT_NE(dir.Read(kConcatDay + "/ConcatenateSeg2.txt").find(line + "\r\n"), std::string::npos);
    EXPECT_EQ(Joined(dir), cases[i].joined);
  }
}

TEST(StationJoin, RecordTimesThatAlternateBetweenTwoHours) {
  // Every record changes the hour folder, so each hour is joined again and
  // again, partly into the same joined records, while earlier joins may
  // still run.
  testing::ScopedTimeZone tz{"UTC"};
  TempFolder dir;
  WriteConfig(dir, "nDataConcatenate=2000\n");
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "60"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  ASSERT_TRUE(Monitoring(dir));
  const char* times[] = {"2020-03-15 08:59:30", "2020-03-15 09:00:00", "2020-03-15 08:59:50",
                         "2020-03-15 09:00:30", "2020-03-15 08:59:51", "2020-03-15 10:00:00"};
  for (int k = 0; k < 6; ++k) Record(dir, 1000 + k, 1, times[k]);
  EXPECT_EQ(StopAfter(station, dir, 1005), 0);
  const std::string out = dir.Read("station.out");
  bool partialLeft = false;
  EXPECT_EQ(Joined(dir, &partialLeft), (std::map<std::string, int>{
                                           {"20200315_085930.000_SITE_concatenated_1000_1000.dat", 2000},
                                           {"20200315_085950.000_SITE_concatenated_1002_1002.dat", 2000},
                                           {"20200315_085950.000_SITE_concatenated_1002_1004.dat", 4000},
                                           {"20200315_090000.000_SITE_concatenated_1001_1001.dat", 2000},
                                           {"20200315_090030.000_SITE_concatenated_1003_1003.dat", 2000},
                                       }))
      << out;
  EXPECT_FALSE(partialLeft);
  size_t started = 0;
  for (size_t at = out.find("Data will be concatenated\n"); at != std::string::npos;
       at = out.find("Data will be concatenated\n", at + 1)) {
    ++started;
  }
  EXPECT_EQ(started, 5u) << out;
  EXPECT_EQ(out.find("No joined record written"), std::string::npos) << out;
}

TEST(StationJoin, AJoinCutOffIsDoneAgainAtTheNextStart) {
  // A station killed (or powered off) while it joined an hour left the
  // joined record as ".partial" beside the joins; the hour's records are
  // filed. The next start joins the hour again and says so.
  testing::ScopedTimeZone tz{"UTC"};
  TempFolder dir;
  WriteConfig(dir, "nDataConcatenate=2000\n");
  const std::string hour = "dest/WaveformFiles/2020/202003/20200315/2020031508";
  std::filesystem::create_directories(dir.Path(hour));
  std::filesystem::create_directories(dir.Path(kConcatDay));
  const auto made = RunProcess({kTc, "--out", dir.Path(hour), "--count", "3", "--interval-ms", "0", "--traces", "4",
                                "--samples", "2000", "--sample-interval-us", "500", "--first-number", "1000",
                                "--start-time", "2020-03-15 08:59:50"});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const std::string name = "20200315_085950.000_SITE_concatenated_1000_1002.dat";
  dir.Write(kConcatDay + "/" + name + ".partial", std::string(4096, '\0'));
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "60"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  const std::string line = "A join was cut off (" + dir.Path(kConcatDay + "/" + name + ".partial") +
                           " was left); the records of " + dir.Path(hour) + " are joined again";
  EXPECT_TRUE(Printed(dir, line + "\n"));
  ASSERT_TRUE(Monitoring(dir));
  station.Signal(SIGTERM);  // the join under way is finished first
  EXPECT_EQ(station.Wait(), 0);
  bool partialLeft = false;
  EXPECT_EQ(Joined(dir, &partialLeft), (std::map<std::string, int>{{name, 6000}})) << dir.Read("station.out");
  EXPECT_FALSE(partialLeft);
  EXPECT_NE(LogFile(dir).find(line + "\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zentrova

// The station with its miniSEED archive on, fed by the simulator across
// 00:00 UTC, restarted in the middle, and handed one record twice: the SDS
// layout of a two-day run, no gap and no overlap as Debian's mseed2sac sees
// it, the samples of the filed records, and a StationXML document that
// validates.

#include <signal.h>

#include <bit>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "archive/test_sac_files.h"
#include "platform/linux_file_system.h"
#include "records/seg2_reader.h"
#include "station/station_test_support.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RegularFilesBelow;
using testing::RunProcess;
using testing::TempFolder;

void Simulate(const TempFolder& dir, int count, int firstNumber, const std::string& start) {
  const auto r = RunProcess({testing::kTcProgram, "--out", dir.Path("watched"), "--count", std::to_string(count),
                             "--interval-ms", "0", "--chunks", "1", "--chunk-pause-ms", "0", "--traces", "2",
                             "--samples", "1500", "--first-number", std::to_string(firstNumber), "--start-time", start});
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

std::vector<std::string> Filed(const TempFolder& dir) { return RegularFilesBelow(dir.Path("dest/WaveformFiles")); }

// Runs the station, hands it records once it watches (`feed`), and stops
// it once `expected` records are filed in all.
std::string RunUntilFiled(const TempFolder& dir, size_t expected, const std::function<void()>& feed) {
  BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "60"},
                            dir.Path("station.out"));
  EXPECT_GE(testing::WaitForText(dir, "station.out", "Monitor started", 20000), 0);
  feed();
  for (int waited = 0; waited < 30000 && Filed(dir).size() < expected; waited += 100) ::usleep(100000);
  ::usleep(300000);
  station.Signal(SIGTERM);
  station.Wait();
  return dir.Read("station.out");
}

TEST(ArchiveStation, ATwoDayRunWithARestartAndARecordTwiceIsOneTraceInTheSdsLayout) {
  if (!testing::HaveProgram("mseed2sac")) GTEST_SKIP() << "mseed2sac is not installed (scripts/deps.sh installs it)";
  testing::ScopedTimeZone zone("Europe/Berlin");  // the station and the simulator see local time UTC+1
  TempFolder dir;
  testing::WriteStationConfig(dir, "bMiniSeedArchive=1\nsStationCode=Site 1\n");
  // 1.5 s records from 00:59:58 local (23:59:58 UTC on 29 February):
  // the second, from 23:59:59.500, crosses midnight.
  std::string out = RunUntilFiled(dir, 2, [&] { Simulate(dir, 2, 1000, "2024-03-01 00:59:58"); });
  EXPECT_NE(out.find("miniSEED archive: network XX, station SITE1, into " + dir.Path("dest/SDS")), std::string::npos)
      << out;
  EXPECT_NE(out.find("sStationCode=Site 1 is not a station code"), std::string::npos) << out;
  // Restarted; two more records, then the second record once more.
  out = RunUntilFiled(dir, 4, [&] { Simulate(dir, 2, 1002, "2024-03-01 01:00:01"); });
  std::vector<std::string> filed = Filed(dir);
  ASSERT_EQ(filed.size(), 4u) << out;
  out = RunUntilFiled(dir, 5, [&] { std::filesystem::copy_file(filed[1], dir.Path("watched/2000.sg2")); });
  EXPECT_EQ(out.find("Unable to archive"), std::string::npos) << out;

  const std::string sds = dir.Path("dest/SDS");
  std::vector<std::string> expected = {sds + "/2024/XX/SITE1/GPZ.D/XX.SITE1.00.GPZ.D.2024.060",
                                       sds + "/2024/XX/SITE1/GPZ.D/XX.SITE1.00.GPZ.D.2024.061",
                                       sds + "/2024/XX/SITE1/GPZ.D/XX.SITE1.01.GPZ.D.2024.060",
                                       sds + "/2024/XX/SITE1/GPZ.D/XX.SITE1.01.GPZ.D.2024.061", sds + "/XX.SITE1.xml"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(RegularFilesBelow(sds), expected);

  const int64_t midnight = int64_t{1709251200} * 1000000;  // 2024-03-01 00:00 UTC
  LinuxFileSystem fs;
  for (int trace = 0; trace < 2; ++trace) {
    const std::string stem = sds + "/2024/XX/SITE1/GPZ.D/XX.SITE1.0" + std::to_string(trace) + ".GPZ.D.2024.";
    std::string err;
    const auto before = testing::ReadBackWithMseed2sac({stem + "060"}, &err);
    const auto after = testing::ReadBackWithMseed2sac({stem + "061"}, &err);
    const auto both = testing::ReadBackWithMseed2sac({stem + "060", stem + "061"}, &err);
    ASSERT_EQ(before.size(), 1u) << err;
    ASSERT_EQ(after.size(), 1u) << err;
    ASSERT_EQ(both.size(), 1u) << "a gap or an overlap: " << err;
    EXPECT_EQ(before[0].startUs, midnight - 2000000);
    EXPECT_EQ(before[0].samples.size(), 2000u);
    EXPECT_EQ(after[0].startUs, midnight);
    EXPECT_EQ(after[0].samples.size(), 4000u);
    // The samples are those of the four filed records, bit for bit.
    std::vector<float> want;
    for (size_t k = 0; k < 4; ++k) {
      SeismicRecord record;
      int status = 0;
      ASSERT_EQ(ReadSeg2File(fs, record, filed[k], 1, 1, status), 2);
      want.insert(want.end(), record.ppData[trace].begin(), record.ppData[trace].end());
    }
    ASSERT_EQ(both[0].samples.size(), want.size());
    for (size_t j = 0; j < want.size(); ++j) {
      ASSERT_EQ(std::bit_cast<uint32_t>(both[0].samples[j]), std::bit_cast<uint32_t>(want[j])) << j;
    }
  }
  if (testing::HaveProgram("xmllint")) {
    const auto r = RunProcess({"/usr/bin/env", "xmllint", "--noout", "--schema",
                               std::string(ZENTROVA_SOURCE_DIR) + "/../shared/schemas/fdsn-station.xsd",
                               sds + "/XX.SITE1.xml"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
  }
}

}  // namespace
}  // namespace zentrova

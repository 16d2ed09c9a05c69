// The archive read back by tools nobody here wrote: Debian's mseed2sac for
// the samples and their times, xmllint with the FDSN schema for the
// StationXML document. Each test says in one line when a tool is missing.

#include <bit>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "archive/mseed_archive.h"
#include "archive/test_sac_files.h"
#include "platform/linux_file_system.h"
#include "platform/memory_file_system.h"
#include "records/seg2_reader.h"
#include "records/test_seg2_builder.h"
#include "testing/shared_data.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

using testing::RunProcess;
using testing::TempFolder;

constexpr int64_t kDayUs = int64_t{86400} * 1000000;

#define NEED_PROGRAM(name)                                                        \
  do {                                                                            \
    if (!testing::HaveProgram(name)) GTEST_SKIP() << name " is not installed (scripts/deps.sh installs it)"; \
  } while (0)

std::vector<std::string> DayFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    if (e.is_regular_file() && e.path().extension() != ".xml") files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void ExpectValidStationXml(const std::string& path) {
  if (!testing::HaveProgram("xmllint")) {
    std::cout << "xmllint is not installed (scripts/deps.sh installs it): the StationXML is not validated\n";
    return;
  }
  const auto r = RunProcess({"/usr/bin/env", "xmllint", "--noout", "--schema", ZENTROVA_SCHEMA, path});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

// The record tool, with a configuration folder of its own.
testing::ProcessResult Convert(const TempFolder& dir, const std::vector<std::string>& files) {
  std::vector<std::string> argv{"/usr/bin/env", "ZENTROVA_CONFIG_DIR=" + dir.Path("cfg"), ZENTROVA_SEG2_TOOL, "mseed"};
  argv.insert(argv.end(), files.begin(), files.end());
  for (const char* a : {"--sds", "", "--network", "XY", "--station", "TEST"}) argv.push_back(a);
  argv[argv.size() - 5] = dir.Path("out");
  return RunProcess(argv);
}

TEST(ArchiveReadBack, EverySampleFormatReadsBackExactlyAtTheExactTime) {
  NEED_PROGRAM("mseed2sac");
  testing::ScopedTimeZone zone("Europe/Berlin");
  TempFolder dir;
  std::vector<int16_t> i16;
  std::vector<int32_t> i32;
  std::vector<float> f32;
  std::vector<double> f64;
  uint32_t seed = 12345;
  for (int j = 0; j < 5000; ++j) {
    seed = seed * 1664525u + 1013904223u;
    i16.push_back(static_cast<int16_t>(seed >> 16));
    i32.push_back(static_cast<int32_t>(seed % 16000001) - 8000000);  // within the 24 bits a SAC float holds exactly
    f32.push_back(std::ldexp(static_cast<float>(seed % 100000) - 50000.0f, -int(seed % 40)));
    f64.push_back(static_cast<double>(static_cast<float>(seed % 999) / 7.0f));
  }
  testing::TestSeg2 file;
  // 05:14:59.600 CEST with a delay of 12.5 ms: the first sample at 03:14:59.612500 UTC.
  file.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 05:14:59.600"};
  const std::vector<std::string> strings = {"SAMPLE_INTERVAL 0.002", "DELAY 0.0125"};
  file.traces.push_back({strings, 1, testing::Int16Data(i16), 5000, std::nullopt});
  file.traces.push_back({strings, 2, testing::Int32Data(i32), 5000, std::nullopt});
  file.traces.push_back({strings, 4, testing::FloatData(f32), 5000, std::nullopt});
  file.traces.push_back({strings, 5, testing::DoubleData(f64), 5000, std::nullopt});
  dir.Write("r.sg2", file.Build());
  const auto r = Convert(dir, {dir.Path("r.sg2")});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  const std::vector<std::string> files = DayFiles(dir.Path("out/SDS"));
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], dir.Path("out/SDS/2015/XY/TEST/DPZ.D/XY.TEST.00.DPZ.D.2015.186"));
  const int64_t start = (int64_t{1436066099} * 1000 + 612) * 1000 + 500;  // 2015-07-05 03:14:59.6125 UTC
  for (size_t k = 0; k < 4; ++k) {
    std::string err;
    const auto sac = testing::ReadBackWithMseed2sac({files[k]}, &err);
    ASSERT_EQ(sac.size(), 1u) << err;
    EXPECT_EQ(sac[0].startUs, start) << k;
    EXPECT_FLOAT_EQ(sac[0].deltaS, 0.002f);
    ASSERT_EQ(sac[0].samples.size(), 5000u) << k;
    for (size_t j = 0; j < 5000; ++j) {
      const float want = k == 0 ? float(i16[j]) : k == 1 ? float(i32[j]) : k == 2 ? f32[j] : float(f64[j]);
      ASSERT_EQ(std::bit_cast<uint32_t>(sac[0].samples[j]), std::bit_cast<uint32_t>(want)) << k << " " << j;
    }
  }
  ExpectValidStationXml(dir.Path("out/SDS/XY.TEST.xml"));
  // Converted again: nothing more.
  const std::string before = testing::ReadFileBytes(files[1]);
  ASSERT_EQ(Convert(dir, {dir.Path("r.sg2")}).exitCode, 0);
  EXPECT_EQ(testing::ReadFileBytes(files[1]), before);
}

TEST(ArchiveReadBack, ARealIntegerRecordReadsBackAsTheReaderReadsIt) {
  ZENTROVA_NEEDS_SHARED_DATA();
  NEED_PROGRAM("mseed2sac");
  testing::ScopedTimeZone zone("Europe/Berlin");
  TempFolder dir;
  const std::string path = testing::SharedSeg2Folder() + "/obspy_20130107_103041000.CET.3c.cont.0.seg2";
  LinuxFileSystem fs;
  SeismicRecord record;
  int status = 0;
  ASSERT_EQ(ReadSeg2File(fs, record, path, 1, 1, status), 3);
  ASSERT_EQ(Convert(dir, {path}).exitCode, 0);
  const std::vector<std::string> files = DayFiles(dir.Path("out/SDS"));
  ASSERT_EQ(files.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    const auto sac = testing::ReadBackWithMseed2sac({files[k]});
    ASSERT_EQ(sac.size(), 1u);
    // 10:30:41 CET is 09:30:41 UTC.
    EXPECT_EQ(sac[0].startUs, int64_t{1357551041} * 1000000);
    ASSERT_EQ(sac[0].samples.size(), static_cast<size_t>(record.pHeader[k].nSamples));
    for (size_t j = 0; j < sac[0].samples.size(); ++j) ASSERT_EQ(sac[0].samples[j], record.ppData[k][j]) << j;
  }
  ExpectValidStationXml(dir.Path("out/SDS/XY.TEST.xml"));
}

ArchiveRecord Counting(int traces, size_t samples, int64_t startUs, double intervalUs) {
  ArchiveRecord r;
  r.startUs = startUs;
  for (int i = 0; i < traces; ++i) {
    ArchiveTrace t;
    t.index = i;
    t.intervalUs = intervalUs;
    for (size_t j = 0; j < samples; ++j) t.ints.push_back(static_cast<int32_t>(j % 500) * (i + 1));
    r.traces.push_back(std::move(t));
  }
  return r;
}

TEST(ArchiveReadBack, RecordsAcrossMidnightLeaveNoGapAndNoOverlapBetweenTheDayFiles) {
  NEED_PROGRAM("mseed2sac");
  TempFolder dir;
  LinuxFileSystem fs;
  MiniSeedArchive archive(fs, {});
  const int64_t midnight = int64_t{1709164800} * 1000000;  // 2024-02-29 00:00 UTC
  // Three records of 1.5 s at 200 Hz from 23:59:57.7: the second crosses midnight.
  for (int k = 0; k < 3; ++k) {
    const auto r = archive.Archive(dir.Path("SDS"), Counting(2, 300, midnight - 2300000 + k * 1500000, 5000), "r", 0);
    EXPECT_TRUE(r.lines.empty()) << r.lines[0];
  }
  const std::vector<std::string> files = DayFiles(dir.Path("SDS"));
  ASSERT_EQ(files.size(), 4u);  // two traces, two days
  const auto before = testing::ReadBackWithMseed2sac({files[0]});
  const auto after = testing::ReadBackWithMseed2sac({files[1]});
  ASSERT_EQ(before.size(), 1u);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(before[0].samples.size(), 460u);  // 23:59:57.700 to 23:59:59.995
  EXPECT_EQ(after[0].startUs, midnight);
  EXPECT_EQ(after[0].samples.size(), 440u);
  // Both days together are one trace to the reader.
  const auto both = testing::ReadBackWithMseed2sac({files[0], files[1]});
  ASSERT_EQ(both.size(), 1u);
  EXPECT_EQ(both[0].samples.size(), 900u);
}

TEST(Archive, MoreThanAHundredTracesArchiveTheFirstHundredAndSaySo) {
  MemoryFileSystem fs;
  fs.CreateFolder("/d");
  MiniSeedArchive archive(fs, {});
  const auto r = archive.Archive("/d/SDS", Counting(101, 10, int64_t{1709164800} * 1000000, 1000), "big.sg2", 0);
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_EQ(r.lines[0], "big.sg2 has 101 traces: the first 100 are archived as miniSEED (locations 00 to 99), the "
                        "rest is not");
  EXPECT_EQ(r.written, 1000u);
  EXPECT_TRUE(fs.Exists("/d/SDS/2024/XX/ZENT/GPZ.D/XX.ZENT.99.GPZ.D.2024.060"));
}

TEST(Archive, OldDayFilesGoAndTheDaysToKeepStay) {
  MemoryFileSystem fs;
  fs.CreateFolder("/d");
  MiniSeedArchive archive(fs, {});
  const int64_t day60 = int64_t{1709164800} * 1000000;
  for (int d = 0; d < 5; ++d) archive.Archive("/d/SDS", Counting(1, 10, day60 + d * kDayUs, 1000), "r", 0);
  std::vector<std::string> failures;
  // Five minutes into day 65, two days kept: days 63 and 64 stay (and 65).
  EXPECT_EQ(archive.RemoveOldDays("/d/SDS", 2, day60 + 5 * kDayUs + 300000000, failures), 3);
  EXPECT_TRUE(failures.empty());
  const std::string folder = "/d/SDS/2024/XX/ZENT/GPZ.D/XX.ZENT.00.GPZ.D.2024.";
  for (int d = 60; d < 65; ++d) EXPECT_EQ(fs.Exists(folder + "0" + std::to_string(d)), d >= 63) << d;
  EXPECT_TRUE(fs.Exists("/d/SDS/XX.ZENT.xml"));
  EXPECT_EQ(archive.RemoveOldDays("/d/SDS", 0, day60 + 50 * kDayUs, failures), 0);  // 0 keeps all
}

}  // namespace
}  // namespace zentrova

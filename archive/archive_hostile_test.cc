// Records a converter meets in the field and from careless headers:
// 32-bit samples Steim-2 cannot hold, times no clock gives, 16 kHz
// sampling, and several conversions into one tree at once.

#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "archive/mseed_archive.h"
#include "archive/test_sac_files.h"
#include "platform/linux_file_system.h"
#include "records/seg2_reader.h"
#include "records/test_seg2_builder.h"
#include "testing/shared_data.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

using testing::RunProcess;
using testing::TempFolder;

#define NEED_PROGRAM(name)                                                                                  \
  do {                                                                                                      \
    if (!testing::HaveProgram(name)) GTEST_SKIP() << name " is not installed (scripts/deps.sh installs it)"; \
  } while (0)

std::vector<std::string> DayFilesIn(const std::string& folder) {
  std::vector<std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    if (e.is_regular_file() && e.path().extension() != ".xml") files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> ConvertArgs(const TempFolder& dir, const std::string& file) {
  return {"/usr/bin/env", "ZENTROVA_CONFIG_DIR=" + dir.Path("cfg"), ZENTROVA_SEG2_TOOL, "mseed", file, "--sds",
          dir.Path("out"), "--network", "XY", "--station", "TEST"};
}

int64_t SamplesIn(const std::string& file) {
  const std::string bytes = testing::ReadFileBytes(file);
  int64_t n = 0;
  for (size_t at = 0; at + kMiniSeedRecordBytes <= bytes.size(); at += kMiniSeedRecordBytes) {
    if (auto s = ReadRecordSpan(std::string_view(bytes).substr(at, kMiniSeedRecordBytes))) n += s->sampleCount;
  }
  return n;
}

TEST(ArchiveHostile, IntegersSteim2CannotHoldAreStoredAsPlainIntegers) {
  NEED_PROGRAM("mseed2sac");
  TempFolder dir;
  LinuxFileSystem fs;
  MiniSeedArchive archive(fs, {});
  ArchiveRecord r;
  r.startUs = int64_t{1709164800} * 1000000;
  ArchiveTrace t;
  t.intervalUs = 1000;
  for (int j = 0; j < 2000; ++j) t.ints.push_back(j % 2 ? INT32_MAX : INT32_MIN + j);
  r.traces.push_back(t);
  const ArchiveResult out = archive.Archive(dir.Path("SDS"), r, "wide", 0);
  EXPECT_TRUE(out.lines.empty()) << out.lines[0];
  EXPECT_EQ(out.written, 2000u);
  const auto files = DayFilesIn(dir.Path("SDS"));
  ASSERT_EQ(files.size(), 1u);
  const auto sac = testing::ReadBackWithMseed2sac(files);
  ASSERT_EQ(sac.size(), 1u);
  ASSERT_EQ(sac[0].samples.size(), 2000u);
  for (size_t j = 0; j < 2000; ++j) ASSERT_EQ(sac[0].samples[j], static_cast<float>(t.ints[j])) << j;
}

TEST(ArchiveHostile, TimesNoRecordingHasAreRefusedInOneLine) {
  testing::ScopedTimeZone zone("UTC");
  struct Case {
    const char* interval;
    const char* delay;
  } cases[] = {{"0.001", "-1e15"}, {"0.001", "1e12"}, {"0.001", "nan"}, {"1e9", "0"}, {"100", "0"}};
  for (const Case& c : cases) {
    TempFolder dir;
    testing::TestSeg2 file;
    file.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 05:14:59.600"};
    const std::vector<std::string> strings = {std::string("SAMPLE_INTERVAL ") + c.interval,
                                              std::string("DELAY ") + c.delay};
    file.traces.push_back({strings, 2, testing::Int32Data(std::vector<int32_t>(5000, 7)), 5000, std::nullopt});
    dir.Write("r.sg2", file.Build());
    const auto r = RunProcess(ConvertArgs(dir, dir.Path("r.sg2")));
    EXPECT_EQ(r.exitCode, 1) << c.interval << " " << c.delay;
    EXPECT_NE(r.err.find("Not archived as miniSEED"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(DayFilesIn(dir.Path("out/SDS")).empty()) << c.interval << " " << c.delay;
  }
}

TEST(ArchiveHostile, SixteenKilohertzReadsBackAsOneSegmentAndConvertsOnce) {
  ZENTROVA_NEEDS_SHARED_DATA();
  NEED_PROGRAM("mseed2sac");
  testing::ScopedTimeZone zone("UTC");
  TempFolder dir;
  const std::string path = testing::SharedSeg2Folder() + "/graphseg2_FGSeismic2019_101.dat";
  LinuxFileSystem fs;
  SeismicRecord record;
  int status = 0;
  const int traces = ReadSeg2File(fs, record, path, 1, 1, status);
  ASSERT_GT(traces, 0);
  const auto first = RunProcess(ConvertArgs(dir, path));
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const auto files = DayFilesIn(dir.Path("out/SDS"));
  ASSERT_FALSE(files.empty());
  std::string err;
  const auto sac = testing::ReadBackWithMseed2sac({files[0]}, &err);
  ASSERT_EQ(sac.size(), 1u) << err;
  EXPECT_FLOAT_EQ(sac[0].deltaS, 62.5e-6f);
  EXPECT_EQ(sac[0].samples.size(), static_cast<size_t>(record.pHeader[0].nSamples));
  EXPECT_EQ(err.find("different"), std::string::npos) << err;
  std::vector<std::string> before;
  for (const auto& f : files) before.push_back(testing::ReadFileBytes(f));
  const auto second = RunProcess(ConvertArgs(dir, path));
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("(0 samples written"), std::string::npos) << second.out;
  for (size_t k = 0; k < files.size(); ++k) EXPECT_EQ(testing::ReadFileBytes(files[k]), before[k]) << files[k];
}

TEST(ArchiveHostile, ConversionsIntoOneTreeAtOnceWriteEverySampleOnce) {
  TempFolder dir;
  testing::TestSeg2 file;
  file.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 05:14:59.600"};
  std::vector<int32_t> samples(20000);
  for (size_t j = 0; j < samples.size(); ++j) samples[j] = static_cast<int32_t>(j % 777);
  for (int k = 0; k < 3; ++k) {
    file.traces.push_back({{"SAMPLE_INTERVAL 0.001", "DELAY 0"}, 2, testing::Int32Data(samples), 20000, std::nullopt});
  }
  dir.Write("r.sg2", file.Build());
  std::string script;
  for (int k = 0; k < 4; ++k) {
    for (const std::string& a : ConvertArgs(dir, dir.Path("r.sg2"))) script += "'" + a + "' ";
    script += "& ";
  }
  script += "wait";
  const auto r = RunProcess({"/bin/sh", "-c", script});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto files = DayFilesIn(dir.Path("out/SDS"));
  ASSERT_EQ(files.size(), 3u);
  for (const auto& f : files) EXPECT_EQ(SamplesIn(f), 20000) << f;
  for (auto& e : std::filesystem::recursive_directory_iterator(dir.Path("out"))) {
    EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << e.path();
  }
}

}  // namespace
}  // namespace zentrova

#include "records/mtneo_import.h"

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "platform/memory_file_system.h"
#include "testing/mtneo_file.h"
#include "testing/planted_entry.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::MtNeoFile;

int32_t CountAt(int64_t j, int k) { return static_cast<int32_t>((j % 1000) * (k + 1) - 400); }

class MtNeoTest : public ::testing::Test {
 protected:
  int Import(const MtNeoFile& f, int allocate = 1, int readData = 1, const OrbelChannels& orbel = {}) {
    fs.AddFile("/in/rec.mtn", f.Build());
    return ImportMtNeoFile(fs, prompt, record, "/in/rec.mtn", allocate, readData, orbel);
  }
  MemoryFileSystem fs;
  RecordingPrompt prompt;
  SeismicRecord record{"/work"};
};

TEST_F(MtNeoTest, ThreeComponentMtNeoRecord) {
  ASSERT_EQ(Import(MtNeoFile{}), 3);
  EXPECT_EQ(record.nTraces, 3);
  EXPECT_EQ(record.nTracesInFile, 3);
  const float v = static_cast<float>(5.0 / 4294967296.0 / 8);
  const int gains[3] = {2, 4, 5};
  for (int k = 0; k < 3; ++k) {
    const CHeader& h = record.pHeader[k];
    EXPECT_EQ(h.nTrace, k + 1);
    EXPECT_EQ(h.nSamples, 60000);
    EXPECT_EQ(h.fSampleInterval, 1000.0f);
    EXPECT_EQ(h.nComponent, k + 1);
    EXPECT_EQ(h.nReceiverLoc, 100 * k);
    EXPECT_EQ(h.nFixedGain, 10);
    EXPECT_EQ(h.nManualChannel, 123);
    for (int64_t j : {0, 1, 777, 59999}) {
      const float expected = 490.0f * static_cast<float>(CountAt(j, k)) * v / static_cast<float>(gains[k]);
      EXPECT_NEAR(record.ppData[k][j], expected, 1e-5f * std::fabs(expected) + 1e-12f) << k << " " << j;
    }
  }
  EXPECT_GT(record.fMaxAmplitude, 0.0f);
  EXPECT_EQ(fs.Contents("/monitor.txt"), "60.000000 /in/rec.mtn\r\n");
  EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(MtNeoTest, ShortRecordsAreLoggedAndNotUsed) {
  MtNeoFile f;
  f.frames = 58000;
  ASSERT_EQ(Import(MtNeoFile{}), 3);
  EXPECT_EQ(Import(f), 0);
  EXPECT_EQ(record.pHeader[0].nSamples, 60000);  // the previous record stays
  EXPECT_EQ(fs.Contents("/monitor.txt"), "60.000000 /in/rec.mtn\r\n58.000000 /in/rec.mtn\r\n");
}

TEST_F(MtNeoTest, OrbelTenMillisecondRecordsAreCutToOneMinute) {
  MtNeoFile f;
  f.id = "Orbel ";
  f.intervalCode = 10;
  f.frames = 6500;
  ASSERT_EQ(Import(f), 3);
  EXPECT_EQ(record.pHeader[0].nSamples, 6000);
  EXPECT_EQ(record.ppData[0].size(), 6000u);
  f.frames = 7000;
  ASSERT_EQ(Import(f), 3);
  EXPECT_EQ(record.pHeader[0].nSamples, 7000);
  // Default channel layout, and the Orbel scale without the 490 factor.
  EXPECT_EQ(record.pHeader[0].nComponent, 2);
  EXPECT_EQ(record.pHeader[1].nComponent, 1);
  EXPECT_EQ(record.pHeader[2].nComponent, 3);
  EXPECT_EQ(record.pHeader[0].nReceiverLoc, 100);
  EXPECT_EQ(record.pHeader[1].nReceiverLoc, 0);
  EXPECT_EQ(record.pHeader[2].nReceiverLoc, 200);
  EXPECT_NEAR(record.ppData[0][1], static_cast<float>(CountAt(1, 0)) * 1.164153e-9f / 2.0f, 1e-15);

  OrbelChannels settings;
  settings.component = {3, 3, 1};
  settings.distance = {5, 6, 7};
  ASSERT_EQ(Import(f, 1, 1, settings), 3);
  EXPECT_EQ(record.pHeader[2].nComponent, 1);
  EXPECT_EQ(record.pHeader[1].nReceiverLoc, 600);
}

TEST_F(MtNeoTest, OneComponentFile) {
  MtNeoFile f;
  f.components = "1";
  f.frameBytes = 8;
  f.scaleFlag = "1";
  ASSERT_EQ(Import(f), 1);
  EXPECT_EQ(record.nTraces, 1);
  EXPECT_EQ(record.pHeader[0].nComponent, 3);
  EXPECT_EQ(record.pHeader[0].nReceiverLoc, 0);
  const float v = static_cast<float>(5.0 / 4294967296.0);
  EXPECT_NEAR(record.ppData[0][5], 490.0f * static_cast<float>(CountAt(5, 0)) * v / 5.0f, 1e-9);
}

TEST_F(MtNeoTest, ManualGainsMultiplyMatchingInstruments) {
  fs.CreateFolder("/work");
  fs.AddFile("/work/DaZEZIROZevManualGain.txt", "123 2.0\r\nbad line\r\n999 7\r\n123 0.5\r\n");
  ASSERT_EQ(Import(MtNeoFile{}), 3);
  EXPECT_EQ(prompt.shown, std::vector<std::string>{"Gain of 6 traces were manualy changed."});
  const float v = static_cast<float>(5.0 / 4294967296.0 / 8);
  const float expected = 490.0f * static_cast<float>(CountAt(3, 0)) * v / 2.0f;
  EXPECT_NEAR(record.ppData[0][3], expected, 1e-5f * std::fabs(expected));
  EXPECT_EQ(ReadManualGains(fs, "/work").size(), 3u);
}

TEST_F(MtNeoTest, IntervalCodesAndTheSampleLimit) {
  MtNeoFile f;
  f.frames = 100001;
  ASSERT_EQ(Import(f), 3);
  EXPECT_EQ(record.pHeader[0].nSamples, 100000);  // at most 100000 frames are read
  EXPECT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].substr(0, 35), " Number of samples is too large ! \n");

  f.intervalCode = 102;
  f.frames = 120000;
  EXPECT_EQ(Import(f), 0);  // 100000 samples at 0.5 ms are only 50 s
  EXPECT_EQ(record.pStageHeader[0].fSampleInterval, 500.0f);
  f.intervalCode = 101;
  fs.AddFile("/in/fast.mtn", f.Build());
  auto header = ReadMtNeoHeader(fs, "/in/fast.mtn");
  ASSERT_TRUE(header.ok());
  EXPECT_EQ(header->IntervalMicroseconds(), 250.0f);
  EXPECT_EQ(header->firstSample.year, 2015);
  EXPECT_EQ(header->firstSample.second, 56);
  EXPECT_NEAR(header->fLatitude, 35.0f + 40.123456f / 60.0f, 1e-5);
  EXPECT_NEAR(header->fAltitude, 12.5f, 1e-6);
}

TEST_F(MtNeoTest, RejectedFilesLeaveTheRecord) {
  ASSERT_EQ(Import(MtNeoFile{}), 3);
  MtNeoFile unknown;
  unknown.id = "SEG2__";
  EXPECT_EQ(Import(unknown), 0);
  fs.AddFile("/in/short.mtn", std::string(511, 'M'));
  EXPECT_EQ(ImportMtNeoFile(fs, prompt, record, "/in/short.mtn", 1, 1), 0);
  EXPECT_EQ(ImportMtNeoFile(fs, prompt, record, "/in/none.mtn", 1, 1), 0);
  MtNeoFile garbage;
  garbage.gains[0] = "x#!";
  garbage.calibration = "-0-";
  garbage.instrument = "99999999999";
  garbage.components = "Z";
  EXPECT_EQ(Import(garbage), 3);
  EXPECT_EQ(record.nTraces, 3);
  EXPECT_EQ(record.pHeader[0].nSamples, 60000);
}

// "monitor.txt" lies in the watched folder, which others may write: a link
// there is not written through, and a FIFO neither holds the import nor
// takes the line; the record is imported all the same.
TEST(MtNeoMonitorLine, NeverFollowsALinkNorWaitsOnAFifo) {
  testing::TempFolder dir;
  LinuxFileSystem fs;
  RecordingPrompt prompt;
  SeismicRecord record{dir.path()};
  dir.Write("rec.mtn", MtNeoFile{}.Build());
  const std::string before = fs.CurrentFolder();
  ASSERT_TRUE(fs.SetCurrentFolder(dir.path()).ok());
  for (testing::Planted kind : testing::kPlantedKinds) {
    testing::PlantedEntry planted(dir.Path("monitor.txt"), kind);
    int traces = 0;
    EXPECT_TRUE(planted.ReturnsPromptly([&] { traces = ImportMtNeoFile(fs, prompt, record, dir.Path("rec.mtn"), 1, 1); }))
        << PlantedName(kind);
    EXPECT_EQ(traces, 3) << PlantedName(kind);
    EXPECT_TRUE(planted.Untouched()) << PlantedName(kind);
    EXPECT_EQ(planted.ReadFromFifo(), "") << PlantedName(kind);
  }
  ASSERT_TRUE(fs.SetCurrentFolder(before).ok());
}

}  // namespace
}  // namespace zentrova

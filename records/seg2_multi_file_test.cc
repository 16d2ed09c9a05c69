#include <gtest/gtest.h>

#include "platform/memory_file_system.h"
#include "records/seg2_append.h"
#include "records/seg2_header_scan.h"
#include "records/test_seg2_builder.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

using testing::FloatTrace;
using testing::TestSeg2;

std::vector<float> Ramp(int n, float start) {
  std::vector<float> v(static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) v[j] = start + static_cast<float>(j);
  return v;
}

std::string NotePosition() {
  std::string note = "NOTE N 35  40  12.5     E 139 45  30.0";
  note.resize(60, ' ');
  return note;
}

class MultiFileTest : public ::testing::Test {
 protected:
  testing::ScopedTimeZone tz{"UTC"};
  MemoryFileSystem fs;
  RecordingPrompt prompt;
};

TEST_F(MultiFileTest, HeaderScanPlansWithoutSamples) {
  TestSeg2 file;
  file.fileStrings = {NotePosition()};
  file.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 0.0005", "RECEIVER_LOCATION -1.15", "SOURCE_LOCATION 2.5",
                                    "RECEIVER_COMPONENT 25", "FIXED_GAIN 12", "DELAY -0.5"},
                                   Ramp(10, 0)));
  file.traces.push_back(FloatTrace({"RECEIVER_LOCATION 3", "LATITUDE 1.0"}, Ramp(20, 0)));
  fs.AddFile("/a.dat", file.Build());
  std::vector<CHeaderXY> headers;
  ASSERT_EQ(ScanSeg2Headers(fs, prompt, "/a.dat", headers), 2);
  EXPECT_EQ(headers[0].nReceiverLoc, -114);  // + 0.01 for both signs: -114.99 + 0.01
  EXPECT_EQ(headers[0].nSourceLoc, 250);
  EXPECT_EQ(headers[0].nComponent, 25);  // no range check here
  EXPECT_EQ(headers[0].nFixedGain, 0);
  EXPECT_EQ(headers[0].fDelay, 0.0f);
  EXPECT_FLOAT_EQ(headers[0].fSampleInterval, 500.0f);
  EXPECT_EQ(headers[1].nSamples, 20);
  EXPECT_NEAR(headers[1].fLatitude, 35.67014f, 1e-5);  // the note wins
  EXPECT_NEAR(headers[0].fLongitude, 139.75833f, 1e-5);
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(ScanSeg2Headers(fs, prompt, "/none.dat", headers), -1);
}

TEST_F(MultiFileTest, HeaderScanCapsTheTraceCount) {
  TestSeg2 file;
  for (int i = 0; i < 5; ++i) file.traces.push_back(FloatTrace({}, {1}));
  fs.AddFile("/a.dat", file.Build());
  std::vector<CHeaderXY> headers;
  EXPECT_EQ(ScanSeg2Headers(fs, prompt, "/a.dat", headers, RecordLimits{3, 100000}), 3);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0], "Number of traces is too large ! \n\n Maximum trace number is  3");
  EXPECT_EQ(headers[2].nReceiverLoc, 200);  // absent locations are the index
}

TEST_F(MultiFileTest, AppendJoinsFilesWithDecimation) {
  TestSeg2 first;
  first.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56.789"};
  first.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 0.001", "RECEIVER_LOCATION 0", "DELAY -0.5"}, Ramp(10, 0)));
  first.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 0.001", "RECEIVER_LOCATION 0"}, Ramp(10, 100)));
  fs.AddFile("/1.dat", first.Build());
  TestSeg2 second;
  second.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 0.001", "RECEIVER_LOCATION 12.5", "RECEIVER_COMPONENT 2"},
                                     Ramp(9, 50)));
  fs.AddFile("/2.dat", second.Build());

  std::vector<CHeaderXY> headers;
  std::vector<std::vector<float>> data;
  RecordTimeHeader time;
  ASSERT_EQ(AppendSeg2File(fs, prompt, "/1.dat", 0, 0, 2, headers, data, time), 2);
  EXPECT_EQ(time.bTimeValid, 1);
  EXPECT_EQ(time.tFirstSample, time.tAcquisition);  // no delay here
  EXPECT_EQ(time.nFirstSampleMs, 789);
  ASSERT_EQ(AppendSeg2File(fs, prompt, "/2.dat", 0, 2, 2, headers, data, time), 1);

  EXPECT_EQ(data[0], (std::vector<float>{0, 2, 4, 6, 8}));
  EXPECT_EQ(data[1], (std::vector<float>{100, 102, 104, 106, 108}));
  EXPECT_EQ(data[2], (std::vector<float>{50, 52, 54, 56}));  // 9 / 2 samples
  EXPECT_EQ(headers[2].nTrace, 2);
  EXPECT_EQ(headers[2].nSamples, 4);
  EXPECT_FLOAT_EQ(headers[2].fSampleInterval, 2000.0f);
  EXPECT_EQ(headers[2].nReceiverLoc, 1250);
  EXPECT_FLOAT_EQ(headers[2].fReceiverLoc100, 1250.0f);
  EXPECT_EQ(headers[2].nComponent, 2);
  EXPECT_EQ(headers[1].nReceiverLoc, 100);  // all at 0 within the first file: numbered there
  EXPECT_FLOAT_EQ(headers[0].fDelay, -500000.0f);
  EXPECT_EQ(headers[0].nFixedGain, 1);
}

TEST_F(MultiFileTest, AppendStopsAtTheTraceLimit) {
  TestSeg2 file;
  for (int i = 0; i < 4; ++i) file.traces.push_back(FloatTrace({}, {static_cast<float>(i)}));
  fs.AddFile("/a.dat", file.Build());
  std::vector<CHeaderXY> headers;
  std::vector<std::vector<float>> data;
  RecordTimeHeader time;
  EXPECT_EQ(AppendSeg2File(fs, prompt, "/a.dat", 0, 3, 1, headers, data, time, RecordLimits{5, 100000}), 2);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0], "The total number of traces was too large ! \n Only 2 traces has been read !");
  EXPECT_EQ(data[4], (std::vector<float>{1}));
}

TEST_F(MultiFileTest, AppendWarnsOnceAboutLongTraces) {
  TestSeg2 file;
  file.traces.push_back(FloatTrace({}, Ramp(30, 0)));
  file.traces.push_back(FloatTrace({}, Ramp(30, 0)));
  fs.AddFile("/a.dat", file.Build());
  std::vector<CHeaderXY> headers;
  std::vector<std::vector<float>> data;
  RecordTimeHeader time;
  EXPECT_EQ(AppendSeg2File(fs, prompt, "/a.dat", 0, 0, 1, headers, data, time, RecordLimits{1024, 20}), 2);
  EXPECT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(data[1].size(), 20u);
  EXPECT_EQ(headers[1].nSamples, 20);
}

TEST_F(MultiFileTest, AppendOfACutFileFails) {
  TestSeg2 file;
  file.traces.push_back(FloatTrace({}, Ramp(30, 0)));
  std::string bytes = file.Build();
  bytes.resize(bytes.size() - 1);
  fs.AddFile("/a.dat", bytes);
  std::vector<CHeaderXY> headers;
  std::vector<std::vector<float>> data;
  RecordTimeHeader time;
  EXPECT_EQ(AppendSeg2File(fs, prompt, "/a.dat", 0, 0, 1, headers, data, time), 0);
  EXPECT_EQ(prompt.shown, std::vector<std::string>{"Failed to open a file."});
  EXPECT_EQ(AppendSeg2File(fs, prompt, "/none.dat", 0, 0, 1, headers, data, time), -1);
}

}  // namespace
}  // namespace zentrova

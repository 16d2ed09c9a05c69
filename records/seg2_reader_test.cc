#include "records/seg2_reader.h"

#include <gtest/gtest.h>

#include "platform/memory_file_system.h"
#include "records/test_seg2_builder.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

using testing::FloatTrace;
using testing::TestSeg2;
using testing::TestTrace;

class Seg2ReaderTest : public ::testing::Test {
 protected:
  int Read(const TestSeg2& file, int allocate = 1, int readData = 1) {
    fs.AddFile("/r.sg2", file.Build());
    return ReadSeg2File(fs, record, "/r.sg2", allocate, readData, status, &why);
  }
  testing::ScopedTimeZone tz{"UTC"};
  MemoryFileSystem fs;
  SeismicRecord record;
  int status = -7;
  std::string why;
};

TEST_F(Seg2ReaderTest, ReadsTracesHeadersTimeAndSummary) {
  TestSeg2 file;
  file.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56.789", "UNITS METERS"};
  file.traces.push_back(FloatTrace({"CHANNEL_NUMBER 1", "DELAY -0.010", "FIXED_GAIN 24 DB", "RECEIVER_LOCATION 1.15",
                                    "SAMPLE_INTERVAL 0.00025", "SOURCE_LOCATION -1.15", "LATITUDE 35.5",
                                    "MANUAL_CHANNEL_NUMBER 7"},
                                   {1.0f, -3.0f, 2.0f}));
  file.traces.push_back(FloatTrace({"RECEIVER_LOCATION 3.15", "SAMPLE_INTERVAL 0.00025", "RECEIVER_COMPONENT 2"},
                                   {0.5f, 0.25f}));
  ASSERT_EQ(Read(file), 2) << why;
  EXPECT_EQ(status, kSeg2AllRead);
  EXPECT_EQ(record.nTraces, 2);
  EXPECT_EQ(record.nTracesInFile, 2);
  EXPECT_EQ(record.bAllocated, 1);
  const CHeader& h = record.pHeader[0];
  EXPECT_EQ(h.nTrace, 0);
  EXPECT_EQ(h.nReceiverLoc, 115);
  EXPECT_EQ(h.nSourceLoc, -114);
  EXPECT_EQ(h.nFixedGain, 24);
  EXPECT_EQ(h.nComponent, 1);
  EXPECT_FLOAT_EQ(h.fDelay, -10000.0f);
  EXPECT_FLOAT_EQ(h.fSampleInterval, 250.0f);
  EXPECT_EQ(h.nSamples, 3);
  EXPECT_EQ(record.pHeaderXY[0].fLatitude, 35.5f);
  EXPECT_EQ(record.pHeaderXY[0].fLongitude, -1000.0f);
  EXPECT_EQ(record.pHeaderXY[0].nManualChannel, 7);
  EXPECT_EQ(record.pHeader[1].nComponent, 2);
  EXPECT_EQ(record.pHeader[1].nFixedGain, 1);
  EXPECT_EQ(record.ppData[0], (std::vector<float>{1.0f, -3.0f, 2.0f}));
  EXPECT_EQ(record.ppData[1], (std::vector<float>{0.5f, 0.25f}));

  EXPECT_EQ(record.time.bTimeValid, 1);
  EXPECT_EQ(record.time.nGpsStatus, 2);
  EXPECT_EQ(record.time.tAcquisition, 1436099696);
  EXPECT_EQ(record.time.nAcquisitionMs, 789);
  EXPECT_EQ(record.time.tFirstSample, 1436099695);
  EXPECT_EQ(record.time.nFirstSampleMs, 990);
  EXPECT_EQ(record.time.strFirstSample, "12:34:55.990 07/05/2015");
  EXPECT_EQ(record.time.dLatitude, 35.5);

  EXPECT_FLOAT_EQ(record.fMaxAmplitude, 3.0f);
  EXPECT_FLOAT_EQ(record.fMinReceiver, 1.15f);
  EXPECT_FLOAT_EQ(record.fMaxReceiver, 3.15f);
  EXPECT_FLOAT_EQ(record.fMaxLength, 0.75f);
}

TEST_F(Seg2ReaderTest, EachFormatCodeReadAsWhatItIs) {
  struct Case { int code; std::string data; int32_t n; std::vector<float> samples; };
  const Case cases[] = {
      {1, testing::Int16Data({-2, 300, 32767}), 3, {-2, 300, 32767}},
      {2, testing::Int32Data({-70000, 5, 2000000}), 3, {-70000, 5, 2000000}},
      {4, testing::FloatData({0.5f, -1.25f}), 2, {0.5f, -1.25f}},
      {5, testing::DoubleData({0.125, -3.5, 1e300}), 3, {0.125f, -3.5f, 3.4028235e38f}},
      {7, testing::Int32Data({-9, 9}), 2, {-9, 9}},  // unknown codes stay 32-bit integers
      {3, std::string("\x10\x00\x05\x00\xeb\xff\x00\x00\x01\x00", 10), 4, {5, -40, 0, 1}},
  };
  for (const Case& c : cases) {
    TestTrace t;
    t.formatCode = c.code;
    t.data = c.data;
    t.sampleCount = c.n;
    TestSeg2 file;
    file.traces = {t};
    ASSERT_EQ(Read(file), 1) << c.code << " " << why;
    EXPECT_EQ(record.ppData[0], c.samples) << "format code " << c.code;
  }
}

TEST_F(Seg2ReaderTest, TraceStringsAreSearchedFromTheirFirstEntry) {
  TestSeg2 file;
  file.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 0.001", "DELAY -0.5"}, {1}));
  ASSERT_EQ(Read(file), 1);
  EXPECT_FLOAT_EQ(record.pHeader[0].fSampleInterval, 1000.0f);
  EXPECT_FLOAT_EQ(record.pHeader[0].fDelay, -500000.0f);
}

TEST_F(Seg2ReaderTest, ComponentRules) {
  struct Case { std::vector<std::string> strings; int component; };
  const Case cases[] = {
      {{"RECEIVER_COMPONENT 0"}, 1},
      {{"RECEIVER_COMPONENT 3", "TRACE_TYPE 5"}, 3},
      {{"RECEIVER_COMPONENT 25", "TRACE_TYPE 4"}, 4},
      {{"RECEIVER_COMPONENT 25"}, 1},
      {{"TRACE_TYPE SEISMIC_DATA"}, 1},
      {{"TRACE_TYPE 3"}, 3},
      {{"TRACE_TYPE 101"}, 1},
      {{}, 1},
  };
  for (const Case& c : cases) {
    TestSeg2 file;
    file.traces.push_back(FloatTrace(c.strings, {1}));
    ASSERT_EQ(Read(file), 1);
    EXPECT_EQ(record.pHeader[0].nComponent, c.component) << (c.strings.empty() ? "" : c.strings[0]);
  }
}

TEST_F(Seg2ReaderTest, ReceiversAllAtZeroAreNumbered) {
  TestSeg2 file;
  for (int i = 0; i < 3; ++i) file.traces.push_back(FloatTrace({"RECEIVER_LOCATION 0.0"}, {1}));
  ASSERT_EQ(Read(file), 3);
  EXPECT_EQ(record.pHeader[0].nReceiverLoc, 0);
  EXPECT_EQ(record.pHeader[1].nReceiverLoc, 100);
  EXPECT_EQ(record.pHeader[2].nReceiverLoc, 200);

  TestSeg2 missing;  // absent locations default to the index
  for (int i = 0; i < 3; ++i) missing.traces.push_back(FloatTrace({"SOURCE_LOCATION 2"}, {1}));
  ASSERT_EQ(Read(missing), 3);
  EXPECT_EQ(record.pHeader[2].nReceiverLoc, 200);
  EXPECT_EQ(record.pHeader[2].nSourceLoc, 200);
}

TEST_F(Seg2ReaderTest, TraceCountLimits) {
  TestSeg2 file;
  for (int i = 0; i < 1024; ++i) file.traces.push_back(FloatTrace({}, {static_cast<float>(i)}));
  ASSERT_EQ(Read(file), 1024);
  EXPECT_EQ(record.ppData[1023][0], 1023.0f);

  file.traces.push_back(FloatTrace({}, {1}));
  EXPECT_EQ(Read(file), 0);
  EXPECT_EQ(status, kSeg2TooManyTraces);
  EXPECT_EQ(record.nTraces, 1024);  // left as it was

  EXPECT_EQ(Read(TestSeg2{}), 0);
  EXPECT_EQ(status, kSeg2AllRead);
  EXPECT_EQ(record.nTraces, 0);
  EXPECT_EQ(record.bAllocated, 1);
  EXPECT_EQ(record.time.bTimeValid, 0);
}

TEST_F(Seg2ReaderTest, LongTracesKeepTheirFirst100000Samples) {
  std::vector<float> samples(150000);
  for (size_t j = 0; j < samples.size(); ++j) samples[j] = static_cast<float>(j);
  TestSeg2 file;
  file.traces.push_back(FloatTrace({}, samples));
  ASSERT_EQ(Read(file), 1);
  EXPECT_EQ(record.pHeader[0].nSamples, 100000);
  EXPECT_EQ(record.ppData[0].size(), 100000u);
  EXPECT_EQ(record.ppData[0].back(), 99999.0f);
}

TEST_F(Seg2ReaderTest, NegativeSampleCountIsItsAbsoluteValue) {
  TestSeg2 file;
  auto t = FloatTrace({}, {4, 5});
  t.sampleCount = -2;
  file.traces = {t};
  ASSERT_EQ(Read(file), 1);
  EXPECT_EQ(record.ppData[0], (std::vector<float>{4, 5}));
}

TEST_F(Seg2ReaderTest, HeaderOnlyReadGivesTimeAndCount) {
  TestSeg2 full;
  full.traces.push_back(FloatTrace({}, {1, 2, 3}));
  ASSERT_EQ(Read(full), 1);

  TestSeg2 file;
  file.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56.250"};
  for (int i = 0; i < 4; ++i) file.traces.push_back(FloatTrace({"DELAY -1.0"}, {9}));
  ASSERT_EQ(Read(file, 1, 0), 4);
  EXPECT_EQ(status, kSeg2AllRead);
  EXPECT_EQ(record.nTracesInFile, 4);
  EXPECT_EQ(record.nTraces, 1);  // the traces are not touched
  EXPECT_EQ(record.ppData[0].size(), 3u);
  EXPECT_EQ(record.time.tFirstSample, 1436099696);  // no delay applied
  EXPECT_EQ(record.time.bTimeValid, 1);
}

TEST_F(Seg2ReaderTest, ReusedArraysGrowForALargerFile) {
  TestSeg2 small;
  small.traces.push_back(FloatTrace({}, {1}));
  ASSERT_EQ(Read(small), 1);
  TestSeg2 large;
  for (int i = 0; i < 5; ++i) large.traces.push_back(FloatTrace({}, std::vector<float>(1000, 2.0f)));
  ASSERT_EQ(Read(large, 0, 1), 5);
  EXPECT_EQ(record.ppData.size(), 5u);
  EXPECT_EQ(record.ppData[4].size(), 1000u);
}

TEST_F(Seg2ReaderTest, AStaleTimeIsNotKeptForAFileWithoutOne) {
  TestSeg2 timed;
  timed.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56"};
  timed.traces.push_back(FloatTrace({}, {1}));
  ASSERT_EQ(Read(timed), 1);
  EXPECT_EQ(record.time.bTimeValid, 1);

  TestSeg2 broken;
  broken.fileStrings = {"ACQUISITION_DATE 31/Foo/2015", "ACQUISITION_TIME 12:34:56"};
  broken.traces.push_back(FloatTrace({}, {1}));
  ASSERT_EQ(Read(broken), 1);
  EXPECT_EQ(record.time.bTimeValid, 0);
  EXPECT_EQ(record.time.nGpsStatus, 3);
}

TEST_F(Seg2ReaderTest, MissingFileIsMinusOne) {
  EXPECT_EQ(ReadSeg2File(fs, record, "/none.sg2", 1, 1, status, &why), -1);
  EXPECT_NE(why.find("/none.sg2"), std::string::npos);
}

}  // namespace
}  // namespace zentrova

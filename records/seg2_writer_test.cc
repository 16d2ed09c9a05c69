#include "records/seg2_writer.h"

#include <cstring>

#include <gtest/gtest.h>

#include "platform/fault_file_system.h"
#include "platform/linux_file_system.h"
#include "platform/local_time.h"
#include "platform/memory_file_system.h"
#include "records/seg2_reader.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
uint32_t U32(const std::string& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, &b[at], 4);
  return v;
}

// The texts of the string entries from `at` up to the zero length word.
std::vector<std::string> Entries(const std::string& b, size_t at, size_t end) {
  std::vector<std::string> texts;
  while (at + 2 <= end) {
    const uint16_t len = U16(b, at);
    if (len == 0) break;
    std::string text = b.substr(at + 2, len - 2);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    texts.push_back(text);
    at += len;
  }
  return texts;
}

struct Written {
  std::vector<CHeader> headers;
  std::vector<std::vector<float>> data;
  RecordTimeHeader time;
};

Written Traces(int n, int samples) {
  Written w;
  for (int i = 0; i < n; ++i) {
    CHeader h;
    h.nSamples = samples + i;
    h.fSampleInterval = 1000.0f;
    h.fDelay = -10000.0f;
    h.nComponent = 2;
    h.nReceiverLoc = 250 * i + 150;
    h.nSourceLoc = -150;
    w.headers.push_back(h);
    std::vector<float> d(static_cast<size_t>(h.nSamples));
    for (size_t j = 0; j < d.size(); ++j) d[j] = static_cast<float>(j) * 0.5f - static_cast<float>(i);
    w.data.push_back(d);
  }
  w.time.tAcquisition = 1436099696;  // 05 Jul 2015 12:34:56 UTC
  w.time.nAcquisitionMs = 789;
  return w;
}

class Seg2WriterTest : public ::testing::Test {
 protected:
  std::string Write(const Written& w) {
    Status st = WriteSeg2File(fs, static_cast<int>(w.headers.size()), "/out.dat", w.data, w.headers, w.time);
    EXPECT_TRUE(st.ok()) << st.message();
    return fs.Contents("/out.dat");
  }
  testing::ScopedTimeZone tz{"UTC"};
  MemoryFileSystem fs;
};

TEST_F(Seg2WriterTest, FileLayoutOfASingleTrace) {
  const std::string b = Write(Traces(1, 4));
  EXPECT_EQ(U16(b, 0), 0x3A55);
  EXPECT_EQ(U16(b, 2), 1);
  EXPECT_EQ(U16(b, 4), 4224);
  EXPECT_EQ(U16(b, 6), 1);
  EXPECT_EQ(b.substr(8, 5), std::string("\x01\0\0\x01\x0A", 5));
  const auto file = Entries(b, 32 + 4224, b.size());
  ASSERT_EQ(file.size(), 9u);
  EXPECT_EQ(file[0], "ACQUISITION_DATE 05/Jul/2015");
  EXPECT_EQ(file[1], "ACQUISITION_TIME 12:34:56.789");
  EXPECT_EQ(file[2], "COMPANY Halvorne");
  EXPECT_EQ(file[3], "INSTRUMENT HALVORNE TARNLINKS CONTROLLER 0000");
  EXPECT_EQ(file[7], "UNITS METERS");
  EXPECT_EQ(file[8], "NOTE \n BASE_INTERVAL 0.00 \n SHOT_INCREMENT 0.00 \n PHONE_INCREMENT 0.00 \n AGC_WINDOW 0 \n "
                     "DISPLAY_FILTERS 0 0 \n\n");
  const uint32_t pointer = U32(b, 32);
  EXPECT_EQ((pointer - 32 - 4224) % 4, 0u);
  EXPECT_EQ(U32(b, 36), 0u);
  EXPECT_EQ(U16(b, pointer), 0x4422);
  EXPECT_EQ(U16(b, pointer + 2), 480);
  EXPECT_EQ(U32(b, pointer + 4), 16u);
  EXPECT_EQ(U32(b, pointer + 8), 4u);
  EXPECT_EQ(b[pointer + 12], 4);
  EXPECT_EQ(b.size(), pointer + 480 + 16);
  const auto strings = Entries(b, pointer + 32, pointer + 480);
  const std::vector<std::string> expected = {
      "ALIAS_FILTER 416.66 0", "AMPLITUDE_RECOVERY NONE", "CHANNEL_NUMBER 1", "DELAY -0.010",
      "DESCALING_FACTOR 1.000000E+000", "DIGITAL_HIGH_CUT_FILTER 0 0", "DIGITAL_LOW_CUT_FILTER 0 0",
      "FIXED_GAIN  1 DB", "LINE_ID 1", "LOW_CUT_FILTER 0 0", "NOTCH_FREQUENCY 0", "RAW_RECORD test",
      "RECEIVER_LOCATION 1.50", "SAMPLE_INTERVAL 0.001", "SHOT_SEQUENCE_NUMBER 1", "SKEW 0.0",
      "SOURCE_LOCATION -1.50", "STACK 1", "TRACE_TYPE 2", "NOTE \n DISPLAY_SCALE 1  \n\n"};
  EXPECT_EQ(strings, expected);
}

TEST_F(Seg2WriterTest, BaseIntervalAndPointersOfSeveralTraces) {
  const std::string b = Write(Traces(3, 10));
  const auto file = Entries(b, 32 + 4224, b.size());
  EXPECT_NE(file[8].find("BASE_INTERVAL 2.50"), std::string::npos);
  EXPECT_EQ(U32(b, 36), U32(b, 32) + 480 + 4 * 10);
  EXPECT_EQ(U32(b, 40), U32(b, 36) + 480 + 4 * 11);
  EXPECT_EQ(Entries(b, U32(b, 40) + 32, U32(b, 40) + 480)[2], "CHANNEL_NUMBER 3");
}

TEST_F(Seg2WriterTest, DelayAndIntervalTexts) {
  struct Case { float delayUs; float intervalUs; const char* delay; const char* interval; const char* alias; };
  const Case cases[] = {
      {-10000, 1000, "DELAY -0.010", "SAMPLE_INTERVAL 0.001", "ALIAS_FILTER 416.66 0"},
      {0, 250, "DELAY 0.000", "SAMPLE_INTERVAL 0.00025", "ALIAS_FILTER 1666.66 0"},
      {1500000, 300, "DELAY 1.500", "SAMPLE_INTERVAL 0.0003", "ALIAS_FILTER 0.00 0"},
      {-500000, 125, "DELAY -0.500", "SAMPLE_INTERVAL 0.000125", "ALIAS_FILTER 3333.33 0"},
  };
  for (const Case& c : cases) {
    Written w = Traces(1, 2);
    w.headers[0].fDelay = c.delayUs;
    w.headers[0].fSampleInterval = c.intervalUs;
    const std::string b = Write(w);
    const auto s = Entries(b, U32(b, 32) + 32, U32(b, 32) + 480);
    EXPECT_EQ(s[3], c.delay);
    EXPECT_EQ(s[13], c.interval);
    EXPECT_EQ(s[0], c.alias);
  }
}

TEST(FormatSeconds, DurationsBelowOneSecond) {
  struct Case { int64_t ns; const char* text; };
  const Case cases[] = {{1000000, "0.001"}, {500000, "0.0005"}, {250000, "0.00025"}, {20833, "0.000020833"},
                        {0, "0.0"},         {312500, "0.0003125"}, {312501, "0.000313"}, {62500, "0.0000625"},
                        {-17960, "-0.00001796"}};
  for (const Case& c : cases) EXPECT_EQ(FormatSeconds(c.ns), c.text) << c.ns;
  EXPECT_FLOAT_EQ(AliasFilterFrequency(20833), 20000.0f);
  EXPECT_FLOAT_EQ(AliasFilterFrequency(16000000), 26.04f);
  EXPECT_EQ(AliasFilterFrequency(300000), 0.0f);
}

TEST_F(Seg2WriterTest, ReadBackGivesWhatWasWritten) {
  Written w = Traces(5, 1000);
  w.headers[3].fDelay = 1500000.0f;
  w.headers[4].nSourceLoc = 1234;
  w.headers[4].nComponent = 3;
  Write(w);
  SeismicRecord record;
  int status = -1;
  ASSERT_EQ(ReadSeg2File(fs, record, "/out.dat", 1, 1, status), 5);
  for (int i = 0; i < 5; ++i) {
    const CHeader& h = record.pHeader[i];
    EXPECT_EQ(record.ppData[i], w.data[i]);
    EXPECT_EQ(h.nSamples, w.headers[i].nSamples);
    EXPECT_FLOAT_EQ(h.fSampleInterval, w.headers[i].fSampleInterval);
    EXPECT_NEAR(h.fDelay, w.headers[i].fDelay, 1000.0f);
    EXPECT_EQ(h.nReceiverLoc, w.headers[i].nReceiverLoc);
    EXPECT_EQ(h.nSourceLoc, w.headers[i].nSourceLoc);
    EXPECT_EQ(h.nComponent, w.headers[i].nComponent);
  }
  EXPECT_EQ(record.time.bTimeValid, 1);
  EXPECT_EQ(record.time.tAcquisition, w.time.tAcquisition);
  EXPECT_EQ(record.time.nAcquisitionMs, 789);
}

TEST_F(Seg2WriterTest, StringsThatDoNotFitAreLeftOutWhole) {
  Written w = Traces(1, 3);
  w.headers[0].nReceiverLoc = INT32_MAX;
  w.headers[0].nSourceLoc = INT32_MIN;
  w.headers[0].nComponent = INT32_MIN;
  const std::string b = Write(w);
  const uint32_t p = U32(b, 32);
  const auto strings = Entries(b, p + 32, p + 480);
  ASSERT_EQ(strings.size(), 19u);  // the NOTE no longer fits
  EXPECT_EQ(strings.back(), "TRACE_TYPE -2147483648");
  size_t used = 32;
  for (const auto& s : strings) used += s.size() + 3;
  EXPECT_LE(used + 2, 480u);
  EXPECT_EQ(U16(b, p + used), 0);  // the zero length word ends the strings
  SeismicRecord record;
  int status = -1;
  ASSERT_EQ(ReadSeg2File(fs, record, "/out.dat", 1, 1, status), 1);
  EXPECT_EQ(record.ppData[0], w.data[0]);
}

TEST(Seg2Writer, RefusesInconsistentTracesAndReportsWriteFailures) {
  testing::TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fs(real);
  Written w = Traces(2, 100);
  const std::string path = dir.Path("out.dat");
  EXPECT_EQ(WriteSeg2File(fs, 3, path, w.data, w.headers, w.time).code(), Status::Code::kInvalid);
  EXPECT_EQ(WriteSeg2File(fs, -1, path, w.data, w.headers, w.time).code(), Status::Code::kInvalid);
  w.data[1].resize(5);
  EXPECT_EQ(WriteSeg2File(fs, 2, path, w.data, w.headers, w.time).code(), Status::Code::kInvalid);
  EXPECT_FALSE(real.Exists(path));
  w = Traces(2, 100);
  EXPECT_EQ(WriteSeg2File(fs, 2, dir.Path("no/such/folder.dat"), w.data, w.headers, w.time).code(),
            Status::Code::kNotFound);
  fs.SetWriteBudget(5000);
  EXPECT_EQ(WriteSeg2File(fs, 2, path, w.data, w.headers, w.time).code(), Status::Code::kNoSpace);
  fs.ClearWriteBudget();
  EXPECT_TRUE(WriteSeg2File(fs, 2, path, w.data, w.headers, w.time).ok());

  std::vector<CHeaderXY> xy(2);
  for (int i = 0; i < 2; ++i) static_cast<CHeader&>(xy[i]) = w.headers[i];
  EXPECT_TRUE(WriteSeg2File(fs, 2, path, w.data, xy, w.time).ok());
}

}  // namespace
}  // namespace zentrova

// Files cut short, corrupted or hostile: every reader rejects them or reads
// as far as they are sound, and leaves a record a later reader can use.

#include <cstring>

#include <gtest/gtest.h>

#include "platform/memory_file_system.h"
#include "records/seg2_append.h"
#include "records/seg2_header_scan.h"
#include "records/seg2_reader.h"
#include "records/test_seg2_builder.h"

namespace zentrova {
namespace {

using testing::FloatTrace;
using testing::TestSeg2;

std::string SmallFile() {
  TestSeg2 file;
  file.fileStrings = {"ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56"};
  for (int i = 0; i < 3; ++i) {
    file.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 0.001", "RECEIVER_LOCATION " + std::to_string(i)},
                                     std::vector<float>(16, static_cast<float>(i + 1))));
  }
  return file.Build();
}

void ExpectConsistent(const SeismicRecord& r) {
  ASSERT_EQ(r.pHeader.size(), static_cast<size_t>(r.nTraces));
  ASSERT_EQ(r.pHeaderXY.size(), static_cast<size_t>(r.nTraces));
  ASSERT_EQ(r.ppData.size(), static_cast<size_t>(r.nTraces));
  for (int i = 0; i < r.nTraces; ++i) ASSERT_EQ(r.ppData[i].size(), static_cast<size_t>(r.pHeader[i].nSamples));
}

void Put32(std::string& s, size_t at, uint32_t v) { std::memcpy(&s[at], &v, 4); }
void Put16(std::string& s, size_t at, uint16_t v) { std::memcpy(&s[at], &v, 2); }
uint32_t Get32(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, &s[at], 4);
  return v;
}

TEST(Seg2BadInput, EveryCutOfAFileReadsAsFarAsItIsSound) {
  const std::string whole = SmallFile();
  MemoryFileSystem fs;
  RecordingPrompt prompt;
  SeismicRecord record;
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    fs.AddFile("/c.sg2", whole.substr(0, cut));
    int status = -1;
    const int n = ReadSeg2File(fs, record, "/c.sg2", 1, 1, status);
    ExpectConsistent(record);
    if (cut == whole.size()) {
      EXPECT_EQ(n, 3);
      EXPECT_EQ(status, kSeg2AllRead);
    } else {
      EXPECT_EQ(n, 0) << cut;
      EXPECT_TRUE(status == kSeg2NoDirectory || status == kSeg2ShortRead) << cut;
      EXPECT_LE(record.nTraces, 2) << cut;
    }
    std::vector<CHeaderXY> headers;
    EXPECT_LE(ScanSeg2Headers(fs, prompt, "/c.sg2", headers), 3);
    std::vector<std::vector<float>> data;
    RecordTimeHeader time;
    const int appended = AppendSeg2File(fs, prompt, "/c.sg2", 0, 0, 1, headers, data, time);
    EXPECT_TRUE(appended == 0 || (appended == 3 && cut == whole.size())) << cut;
  }
}

TEST(Seg2BadInput, TheTracesBeforeAFailureStay) {
  std::string bytes = SmallFile();
  bytes.resize(bytes.size() - 4);  // the last trace loses a sample
  MemoryFileSystem fs;
  fs.AddFile("/c.sg2", bytes);
  SeismicRecord record;
  int status = -1;
  std::string why;
  EXPECT_EQ(ReadSeg2File(fs, record, "/c.sg2", 1, 1, status, &why), 0);
  EXPECT_EQ(status, kSeg2ShortRead);
  EXPECT_EQ(record.nTraces, 2);
  EXPECT_EQ(record.bAllocated, 1);
  EXPECT_EQ(record.ppData[1][0], 2.0f);
  EXPECT_NE(why.find("trace 2"), std::string::npos) << why;
  ExpectConsistent(record);
}

struct Corruption {
  const char* name;
  void (*apply)(std::string& bytes);
  int status;
  int traces;  // traces left in the record
};

TEST(Seg2BadInput, HostileFieldsAreCheckedBeforeUse) {
  // Offsets in SmallFile: N at 6, pointers at 32; a trace block's size at P + 2
  // and its sample count at P + 8.
  const Corruption cases[] = {
      {"trace count 0xFFFF", [](std::string& b) { Put16(b, 6, 0xFFFF); }, kSeg2TooManyTraces, 0},
      {"more pointers than the file holds", [](std::string& b) { Put16(b, 6, 1000); }, kSeg2NoDirectory, 0},
      {"pointer beyond the end", [](std::string& b) { Put32(b, 36, 0xFFFFFFF0u); }, kSeg2ShortRead, 1},
      // Garbage that is still inside the file reads as garbage, soundly.
      {"first pointer inside the file descriptor", [](std::string& b) { Put32(b, 32, 8); }, kSeg2AllRead, 3},
      {"descriptor size negative", [](std::string& b) { Put16(b, Get32(b, 32) + 2, 0x8000); }, kSeg2ShortRead, 0},
      {"descriptor size below 32", [](std::string& b) { Put16(b, Get32(b, 36) + 2, 8); }, kSeg2ShortRead, 1},
      {"descriptor beyond the end", [](std::string& b) { Put16(b, Get32(b, 40) + 2, 0x7FFF); }, kSeg2ShortRead, 2},
      {"huge sample count", [](std::string& b) { Put32(b, Get32(b, 32) + 8, 0x7FFFFFFF); }, kSeg2ShortRead, 0},
      {"most negative sample count", [](std::string& b) { Put32(b, Get32(b, 32) + 8, 0x80000000u); }, kSeg2ShortRead,
       0},
      {"sample count one too many", [](std::string& b) { Put32(b, Get32(b, 40) + 8, 17); }, kSeg2ShortRead, 2},
      {"wider format past the end", [](std::string& b) { b[Get32(b, 40) + 12] = 5; }, kSeg2ShortRead, 2},
  };
  for (const Corruption& c : cases) {
    std::string bytes = SmallFile();
    c.apply(bytes);
    MemoryFileSystem fs;
    fs.AddFile("/c.sg2", bytes);
    SeismicRecord record;
    int status = -1;
    ReadSeg2File(fs, record, "/c.sg2", 1, 1, status);
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(record.nTraces, c.traces) << c.name;
    ExpectConsistent(record);
  }
}

TEST(Seg2BadInput, HostileTextValuesStayInRange) {
  TestSeg2 file;
  file.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 1e38", "RECEIVER_LOCATION 3e38", "SOURCE_LOCATION -3e38",
                                    "DELAY nan", "FIXED_GAIN 99999999999999", "TRACE_TYPE -2147483648"},
                                   {1}));
  MemoryFileSystem fs;
  fs.AddFile("/h.sg2", file.Build());
  SeismicRecord record;
  int status = -1;
  ASSERT_EQ(ReadSeg2File(fs, record, "/h.sg2", 1, 1, status), 1);
  EXPECT_EQ(record.pHeader[0].nReceiverLoc, INT32_MAX);
  EXPECT_EQ(record.pHeader[0].nSourceLoc, INT32_MIN);
  EXPECT_EQ(record.pHeader[0].fDelay, 0.0f);
  EXPECT_EQ(record.pHeader[0].nFixedGain, 1);
  EXPECT_EQ(record.pHeader[0].nComponent, 1);
}

}  // namespace
}  // namespace zentrova

// A record is whole only when every trace it announces is there in full.

#include <gtest/gtest.h>

#include "platform/memory_file_system.h"
#include "records/seg2_whole.h"
#include "records/test_seg2_builder.h"

namespace zentrova {
namespace {

using testing::FloatTrace;
using testing::TestSeg2;

TEST(Seg2Whole, OnlyAFileHoldingEverySampleOfEveryTraceIsWhole) {
  TestSeg2 seg2;
  seg2.fileStrings = {"ACQUISITION_DATE 05/Jul/2015"};
  for (int i = 0; i < 3; ++i) seg2.traces.push_back(FloatTrace({"SAMPLE_INTERVAL 0.001"}, std::vector<float>(64, 1.0f)));
  const std::string whole = seg2.Build();
  TestSeg2 none = seg2;
  none.traces.clear();
  struct Case {
    const char* what;
    std::string bytes;
    bool whole;
  } cases[] = {
      {"the whole record", whole, true},
      {"no byte yet", "", false},
      {"the file descriptor only", whole.substr(0, 40), false},
      {"all but the last sample", whole.substr(0, whole.size() - 1), false},
      {"half of it", whole.substr(0, whole.size() / 2), false},
      {"no trace at all", none.Build(), false},
  };
  for (const Case& c : cases) {
    MemoryFileSystem fs;
    fs.AddFile("/w/1.sg2", c.bytes);
    EXPECT_EQ(Seg2RecordIsWhole(fs, "/w/1.sg2"), c.whole) << c.what;
  }
  MemoryFileSystem fs;
  EXPECT_FALSE(Seg2RecordIsWhole(fs, "/w/missing.sg2"));
}

}  // namespace
}  // namespace zentrova

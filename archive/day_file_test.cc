// A day file stays whole records in time order, each sample once: on
// continuing records, records that come twice or late, a full disk and a
// part record left by a power cut.

#include <filesystem>

#include <gtest/gtest.h>

#include "archive/day_file.h"
#include "platform/fault_file_system.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

constexpr int64_t kT0 = int64_t{1709100000} * 1000000;  // 2024-02-28 06:00:00 UTC
const StreamId kId{"XX", "SITE", "00", "GPZ"};

ArchiveTrace Ramp(size_t n, int32_t from) {
  ArchiveTrace t;
  t.intervalUs = 1000;
  for (size_t i = 0; i < n; ++i) t.ints.push_back(from + static_cast<int32_t>((i * 37) % 2001) - 1000);
  return t;
}

SamplePiece Whole(const ArchiveTrace& t, int64_t startUs) { return {&t, 0, t.Count(), startUs}; }

// The records of the file: their start, sample count, in file order.
std::vector<RecordSpan> Spans(const std::string& bytes) {
  std::vector<RecordSpan> spans;
  for (size_t at = 0; at + kMiniSeedRecordBytes <= bytes.size(); at += kMiniSeedRecordBytes) {
    auto s = ReadRecordSpan(std::string_view(bytes).substr(at, kMiniSeedRecordBytes));
    EXPECT_TRUE(s.has_value()) << at;
    if (s) spans.push_back(*s);
  }
  return spans;
}

int64_t Samples(const std::vector<RecordSpan>& spans) {
  int64_t n = 0;
  for (const RecordSpan& s : spans) n += s.sampleCount;
  return n;
}

class DayFileTest : public ::testing::Test {
 protected:
  TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fs{real};
  DayFiles days{fs};
  std::string path = dir.Path("XX.SITE.00.GPZ.D.2024.059");
};

TEST_F(DayFileTest, ARecordThatContinuesWithinHalfASampleJoinsWithoutAGap) {
  const ArchiveTrace a = Ramp(3000, 0), b = Ramp(3000, 5);
  ASSERT_TRUE(days.Write(path, kId, Whole(a, kT0)).ok());
  // The next record's clock says 0.4 samples late.
  auto out = days.Write(path, kId, Whole(b, kT0 + 3000 * 1000 + 400));
  ASSERT_TRUE(out.ok()) << out.status().message();
  EXPECT_EQ(out->written, 3000u);
  const std::vector<RecordSpan> spans = Spans(dir.Read("XX.SITE.00.GPZ.D.2024.059"));
  ASSERT_GT(spans.size(), 2u);
  for (size_t i = 1; i < spans.size(); ++i) EXPECT_EQ(spans[i].startUs, spans[i - 1].EndUs()) << i;
  EXPECT_EQ(Samples(spans), 6000);
  // One more than half a sample away is a gap, written as one.
  const ArchiveTrace c = Ramp(10, 0);
  ASSERT_TRUE(days.Write(path, kId, Whole(c, kT0 + 6000 * 1000 + 600)).ok());
  EXPECT_EQ(Spans(dir.Read("XX.SITE.00.GPZ.D.2024.059")).back().startUs, kT0 + 6000 * 1000 + 600);
}

TEST_F(DayFileTest, SamplesTheFileHoldsAreNotWrittenAgain) {
  const ArchiveTrace a = Ramp(3000, 0);
  ASSERT_TRUE(days.Write(path, kId, Whole(a, kT0)).ok());
  const std::string before = dir.Read("XX.SITE.00.GPZ.D.2024.059");
  // The same record again, and one known only from the file (a new run).
  DayFiles again{fs};
  for (DayFiles* d : {&days, &again}) {
    auto out = d->Write(path, kId, Whole(a, kT0 + 200));
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out->written, 0u);
    EXPECT_EQ(out->held, 3000u);
  }
  EXPECT_EQ(dir.Read("XX.SITE.00.GPZ.D.2024.059"), before);
  // A record that half overlaps adds only its new half.
  auto out = again.Write(path, kId, Whole(a, kT0 + 1500 * 1000));
  ASSERT_TRUE(out.ok());
  EXPECT_EQ(out->written, 1500u);
  EXPECT_EQ(Samples(Spans(dir.Read("XX.SITE.00.GPZ.D.2024.059"))), 4500);
}

TEST_F(DayFileTest, ALateRecordIsPutInTimeOrder) {
  const ArchiveTrace a = Ramp(2000, 0), b = Ramp(2000, 1), c = Ramp(2000, 2);
  ASSERT_TRUE(days.Write(path, kId, Whole(a, kT0)).ok());
  ASSERT_TRUE(days.Write(path, kId, Whole(c, kT0 + 4000 * 1000)).ok());
  auto out = days.Write(path, kId, Whole(b, kT0 + 2000 * 1000));
  ASSERT_TRUE(out.ok());
  EXPECT_TRUE(out->inOrder);
  EXPECT_EQ(out->written, 2000u);
  const std::vector<RecordSpan> spans = Spans(dir.Read("XX.SITE.00.GPZ.D.2024.059"));
  for (size_t i = 1; i < spans.size(); ++i) EXPECT_EQ(spans[i].startUs, spans[i - 1].EndUs()) << i;
  EXPECT_EQ(Samples(spans), 6000);
  // Nothing is left beside the day file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST_F(DayFileTest, AFullDiskLeavesOnlyWholeRecordsAndTheNextAppendContinues) {
  const ArchiveTrace a = Ramp(3000, 0), b = Ramp(3000, 9);
  ASSERT_TRUE(days.Write(path, kId, Whole(a, kT0)).ok());
  const std::string before = dir.Read("XX.SITE.00.GPZ.D.2024.059");
  fs.SetPartialWrites(true);
  fs.SetWriteBudget(700);  // one record and a part of the next one fit
  auto out = days.Write(path, kId, Whole(b, kT0 + 3000 * 1000));
  ASSERT_FALSE(out.ok());
  EXPECT_EQ(out.status().code(), Status::Code::kNoSpace);
  EXPECT_EQ(dir.Read("XX.SITE.00.GPZ.D.2024.059"), before);
  fs.ClearWriteBudget();
  ASSERT_TRUE(days.Write(path, kId, Whole(b, kT0 + 3000 * 1000)).ok());
  const std::vector<RecordSpan> spans = Spans(dir.Read("XX.SITE.00.GPZ.D.2024.059"));
  EXPECT_EQ(Samples(spans), 6000);
  for (size_t i = 1; i < spans.size(); ++i) EXPECT_EQ(spans[i].startUs, spans[i - 1].EndUs()) << i;
}

TEST_F(DayFileTest, APartRecordAtTheEndIsCutBackBeforeTheNextAppend) {
  const ArchiveTrace a = Ramp(3000, 0), b = Ramp(3000, 9);
  ASSERT_TRUE(days.Write(path, kId, Whole(a, kT0)).ok());
  const std::string whole = dir.Read("XX.SITE.00.GPZ.D.2024.059");
  dir.Write("XX.SITE.00.GPZ.D.2024.059", whole + whole.substr(0, 300));  // a power cut in an append
  DayFiles afterRestart{fs};
  auto out = afterRestart.Write(path, kId, Whole(b, kT0 + 3000 * 1000));
  ASSERT_TRUE(out.ok()) << out.status().message();
  EXPECT_NE(out->repaired.find("300 bytes"), std::string::npos) << out->repaired;
  const std::string now = dir.Read("XX.SITE.00.GPZ.D.2024.059");
  EXPECT_EQ(now.size() % kMiniSeedRecordBytes, 0u);
  EXPECT_EQ(now.substr(0, whole.size()), whole);
  EXPECT_EQ(Samples(Spans(now)), 6000);
}

}  // namespace
}  // namespace zentrova

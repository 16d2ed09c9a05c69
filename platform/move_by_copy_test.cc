#include "platform/move_by_copy.h"

#include <gtest/gtest.h>

#include "platform/fault_file_system.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

TEST(MoveByCopy, FullDiskLeavesTheSourceWholeAndNoPartialCopy) {
  TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fs(real);
  ASSERT_TRUE(real.CreateFolder(dir.Path("dest")).ok());
  const std::string payload(5 << 20, 'd');
  dir.Write("rec.sg2", payload);
  fs.SetWriteBudget(2 << 20);
  fs.PretendCrossDevice(true);

  Status st = fs.MoveNoReplace(dir.Path("rec.sg2"), dir.Path("dest/rec.sg2"));
  EXPECT_EQ(st.code(), Status::Code::kNoSpace);
  EXPECT_EQ(dir.Read("rec.sg2"), payload);
  EXPECT_FALSE(real.Exists(dir.Path("dest/rec.sg2")));
  EXPECT_FALSE(real.Exists(dir.Path("dest/rec.sg2.partial")));

  fs.ClearWriteBudget();
  ASSERT_TRUE(fs.MoveNoReplace(dir.Path("rec.sg2"), dir.Path("dest/rec.sg2")).ok());
  EXPECT_EQ(dir.Read("dest/rec.sg2"), payload);
  EXPECT_FALSE(real.Exists(dir.Path("rec.sg2")));
}

TEST(MoveByCopy, RefusedLinkKeepsTheSource) {
  TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fs(real);
  dir.Write("rec.sg2", "abc");
  fs.FailMoves(Status::IoError("refused"));
  EXPECT_FALSE(MoveByCopy(fs, dir.Path("rec.sg2"), dir.Path("out.sg2")).ok());
  EXPECT_EQ(dir.Read("rec.sg2"), "abc");
  EXPECT_FALSE(real.Exists(dir.Path("out.sg2")));
  EXPECT_FALSE(real.Exists(dir.Path("out.sg2.partial")));
}

TEST(MoveByCopy, UnreadableSourceMovesNothing) {
  TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fs(real);
  dir.Write("rec.sg2", "abc");
  fs.FailOpenFor("rec.sg2");
  EXPECT_FALSE(MoveByCopy(fs, dir.Path("rec.sg2"), dir.Path("out.sg2")).ok());
  EXPECT_EQ(dir.Read("rec.sg2"), "abc");
  EXPECT_FALSE(real.Exists(dir.Path("out.sg2.partial")));
}

}  // namespace
}  // namespace zentrova

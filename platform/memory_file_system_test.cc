#include "platform/memory_file_system.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(MemoryFileSystem, BehavesLikeAFileSystem) {
  MemoryFileSystem fs;
  ASSERT_TRUE(fs.CreateFolder("/w").ok());
  EXPECT_EQ(fs.CreateFolder("/w/a/b").code(), Status::Code::kNotFound);
  ASSERT_TRUE(WriteWholeFile(fs, "/w/b.sg2", "bb").ok());
  ASSERT_TRUE(AppendToFile(fs, "/w/b.sg2", "c").ok());
  fs.AddFile("/w/a.sg2", "a");
  EXPECT_EQ(*ReadWholeFile(fs, "/w/b.sg2"), "bbc");
  EXPECT_EQ(*fs.ListFolder("/w"), (std::vector<std::string>{".", "..", "a.sg2", "b.sg2"}));
  EXPECT_EQ(fs.MoveNoReplace("/w/a.sg2", "/w/b.sg2").code(), Status::Code::kExists);
  ASSERT_TRUE(fs.MoveNoReplace("/w/a.sg2", "/w/c.sg2").ok());
  EXPECT_FALSE(fs.Exists("/w/a.sg2"));
  EXPECT_EQ(fs.Contents("/w/c.sg2"), "a");
  EXPECT_FALSE(WriteWholeFile(fs, "/none/x", "").ok());
}

}  // namespace
}  // namespace zentrova

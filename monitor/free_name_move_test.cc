// Taken names of the longest length still give a free name that a file
// system accepts, with the extension kept and UTF-8 text never cut apart.

#include <filesystem>

#include <gtest/gtest.h>

#include "monitor/free_name_move.h"
#include "platform/fitting_name.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

TEST(FreeNameMove, ATakenNameOfTheLongestLengthGetsAFittingFreeName) {
  std::string utf8 = "ab";
  while (utf8.size() < 251) utf8 += "\xE2\x82\xAC";  // the euro sign; with ".sg2", 255 bytes
  for (const std::string& name : {std::string(251, 'b') + ".sg2", std::string(255, 'c'), utf8 + ".sg2"}) {
    SCOPED_TRACE(name.size());
    testing::TempFolder dir;
    LinuxFileSystem fs;
    ASSERT_TRUE(fs.CreateFolder(dir.Path("old")).ok());
    dir.Write("old/" + name, "the first");
    dir.Write(name, "the second");
    const Placement p = MoveUnderFreeName(fs, dir.Path(name), dir.Path("old"), name);
    ASSERT_TRUE(p.status.ok()) << p.status.message();
    EXPECT_TRUE(p.renamed);
    const std::string free = std::filesystem::path(p.target).filename().string();
    EXPECT_LE(free.size(), kMaxNameBytes);
    if (name.ends_with(".sg2")) {
      EXPECT_TRUE(free.ends_with("-2.sg2")) << free;
    }
    if (name == utf8 + ".sg2") {
      EXPECT_EQ((free.size() - 8) % 3, 0u) << "a character cut apart";
    }
    EXPECT_EQ(dir.Read("old/" + name), "the first");
    EXPECT_EQ(dir.Read("old/" + free), "the second");
  }
  // Cut only between characters.
  EXPECT_EQ(CutToFit("\xE2\x82\xAC\xE2\x82\xAC", 5), "\xE2\x82\xAC");
  EXPECT_EQ(CutToFit("ab", 5), "ab");
}

}  // namespace
}  // namespace zentrova

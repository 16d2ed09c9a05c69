#include "platform/key_value_store.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/fault_file_system.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

TEST(IniFileStore, ValuesSurviveARoundTrip) {
  TempFolder dir;
  LinuxFileSystem fs;
  IniFileStore store(fs, dir.Path("cfg/Kalvane Applications/Zentrova.ini"), "General");
  const std::string values[] = {"plain", " leading and trailing ", "two\nlines\r\n", "C:\\Data\\x", "a=b=c",
                                "", "tab\there", "\\s literally", " "};
  for (size_t i = 0; i < std::size(values); ++i) {
    ASSERT_TRUE(store.Set("key" + std::to_string(i), values[i]));
  }
  IniFileStore again(fs, store.path(), "General");
  for (size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(again.Get("key" + std::to_string(i)), values[i]);
  EXPECT_EQ(again.Get("missing"), std::nullopt);
  ASSERT_TRUE(store.Set("key0", "changed"));
  EXPECT_EQ(again.Get("key0"), "changed");
  struct stat st;
  ASSERT_EQ(::stat(store.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(IniFileStore, KeepsOtherSectionsAndReadsHandEditedFiles) {
  TempFolder dir;
  dir.Write("z.ini", "; written by hand\r\n[Other]\r\nsMyName=not this one\r\n[General]\r\n  sMyName = SITE1 \r\n"
                     "garbage line\r\n\x01\x02\xff\r\n[Third]\r\nx=1\r\n");
  LinuxFileSystem fs;
  IniFileStore store(fs, dir.Path("z.ini"), "General");
  EXPECT_EQ(store.Get("sMyName"), "SITE1");
  ASSERT_TRUE(store.Set("nMinNoFile", "7"));
  IniFileStore other(fs, dir.Path("z.ini"), "Other");
  EXPECT_EQ(other.Get("sMyName"), "not this one");
  IniFileStore third(fs, dir.Path("z.ini"), "Third");
  EXPECT_EQ(third.Get("x"), "1");
  EXPECT_EQ(store.Get("nMinNoFile"), "7");
  EXPECT_NE(dir.Read("z.ini").find("; written by hand"), std::string::npos);
}

// Files saved by Windows editors: a UTF-8 byte order mark before the first
// section, CR LF line ends, and a last line that ends in a bare CR.
TEST(IniFileStore, ReadsFilesWithAByteOrderMarkAndCarriageReturns) {
  TempFolder dir;
  dir.Write("z.ini", "\xEF\xBB\xBF[General]\r\nsMyName=SITE1\r\nZENTROVA_CURRENT_FOLDER_PATH=/data/in\r");
  LinuxFileSystem fs;
  IniFileStore store(fs, dir.Path("z.ini"), "General");
  EXPECT_EQ(store.Get("sMyName"), "SITE1");
  EXPECT_EQ(store.Get("ZENTROVA_CURRENT_FOLDER_PATH"), "/data/in");
  ASSERT_TRUE(store.Set("nMinNoFile", "7"));
  EXPECT_EQ(store.Get("sMyName"), "SITE1");
  EXPECT_EQ(store.Get("nMinNoFile"), "7");
  const std::string text = dir.Read("z.ini");
  EXPECT_EQ(text.find("[General]"), text.rfind("[General]")) << text;  // no second section
}

TEST(IniFileStore, DamagedOrMissingFilesGiveNothing) {
  TempFolder dir;
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 131) % 256));
  dir.Write("bad.ini", noise);
  LinuxFileSystem fs;
  IniFileStore bad(fs, dir.Path("bad.ini"), "General");
  EXPECT_EQ(bad.Get("sMyName"), std::nullopt);
  EXPECT_TRUE(bad.Set("sMyName", "S"));  // and it can be written again
  EXPECT_EQ(bad.Get("sMyName"), "S");
  IniFileStore missing(fs, dir.Path("none/none.ini"), "General");
  EXPECT_EQ(missing.Get("x"), std::nullopt);
}

TEST(IniFileStore, AFailedWriteLeavesTheOldFile) {
  TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fs(real);
  IniFileStore store(fs, dir.Path("z.ini"), "General");
  ASSERT_TRUE(store.Set("a", "old"));
  const std::string before = dir.Read("z.ini");
  fs.SetWriteBudget(3);
  EXPECT_FALSE(store.Set("a", "new value"));
  EXPECT_EQ(dir.Read("z.ini"), before);
  EXPECT_FALSE(real.Exists(dir.Path("z.ini.tmp")));
  EXPECT_EQ(store.Get("a"), "old");
}

TEST(IniFileStore, KilledWhileWritingLeavesTheOldOrTheNewFile) {
  TempFolder dir;
  LinuxFileSystem fs;
  const std::string path = dir.Path("z.ini");
  const std::string big(20000, 'v');
  for (int round = 0; round < 20; ++round) {
    IniFileStore(fs, path, "General").Set("value", "start");
    pid_t pid = ::fork();
    if (pid == 0) {
      IniFileStore store(fs, path, "General");
      for (int i = 0;; ++i) store.Set("value", big + std::to_string(i % 10));
    }
    ::usleep(static_cast<useconds_t>(2000 + 1500 * round));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    auto value = IniFileStore(fs, path, "General").Get("value");
    ASSERT_TRUE(value.has_value()) << "round " << round;
    EXPECT_TRUE(*value == "start" || (value->size() == big.size() + 1 && value->compare(0, big.size(), big) == 0))
        << "round " << round << ": " << value->size();
  }
}

TEST(IniFileStore, TwoFoldersDoNotInterfere) {
  TempFolder a, b;
  LinuxFileSystem fs;
  IniFileStore one(fs, a.Path("Zentrova.ini"), "General");
  IniFileStore two(fs, b.Path("Zentrova.ini"), "General");
  one.Set("sMyName", "A");
  two.Set("sMyName", "B");
  EXPECT_EQ(one.Get("sMyName"), "A");
  EXPECT_EQ(two.Get("sMyName"), "B");
}

}  // namespace
}  // namespace zentrova

#include "platform/key_value_store.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "platform/fault_file_system.h"
#include "platform/forwarding_file_system.h"
#include "platform/linux_file_system.h"
#include "testing/counting_file_system.h"
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
  auto names = real.ListFolder(dir.path());
  ASSERT_TRUE(names.ok());
  EXPECT_EQ(*names, (std::vector<std::string>{".", "..", "z.ini"}));  // no part-written version left
  EXPECT_EQ(store.Get("a"), "old");
}

// Reads of the settings file fail while `failing` is set, as with too many
// open files or an I/O error.
class UnreadableFiles : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  StatusOr<std::unique_ptr<RandomAccessFile>> OpenForRead(const std::string& p) override {
    if (failing) return Status::IoError("cannot open " + p + ": " + failing);
    return ForwardingFileSystem::OpenForRead(p);
  }
  const char* failing = nullptr;
};

TEST(IniFileStore, AFileThatCannotBeReadIsNeverReplaced) {
  TempFolder dir;
  const std::string kept = "[Kalvane Applications]\nSMTPServer=mail.example.org\niPortNumber=465\n"
                           "SMTPPassword=secret\n";
  dir.Write("product.ini", kept);
  LinuxFileSystem real;
  UnreadableFiles fs(real);
  IniFileStore store(fs, dir.Path("product.ini"), "Kalvane Applications");
  std::vector<std::string> told;
  store.SetNotice([&told](const std::string& line) { told.push_back(line); });
  EXPECT_EQ(store.Get("SMTPServer"), "mail.example.org");

  for (const char* reason : {"Too many open files", "Input/output error", "Permission denied"}) {
    SCOPED_TRACE(reason);
    fs.failing = reason;
    EXPECT_FALSE(store.Set("MessageToBeSent", "Report from Zentrova."));
    EXPECT_FALSE(store.Set("stMessaggeTitle", reason));
    EXPECT_EQ(dir.Read("product.ini"), kept);
    // The new values live on in memory, the others as last read.
    EXPECT_EQ(store.Get("stMessaggeTitle"), reason);
    EXPECT_EQ(store.Get("SMTPServer"), "mail.example.org");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("product.ini could not be read"), std::string::npos) << told[0];
    EXPECT_NE(told[0].find(reason), std::string::npos) << told[0];

    // Readable again: the held values reach the file with the next write.
    fs.failing = nullptr;
    EXPECT_TRUE(store.Set("iReportInterval", "60"));
    ASSERT_EQ(told.size(), 2u);
    EXPECT_NE(told[1].find("could be read again"), std::string::npos) << told[1];
    told.clear();
    IniFileStore again(real, dir.Path("product.ini"), "Kalvane Applications");
    EXPECT_EQ(again.Get("SMTPPassword"), "secret");
    EXPECT_EQ(again.Get("iPortNumber"), "465");
    EXPECT_EQ(again.Get("MessageToBeSent"), "Report from Zentrova.");
    EXPECT_EQ(again.Get("stMessaggeTitle"), reason);
    EXPECT_EQ(again.Get("iReportInterval"), "60");
    dir.Write("product.ini", kept);
  }
}

// The file reads again, but nothing more is set before the station ends:
// what it held is not lost with it.
TEST(IniFileStore, HeldValuesReachTheFileWhenTheStoreEnds) {
  TempFolder dir;
  dir.Write("Zentrova.ini", "[General]\nsMyName=SITE1\n");
  LinuxFileSystem real;
  UnreadableFiles fs(real);
  {
    IniFileStore store(fs, dir.Path("Zentrova.ini"), "General");
    fs.failing = "Input/output error";
    EXPECT_FALSE(store.Set("iCurrentDrive", "2"));
    fs.failing = nullptr;
    dir.Write("Zentrova.ini", "[General]\nsMyName=SITE2\n");  // edited meanwhile by someone else
  }
  EXPECT_EQ(dir.Read("Zentrova.ini"), "[General]\nsMyName=SITE2\niCurrentDrive=2\n");
  {
    // Still unreadable at the end: the file is left as it is.
    IniFileStore store(fs, dir.Path("Zentrova.ini"), "General");
    fs.failing = "Input/output error";
    EXPECT_FALSE(store.Set("iCurrentDrive", "3"));
  }
  fs.failing = nullptr;
  EXPECT_EQ(dir.Read("Zentrova.ini"), "[General]\nsMyName=SITE2\niCurrentDrive=2\n");
}

TEST(IniFileStore, LinesFromBeforeTheNoticeAreHandedOn) {
  TempFolder dir;
  dir.Write("z.ini", "[General]\na=1\n");
  LinuxFileSystem real;
  UnreadableFiles fs(real);
  fs.failing = "Input/output error";
  IniFileStore store(fs, dir.Path("z.ini"), "General");
  EXPECT_FALSE(store.Set("b", "2"));
  std::vector<std::string> told;
  store.SetNotice([&told](const std::string& line) { told.push_back(line); });
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("Input/output error"), std::string::npos);
  EXPECT_EQ(dir.Read("z.ini"), "[General]\na=1\n");
}

// Far too large to be a settings file (here a sparse file of 200 GB):
// neither read whole nor replaced.
TEST(IniFileStore, AHugeFileIsNeitherReadNorReplaced) {
  TempFolder dir;
  dir.Write("Zentrova.ini", "[General]\nsMyName=SITE1\n");
  ASSERT_EQ(::truncate(dir.Path("Zentrova.ini").c_str(), 200ll << 30), 0);
  LinuxFileSystem fs;
  IniFileStore store(fs, dir.Path("Zentrova.ini"), "General");
  std::vector<std::string> told;
  store.SetNotice([&told](const std::string& line) { told.push_back(line); });
  EXPECT_EQ(store.Get("sMyName"), std::nullopt);
  EXPECT_FALSE(store.Set("bCheckBattery", "1"));
  EXPECT_EQ(store.Get("bCheckBattery"), "1");
  auto size = fs.FileSize(dir.Path("Zentrova.ini"));
  ASSERT_TRUE(size.ok());
  EXPECT_EQ(*size, 200ull << 30);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("more than the 1048576 of a settings file"), std::string::npos) << told[0];
}

// A station running as another user than the one who owns its settings
// file: the file cannot be read (EACCES), but its folder can be written,
// so a rewrite would succeed and replace it.
TEST(IniFileStore, AnotherUsersFileIsNotReplaced) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a child as user nobody";
  const passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  TempFolder dir;
  const std::string kept = "[Kalvane Applications]\nSMTPServer=mail.example.org\n";
  dir.Write("product.ini", kept);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod(dir.Path("product.ini").c_str(), 0600), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(3);
    LinuxFileSystem fs;
    IniFileStore store(fs, dir.Path("product.ini"), "Kalvane Applications");
    const bool stored = store.Set("MessageToBeSent", "Report from Zentrova.");
    ::_exit(stored ? 1 : store.Get("MessageToBeSent") == "Report from Zentrova." ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(dir.Read("product.ini"), kept);
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

// Another process writes the same settings file while this one is writing
// its new version (two stations on one configuration folder).
class WriterMeetsAnother : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  StatusOr<std::unique_ptr<WritableFile>> OpenForWrite(const std::string& p) override {
    auto file = ForwardingFileSystem::OpenForWrite(p);
    if (other) std::exchange(other, nullptr)();
    return file;
  }
  std::function<void()> other;
};

TEST(IniFileStore, TwoWritersAtOnceLeaveAWholeFile) {
  TempFolder dir;
  dir.Write("Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=/home/op/Data\nsMyName=SITE1\n");
  LinuxFileSystem real;
  WriterMeetsAnother fs(real);
  IniFileStore mine(fs, dir.Path("Zentrova.ini"), "General");
  IniFileStore theirs(real, dir.Path("Zentrova.ini"), "General");
  bool theirsStored = false;
  fs.other = [&] { theirsStored = theirs.Set("iCurrentDrive", "2"); };
  EXPECT_TRUE(mine.Set("bCheckBattery", "1"));
  EXPECT_TRUE(theirsStored);
  // The later rename wins whole: this writer's version, read before the
  // other's write.
  EXPECT_EQ(dir.Read("Zentrova.ini"),
            "[General]\nZENTROVA_CURRENT_FOLDER_PATH=/home/op/Data\nsMyName=SITE1\nbCheckBattery=1\n");
  auto names = real.ListFolder(dir.path());
  ASSERT_TRUE(names.ok());
  EXPECT_EQ(*names, (std::vector<std::string>{".", "..", "Zentrova.ini"}));
}

// Settings stored again as they stand leave the file alone, and values
// stored together are written together.
TEST(IniFileStore, WritesOnlyWhatChangesAndABatchOnce) {
  TempFolder dir;
  LinuxFileSystem real;
  testing::CountingFileSystem fs(real);
  IniFileStore store(fs, dir.Path("Zentrova.ini"), "General");
  const std::string& path = store.path();
  ASSERT_TRUE(store.Set("bPickMaximumAmplitude", "1"));
  EXPECT_EQ(fs.Replaced(path), 1);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(store.Set("bPickMaximumAmplitude", "1"));
  EXPECT_EQ(fs.Replaced(path), 1);
  KeyValueStore::Entries batch;
  for (int i = 0; i < 17; ++i) batch.emplace_back("fWavelength_" + std::to_string(i), std::to_string(i));
  ASSERT_TRUE(store.SetAll(batch));
  EXPECT_EQ(fs.Replaced(path), 2);
  ASSERT_TRUE(store.SetAll(batch));
  EXPECT_EQ(fs.Replaced(path), 2);
  batch[16].second = "changed";
  ASSERT_TRUE(store.SetAll(batch));
  EXPECT_EQ(fs.Replaced(path), 3);
  IniFileStore again(real, path, "General");
  EXPECT_EQ(again.Get("fWavelength_16"), "changed");
  EXPECT_EQ(again.Get("fWavelength_3"), "3");
  EXPECT_EQ(again.Get("bPickMaximumAmplitude"), "1");
  // Another program's edit is not undone by a value stored as it was.
  dir.Write("Zentrova.ini", "[General]\nbPickMaximumAmplitude=0\n");
  ASSERT_TRUE(store.Set("bPickMaximumAmplitude", "1"));
  EXPECT_EQ(again.Get("bPickMaximumAmplitude"), "1");
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

#include "platform/linux_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/fault_file_system.h"
#include "platform/linux_writer_probe.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

TEST(LinuxFileSystem, ReadsWholeFilesAndAtOffsets) {
  TempFolder dir;
  dir.Write("a.bin", "0123456789");
  LinuxFileSystem fs;
  auto whole = ReadWholeFile(fs, dir.Path("a.bin"));
  ASSERT_TRUE(whole.ok());
  EXPECT_EQ(*whole, "0123456789");

  auto file = fs.OpenForRead(dir.Path("a.bin"));
  ASSERT_TRUE(file.ok());
  EXPECT_EQ((*file)->Size(), 10u);
  char buf[8];
  auto n = (*file)->ReadAt(7, sizeof buf, buf);
  ASSERT_TRUE(n.ok());
  EXPECT_EQ(std::string(buf, *n), "789");
  EXPECT_FALSE(ReadExactly(**file, 8, 4, buf).ok());

  auto missing = fs.OpenForRead(dir.Path("none"));
  EXPECT_EQ(missing.status().code(), Status::Code::kNotFound);
  EXPECT_NE(missing.status().message().find("none"), std::string::npos);
}

TEST(LinuxFileSystem, WritesTruncatesAndAppends) {
  TempFolder dir;
  LinuxFileSystem fs;
  const std::string p = dir.Path("log.txt");
  ASSERT_TRUE(WriteWholeFile(fs, p, "first line\r\n").ok());
  ASSERT_TRUE(AppendToFile(fs, p, "second\r\n").ok());
  EXPECT_EQ(dir.Read("log.txt"), "first line\r\nsecond\r\n");
  ASSERT_TRUE(WriteWholeFile(fs, p, "x").ok());
  EXPECT_EQ(dir.Read("log.txt"), "x");
  EXPECT_EQ(*fs.FileSize(p), 1u);
}

// A failed append that a full disk cut short is cut back, and the next
// append goes to the new end: on the real file system, and through the
// fault-injecting one that writes what fits before it says the disk is full.
TEST(LinuxFileSystem, AnAppendCutShortIsCutBackAndTheNextOneContinues) {
  TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fault(real);
  fault.SetPartialWrites(true);
  const std::string p = dir.Path("day");
  ASSERT_TRUE(WriteWholeFile(real, p, "whole").ok());
  auto file = fault.OpenForAppend(p);
  ASSERT_TRUE(file.ok());
  fault.SetWriteBudget(3);
  EXPECT_EQ((*file)->Append("-part-").code(), Status::Code::kNoSpace);
  EXPECT_EQ(dir.Read("day"), "whole-pa");
  ASSERT_TRUE((*file)->Truncate(5).ok());
  fault.ClearWriteBudget();
  ASSERT_TRUE((*file)->Append("+next").ok());
  ASSERT_TRUE((*file)->Close().ok());
  EXPECT_EQ(dir.Read("day"), "whole+next");
}

TEST(LinuxFileSystem, ListsFoldersSortedWithDotEntries) {
  TempFolder dir;
  dir.Write("b.sg2", "");
  dir.Write("B.dat", "");
  dir.Write("a.sg2", "");
  LinuxFileSystem fs;
  ASSERT_TRUE(fs.CreateFolder(dir.Path("2015")).ok());
  auto names = fs.ListFolder(dir.path());
  ASSERT_TRUE(names.ok());
  EXPECT_EQ(*names, (std::vector<std::string>{".", "..", "2015", "B.dat", "a.sg2", "b.sg2"}));
  EXPECT_TRUE(fs.IsDirectory(dir.Path("2015")));
  EXPECT_FALSE(fs.IsDirectory(dir.Path("a.sg2")));
}

TEST(LinuxFileSystem, CreatesOneFolderLevelOnly) {
  TempFolder dir;
  LinuxFileSystem fs;
  EXPECT_EQ(fs.CreateFolder(dir.Path("x/y")).code(), Status::Code::kNotFound);
  EXPECT_TRUE(fs.CreateFolder(dir.Path("x")).ok());
  EXPECT_EQ(fs.CreateFolder(dir.Path("x")).code(), Status::Code::kExists);
  EXPECT_TRUE(fs.CreateFolder(dir.Path("x/y")).ok());
}

TEST(LinuxFileSystem, MoveNeverReplacesAnExistingFile) {
  TempFolder dir;
  dir.Write("new.sg2", "new");
  dir.Write("old.sg2", "old");
  LinuxFileSystem fs;
  Status st = fs.MoveNoReplace(dir.Path("new.sg2"), dir.Path("old.sg2"));
  EXPECT_EQ(st.code(), Status::Code::kExists);
  EXPECT_EQ(dir.Read("old.sg2"), "old");
  EXPECT_EQ(dir.Read("new.sg2"), "new");
  ASSERT_TRUE(fs.MoveNoReplace(dir.Path("new.sg2"), dir.Path("moved.sg2")).ok());
  EXPECT_FALSE(fs.Exists(dir.Path("new.sg2")));
  EXPECT_EQ(dir.Read("moved.sg2"), "new");
}

TEST(LinuxFileSystem, MovesAcrossFileSystemsByCopying) {
  TempFolder src;  // on the disk
  struct stat a, b;
  if (::stat("/dev/shm", &b) != 0 || ::stat(src.path().c_str(), &a) != 0 || a.st_dev == b.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  TempFolder dst("/dev/shm");
  std::string payload(3 << 20, 'r');
  payload[12345] = 'x';
  src.Write("rec.sg2", payload);
  LinuxFileSystem fs;
  ASSERT_TRUE(fs.MoveNoReplace(src.Path("rec.sg2"), dst.Path("rec.sg2")).ok());
  EXPECT_FALSE(fs.Exists(src.Path("rec.sg2")));
  EXPECT_EQ(dst.Read("rec.sg2"), payload);
  EXPECT_FALSE(fs.Exists(dst.Path("rec.sg2.partial")));

  src.Write("again.sg2", "a");
  dst.Write("again.sg2", "b");
  EXPECT_EQ(fs.MoveNoReplace(src.Path("again.sg2"), dst.Path("again.sg2")).code(), Status::Code::kExists);
  EXPECT_EQ(src.Read("again.sg2"), "a");
  EXPECT_EQ(dst.Read("again.sg2"), "b");
}

// A second process opens the file for writing and keeps it until told to go.
class WriterProcess {
 public:
  explicit WriterProcess(const std::string& path) {
    int ready[2], go[2];
    if (::pipe(ready) != 0 || ::pipe(go) != 0) std::abort();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(go[1]);
      ::close(ready[0]);
      int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
      char c = fd >= 0 ? 'y' : 'n';
      if (::write(ready[1], &c, 1) != 1) ::_exit(2);
      if (::read(go[0], &c, 1) < 0) ::_exit(3);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(go[0]);
    char c = 0;
    if (::read(ready[0], &c, 1) != 1 || c != 'y') std::abort();
    ::close(ready[0]);
    go_ = go[1];
  }
  void Finish() {
    if (go_ < 0) return;
    ::close(go_);
    go_ = -1;
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  ~WriterProcess() { Finish(); }

 private:
  pid_t pid_ = -1;
  int go_ = -1;
};

TEST(LinuxFileSystem, FileHeldByAnotherWriterIsBusyUntilClosed) {
  TempFolder dir;
  dir.Write("1234.sg2", "partial");
  LinuxFileSystem fs;
  EXPECT_FALSE(fs.IsHeldByWriter(dir.Path("1234.sg2")));
  WriterProcess writer(dir.Path("1234.sg2"));
  EXPECT_TRUE(fs.IsHeldByWriter(dir.Path("1234.sg2")));
  EXPECT_EQ(SearchProcForWriters(dir.Path("1234.sg2")), WriterUse::kWriting);
  writer.Finish();
  EXPECT_FALSE(fs.IsHeldByWriter(dir.Path("1234.sg2")));
  EXPECT_NE(SearchProcForWriters(dir.Path("1234.sg2")), WriterUse::kWriting);
}

TEST(LinuxFileSystem, OurOwnReadersDoNotHoldAFile) {
  TempFolder dir;
  dir.Write("r.sg2", "data");
  LinuxFileSystem fs;
  auto open = fs.OpenForRead(dir.Path("r.sg2"));
  ASSERT_TRUE(open.ok());
  EXPECT_FALSE(fs.IsHeldByWriter(dir.Path("r.sg2")));
}

}  // namespace
}  // namespace zentrova

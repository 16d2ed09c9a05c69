// Entries that are not regular files: looked at without being opened, and
// never read through; and the writer test where another user writes.

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "platform/linux_writer_probe.h"
#include "testing/planted_entry.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

// A folder with one entry of every kind the watched folder may hold.
struct Zoo {
  Zoo() {
    dir.Write("private.txt", "secret");
    ::chmod(dir.Path("private.txt").c_str(), 0600);
    dir.Write("plain.sg2", "record");
    ::mkfifo(dir.Path("77.sg2").c_str(), 0644);
    std::filesystem::create_directory(dir.Path("sub"));
    std::filesystem::create_symlink(dir.Path("private.txt"), dir.Path("9.sg2"));
    std::filesystem::create_symlink(dir.Path("sub"), dir.Path("folder.sg2"));
    std::filesystem::create_symlink(dir.Path("none"), dir.Path("dangling.sg2"));
    std::filesystem::create_symlink(dir.Path("77.sg2"), dir.Path("tofifo.sg2"));
    sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr = {};
    addr.sun_family = AF_UNIX;
    const std::string path = dir.Path("s.sg2");
    if (path.size() < sizeof addr.sun_path) {
      std::copy(path.begin(), path.end(), addr.sun_path);
      ::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    }
  }
  ~Zoo() { ::close(sock); }
  TempFolder dir;
  int sock = -1;
};

TEST(EntryInspection, TellsEachKindWithoutFollowingLinks) {
  Zoo zoo;
  LinuxFileSystem fs;
  const std::vector<std::pair<std::string, EntryType>> cases = {
      {"plain.sg2", EntryType::kRegular}, {"77.sg2", EntryType::kFifo},       {"sub", EntryType::kFolder},
      {"9.sg2", EntryType::kLink},        {"folder.sg2", EntryType::kLink},   {"dangling.sg2", EntryType::kLink},
      {"tofifo.sg2", EntryType::kLink},   {"s.sg2", EntryType::kSocket}};
  for (const auto& [name, type] : cases) {
    auto info = fs.Inspect(zoo.dir.Path(name));
    ASSERT_TRUE(info.ok()) << name;
    EXPECT_EQ(info->type, type) << name;
  }
  EXPECT_EQ(fs.Inspect(zoo.dir.Path("gone.sg2")).status().code(), Status::Code::kNotFound);
  auto devnull = fs.Inspect("/dev/null");
  ASSERT_TRUE(devnull.ok());
  EXPECT_EQ(devnull->type, EntryType::kDevice);
}

TEST(EntryInspection, NothingButRegularFilesIsOpenedAndNothingBlocks) {
  Zoo zoo;
  LinuxFileSystem fs;
  // Opening a FIFO for reading would wait for a writer for ever.
  for (const char* name : {"77.sg2", "tofifo.sg2", "s.sg2"}) {
    EXPECT_FALSE(fs.OpenForRead(zoo.dir.Path(name)).ok()) << name;
    EXPECT_FALSE(ReadWholeFile(fs, zoo.dir.Path(name)).ok()) << name;
  }
  EXPECT_FALSE(fs.OpenForRead("/dev/zero").ok());
  for (const char* name : {"77.sg2", "9.sg2", "tofifo.sg2", "dangling.sg2", "folder.sg2", "s.sg2", "sub"}) {
    EXPECT_FALSE(fs.OpenEntryForRead(zoo.dir.Path(name)).ok()) << name;
    EXPECT_TRUE(fs.IsHeldByWriter(zoo.dir.Path(name))) << name;  // never taken
  }
  EXPECT_TRUE(fs.OpenEntryForRead(zoo.dir.Path("plain.sg2")).ok());
  EXPECT_TRUE(fs.OpenForRead(zoo.dir.Path("9.sg2")).ok());  // the station's own files may be links
}

TEST(EntryInspection, NewFilesGetNoWiderModeThanAsked) {
  TempFolder dir;
  LinuxFileSystem fs;
  for (int mode : {0600, 0640, 0644}) {
    const std::string path = dir.Path("f" + std::to_string(mode));
    auto file = fs.CreateNewFile(path, mode);
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE((*file)->Close().ok());
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777 & ~static_cast<unsigned>(mode), 0u) << std::oct << st.st_mode;
    EXPECT_EQ(fs.CreateNewFile(path, mode).status().code(), Status::Code::kExists);
  }
  std::filesystem::create_symlink(dir.Path("nowhere"), dir.Path("link"));
  EXPECT_FALSE(fs.CreateNewFile(dir.Path("link"), 0600).ok());
  EXPECT_FALSE(std::filesystem::exists(dir.Path("nowhere")));
}

// A link or FIFO left at the name of a file the station writes: none of
// the ways to write follows the link or waits on the FIFO, and none of them
// writes into it.
TEST(EntryInspection, NoWriteFollowsALinkOrWaitsOnAFifo) {
  TempFolder dir;
  LinuxFileSystem fs;
  const std::vector<std::pair<const char*, std::function<bool(const std::string&)>>> writers = {
      {"OpenForWrite", [&](const std::string& p) { return fs.OpenForWrite(p).ok(); }},
      {"OpenForAppend", [&](const std::string& p) { return fs.OpenForAppend(p).ok(); }},
      {"OpenForUpdate", [&](const std::string& p) { return fs.OpenForUpdate(p).ok(); }},
      {"WriteWholeFile", [&](const std::string& p) { return WriteWholeFile(fs, p, "new").ok(); }},
      {"AppendToFile", [&](const std::string& p) { return AppendToFile(fs, p, "line\r\n").ok(); }}};
  for (const auto& [name, write] : writers) {
    for (testing::Planted kind : testing::kPlantedKinds) {
      const std::string path = dir.Path("log.txt");
      testing::PlantedEntry planted(path, kind);
      bool written = true;
      EXPECT_TRUE(planted.ReturnsPromptly([&] { written = write(path); })) << name << " on " << PlantedName(kind);
      EXPECT_FALSE(written) << name << " on " << PlantedName(kind);
      EXPECT_TRUE(planted.Untouched()) << name << " on " << PlantedName(kind);
      EXPECT_EQ(planted.ReadFromFifo(), "") << name << " on " << PlantedName(kind);
    }
  }
  // A regular file is still written, emptied and appended to as before.
  dir.Write("plain.txt", "old text");
  ASSERT_TRUE(WriteWholeFile(fs, dir.Path("plain.txt"), "new").ok());
  ASSERT_TRUE(AppendToFile(fs, dir.Path("plain.txt"), "+").ok());
  EXPECT_EQ(dir.Read("plain.txt"), "new+");
  EXPECT_FALSE(WriteWholeFile(fs, "/dev/null", "x").ok());
}

// Runs `probe` in a child process as user nobody; its exit code is the result.
int AsNobody(const std::function<int()>& probe) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
    ::_exit(probe());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(EntryInspection, AWriterOfAnotherUserIsNeverTakenForNone) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the test as a second user (nobody)";
  TempFolder dir;
  ::chmod(dir.path().c_str(), 0755);
  const std::string path = dir.Path("1234.sg2");
  dir.Write("1234.sg2", "the first part of a record");
  LinuxFileSystem fs;
  auto held = [&] { return fs.IsHeldByWriter(path) ? 1 : 0; };
  {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);  // root keeps writing
    ASSERT_GE(fd, 0);
    EXPECT_EQ(AsNobody(held), 1);
    ::close(fd);
  }
  EXPECT_EQ(AsNobody(held), 1);  // closed, but changed a moment ago: nobody cannot tell yet
  const struct timespec old[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
  EXPECT_EQ(AsNobody(held), 0);  // still for a minute: complete
  EXPECT_FALSE(fs.IsHeldByWriter(path));  // the owner's lease says so at once
}

TEST(EntryInspection, OpeningAFileDuringTheWriterTestDoesNotEndTheProcess) {
  TempFolder dir;
  dir.Write("notes.txt", "x");
  const std::string path = dir.Path("notes.txt");
  const pid_t opener = ::fork();
  if (opener == 0) {
    for (;;) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
      if (fd >= 0) ::close(fd);
    }
  }
  LinuxFileSystem fs;
  for (int i = 0; i < 20000; ++i) fs.IsHeldByWriter(path);
  ::kill(opener, SIGKILL);
  ::waitpid(opener, nullptr, 0);
  SUCCEED() << "still here after the lease breaks";
}

}  // namespace
}  // namespace zentrova

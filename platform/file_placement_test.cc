// Copies across file systems: placed without replacing where hard links are
// refused (FAT, exFAT), never wider in mode than the source, never of a
// source that changed meanwhile, never through a link.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/fault_file_system.h"
#include "platform/linux_file_system.h"
#include "platform/move_by_copy.h"
#include "testing/child_process.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

int ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

struct Refusal {
  const char* name;
  bool links;
  bool noReplaceRenames;
};

TEST(FilePlacement, WithoutHardLinksTheCopyIsPlacedWithoutReplacing) {
  for (const Refusal& r : {Refusal{"links refused", true, false}, Refusal{"links and no-replace renames refused", true, true}}) {
    SCOPED_TRACE(r.name);
    TempFolder dir;
    LinuxFileSystem real;
    FaultFileSystem fs(real);
    fs.PretendCrossDevice(true);
    fs.RefuseLinks(r.links);
    fs.RefuseNoReplaceRenames(r.noReplaceRenames);
    ASSERT_TRUE(real.CreateFolder(dir.Path("stick")).ok());
    dir.Write("1.sg2", "record one");
    ASSERT_TRUE(fs.MoveNoReplace(dir.Path("1.sg2"), dir.Path("stick/1.dat")).ok());
    EXPECT_EQ(dir.Read("stick/1.dat"), "record one");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("1.sg2")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("stick/1.dat.partial")));

    dir.Write("2.sg2", "record two");
    EXPECT_EQ(fs.MoveNoReplace(dir.Path("2.sg2"), dir.Path("stick/1.dat")).code(), Status::Code::kExists);
    EXPECT_EQ(dir.Read("stick/1.dat"), "record one");
    EXPECT_EQ(dir.Read("2.sg2"), "record two");
    EXPECT_EQ(PlaceWithoutReplacing(fs, dir.Path("2.sg2"), dir.Path("stick/1.dat")).code(), Status::Code::kExists);
    EXPECT_EQ(dir.Read("stick/1.dat"), "record one");
    EXPECT_EQ(dir.Read("2.sg2"), "record two");
  }
}

TEST(FilePlacement, ASourceThatChangesAfterItsCopyStaysWhereItIs) {
  TempFolder dir;
  LinuxFileSystem real;
  FaultFileSystem fs(real);
  fs.PretendCrossDevice(true);
  ASSERT_TRUE(real.CreateFolder(dir.Path("dest")).ok());
  dir.Write("1.sg2", "the first half");
  // The writer adds its next chunk after the copy was made.
  fs.BeforeNextPlacement([&] {
    ASSERT_TRUE(AppendToFile(real, dir.Path("1.sg2"), " and the second half").ok());
  });
  EXPECT_FALSE(fs.MoveNoReplace(dir.Path("1.sg2"), dir.Path("dest/1.dat")).ok());
  EXPECT_EQ(dir.Read("1.sg2"), "the first half and the second half");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("dest/1.dat")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("dest/1.dat.partial")));
  ASSERT_TRUE(fs.MoveNoReplace(dir.Path("1.sg2"), dir.Path("dest/1.dat")).ok());  // whole and still now
  EXPECT_EQ(dir.Read("dest/1.dat"), "the first half and the second half");
}

// The destination on another file system (/dev/shm is tmpfs).
class AcrossFileSystems : public ::testing::Test {
 protected:
  void SetUp() override {
    struct stat a, b;
    if (::stat("/dev/shm", &b) != 0 || ::stat(src.path().c_str(), &a) != 0 || a.st_dev == b.st_dev) {
      GTEST_SKIP() << "no second file system at /dev/shm";
    }
    dst = std::make_unique<TempFolder>("/dev/shm");
  }
  TempFolder src;
  std::unique_ptr<TempFolder> dst;
  LinuxFileSystem fs;
};

TEST_F(AcrossFileSystems, TheCopyKeepsTheSourcesMode) {
  const mode_t old = ::umask(022);
  for (int mode : {0600, 0640, 0644}) {
    const std::string name = "r" + std::to_string(mode) + ".sg2";
    src.Write(name, "record");
    ASSERT_EQ(::chmod(src.Path(name).c_str(), static_cast<mode_t>(mode)), 0);
    ASSERT_TRUE(fs.MoveNoReplace(src.Path(name), dst->Path(name)).ok());
    EXPECT_EQ(ModeOf(dst->Path(name)), mode) << name;
  }
  ::umask(old);
}

TEST_F(AcrossFileSystems, ALinkOrAFifoIsNeverCopied) {
  src.Write("private.txt", "secret");
  ::chmod(src.Path("private.txt").c_str(), 0600);
  std::filesystem::create_symlink(src.Path("private.txt"), src.Path("9.sg2"));
  std::filesystem::create_symlink(src.Path("none"), src.Path("dangling.sg2"));
  ::mkfifo(src.Path("77.sg2").c_str(), 0644);
  for (const char* name : {"9.sg2", "dangling.sg2", "77.sg2"}) {
    EXPECT_FALSE(fs.MoveNoReplace(src.Path(name), dst->Path(name)).ok()) << name;
    EXPECT_FALSE(MoveByCopy(fs, src.Path(name), dst->Path(name)).ok()) << name;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dst->Path(name)))) << name;
  }
  EXPECT_EQ(src.Read("private.txt"), "secret");
}

// A FAT file system through FUSE (fusefat on an image made by mkfs.vfat):
// no hard links, no rename that refuses to replace.
class FatThroughFuse : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a FUSE file system";
    if (::access("/dev/fuse", R_OK | W_OK) != 0) GTEST_SKIP() << "no /dev/fuse";
    const auto mkfs = testing::RunProcess({"/usr/sbin/mkfs.vfat", "-C", dir.Path("fat.img"), "8192"});
    if (mkfs.exitCode != 0) GTEST_SKIP() << "mkfs.vfat (dosfstools) is missing or failed: " << mkfs.err;
    std::filesystem::create_directory(dir.Path("stick"));
    if (::access("/usr/bin/fusefat", X_OK) != 0) GTEST_SKIP() << "fusefat is not installed";
    fuse = std::make_unique<testing::BackgroundProcess>(
        std::vector<std::string>{"/usr/bin/fusefat", "-f", "-o", "rw+", dir.Path("fat.img"), dir.Path("stick")},
        dir.Path("fusefat.out"));
    for (int i = 0; i < 100 && !mounted; ++i) {
      struct stat a, b;
      mounted = ::stat(dir.path().c_str(), &a) == 0 && ::stat(dir.Path("stick").c_str(), &b) == 0 &&
                a.st_dev != b.st_dev;
      if (!mounted) ::usleep(50000);
    }
    if (!mounted) GTEST_SKIP() << "cannot mount a FAT image with fusefat: " << dir.Read("fusefat.out");
  }
  void TearDown() override {
    if (mounted && testing::RunProcess({"/usr/bin/fusermount", "-u", dir.Path("stick")}).exitCode != 0) {
      testing::RunProcess({"/usr/bin/fusermount", "-u", "-z", dir.Path("stick")});
    }
    if (mounted && fuse) fuse->Wait();
  }
  TempFolder dir;
  std::unique_ptr<testing::BackgroundProcess> fuse;
  bool mounted = false;
  LinuxFileSystem fs;
};

TEST_F(FatThroughFuse, RecordsAreFiledOntoItWithoutReplacing) {
  std::string payload(300000, 'r');
  payload[1234] = 'x';
  dir.Write("1.sg2", payload);
  ASSERT_TRUE(fs.MoveNoReplace(dir.Path("1.sg2"), dir.Path("stick/1.dat")).ok());
  EXPECT_EQ(dir.Read("stick/1.dat"), payload);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("1.sg2")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("stick/1.dat.partial")));
  dir.Write("2.sg2", "another");
  EXPECT_EQ(fs.MoveNoReplace(dir.Path("2.sg2"), dir.Path("stick/1.dat")).code(), Status::Code::kExists);
  EXPECT_EQ(dir.Read("stick/1.dat"), payload);
  EXPECT_EQ(dir.Read("2.sg2"), "another");
  // Within the stick itself, too.
  ASSERT_TRUE(fs.MoveNoReplace(dir.Path("stick/1.dat"), dir.Path("stick/3.dat")).ok());
  EXPECT_EQ(dir.Read("stick/3.dat"), payload);
}

// Names as long as a file system allows, of bytes and of UTF-8 text: the
// copy under way must still have a name the file system accepts.
TEST(FilePlacement, ACopyOfARecordWithTheLongestNameIsPlaced) {
  std::string utf8;
  while (utf8.size() < 250) utf8 += "\xC3\xA9";  // e acute, two bytes
  for (const std::string& name : {std::string(247, 'a') + ".sg2", std::string(251, 'b') + ".sg2", utf8 + ".sg2"}) {
    SCOPED_TRACE(name.size());
    TempFolder dir;
    LinuxFileSystem real;
    FaultFileSystem fs(real);
    fs.PretendCrossDevice(true);
    ASSERT_TRUE(real.CreateFolder(dir.Path("old")).ok());
    dir.Write(name, "a record");
    const Status st = fs.MoveNoReplace(dir.Path(name), dir.Path("old/" + name));
    ASSERT_TRUE(st.ok()) << st.message();
    EXPECT_EQ(dir.Read("old/" + name), "a record");
    EXPECT_FALSE(std::filesystem::exists(dir.Path(name)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("old")), {}), 1);
  }
}

// A record replaced by a link or a FIFO after it was read: the move on the
// same file system renames whatever has the name, and must not carry a link
// (to a secret, say) into the destination.
TEST(FilePlacement, OnlyARegularFileIsMovedOnTheSameFileSystem) {
  TempFolder dir;
  LinuxFileSystem fs;
  ASSERT_TRUE(fs.CreateFolder(dir.Path("dest")).ok());
  dir.Write("secret.txt", "secret");
  std::filesystem::create_symlink(dir.Path("secret.txt"), dir.Path("1.sg2"));
  std::filesystem::create_directory_symlink(dir.path(), dir.Path("2.sg2"));
  ASSERT_EQ(::mkfifo(dir.Path("3.sg2").c_str(), 0644), 0);
  for (const char* name : {"1.sg2", "2.sg2", "3.sg2"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(fs.MoveNoReplace(dir.Path(name), dir.Path(std::string("dest/") + name)).ok());
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(dir.Path(name))));
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("dest")), {}), 0);
}

}  // namespace
}  // namespace zentrova

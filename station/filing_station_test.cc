// The station's filing as users meet it: zentrova-station and TC.exe as
// real child processes on real folders, with the destination on another
// file system, programs that open files in the watched folder, entries that
// are not records, and a writer running as another user.

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RunProcess;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;
const std::string kTc = ZENTROVA_TC;

// The records filed below `folder`; a copy still under way (".partial") is not one.
std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (auto& e : std::filesystem::recursive_directory_iterator(folder, ec)) {
    if (e.is_regular_file() && e.path().extension() != ".partial") files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Waits (a readiness wait, not a measurement) until `count` records are filed.
std::vector<std::string> AwaitFiled(const std::string& dest, size_t count, int seconds) {
  std::vector<std::string> filed;
  for (int i = 0; i < seconds * 20; ++i) {
    filed = FilesBelow(dest + "/WaveformFiles");
    if (filed.size() >= count) break;
    ::usleep(50000);
  }
  return filed;
}

int ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

// A station folder: settings, the watched folder, and a destination on
// another file system where there is one (/dev/shm).
struct StationFolders {
  StationFolders() {
    struct stat a, b;
    if (::stat("/dev/shm", &b) == 0 && ::stat(dir.path().c_str(), &a) == 0 && a.st_dev != b.st_dev) {
      other = std::make_unique<TempFolder>("/dev/shm");
    }
    dest = (other ? other->path() : dir.path()) + "/dest";
    std::filesystem::create_directories(dir.Path("cfg"));
    std::filesystem::create_directories(dir.Path("watched"));
    std::filesystem::create_directories(dir.Path("home"));
  }
  void Configure(const std::string& extra = "") const {
    dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                      "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dest +
                                      "\nsMyName=SITE\nbMoveToFolder=1\niInterval=0\n" + extra);
  }
  // Lets user nobody work in every folder of the station.
  void OpenToEveryone() const {
    for (const std::string& p : {dir.path(), dir.Path("cfg"), dir.Path("watched"), dir.Path("home")}) {
      ::chmod(p.c_str(), 0777);
    }
    if (other) ::chmod(other->path().c_str(), 0777);
  }
  std::vector<std::string> Station(const std::vector<std::string>& extra = {}) const {
    std::vector<std::string> argv = {"/usr/bin/env", "HOME=" + dir.Path("home"), kStation, "--config-dir",
                                     dir.Path("cfg")};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return argv;
  }
  TempFolder dir;
  std::unique_ptr<TempFolder> other;
  std::string dest;
};

TEST(StationFiling, ProgramsOpeningFilesInTheWatchedFolderDoNotEndIt) {
  StationFolders f;
  f.Configure();
  f.dir.Write("watched/notes.txt", "a note\n");
  BackgroundProcess station(f.Station({"--start", "--run-for", "3"}), f.dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  // A backup tool or an editor opening a note again and again.
  const std::string note = f.dir.Path("watched/notes.txt");
  const pid_t opener = ::fork();
  if (opener == 0) {
    for (;;) {
      const int fd = ::open(note.c_str(), O_WRONLY | O_APPEND);
      if (fd >= 0) ::close(fd);
    }
  }
  const int exitCode = station.Wait();
  ::kill(opener, SIGKILL);
  ::waitpid(opener, nullptr, 0);
  EXPECT_EQ(exitCode, 0);
  EXPECT_NE(f.dir.Read("station.out").find("zentrova-station: stopped"), std::string::npos)
      << f.dir.Read("station.out");
}

TEST(StationFiling, EntriesThatAreNotRecordsNeitherBlockNorLeak) {
  StationFolders f;
  f.Configure("bDatabaseUploadOrbel=0\n");
  f.dir.Write("private.txt", "secret of the station's user");
  ::chmod(f.dir.Path("private.txt").c_str(), 0600);
  std::filesystem::create_directories(f.dir.Path("elsewhere"));
  ASSERT_EQ(::mkfifo(f.dir.Path("watched/77.sg2").c_str(), 0644), 0);    // there at "Start"
  std::filesystem::create_symlink(f.dir.Path("private.txt"), f.dir.Path("watched/9.sg2"));
  std::filesystem::create_symlink(f.dir.Path("none"), f.dir.Path("watched/8.sg2"));
  std::filesystem::create_symlink(f.dir.Path("elsewhere"), f.dir.Path("watched/7.sg2"));
  auto tc = RunProcess({kTc, "--out", f.dir.Path("watched"), "--count", "1", "--interval-ms", "0", "--traces", "2",
                        "--samples", "100", "--first-number", "500"});  // an old record, moved at "Start"
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  BackgroundProcess station(f.Station({"--start"}), f.dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  ::usleep(700000);
  // Arriving during monitoring: another FIFO and a socket, then records.
  ASSERT_EQ(::mkfifo(f.dir.Path("watched/78.sg2").c_str(), 0644), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  const std::string sockPath = f.dir.Path("watched/s.sg2");
  ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
  std::copy(sockPath.begin(), sockPath.end(), addr.sun_path);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  tc = RunProcess({kTc, "--out", f.dir.Path("watched"), "--count", "3", "--interval-ms", "100", "--traces", "2",
                   "--samples", "100"});
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  const auto filed = AwaitFiled(f.dest, 3, 10);
  const auto stopAsked = std::chrono::steady_clock::now();
  station.Signal(SIGTERM);
  EXPECT_EQ(station.Wait(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - stopAsked, std::chrono::seconds(5));
  ::close(sock);
  const std::string out = f.dir.Read("station.out");
  ASSERT_EQ(filed.size(), 3u) << out;
  for (const auto& path : filed) EXPECT_EQ(ModeOf(path), 0644) << path;  // as TC.exe wrote them
  EXPECT_EQ(FilesBelow(f.dest + "/WaveformFiles_old").size(), 1u) << out;
  for (const char* name : {"77.sg2", "78.sg2", "9.sg2", "8.sg2", "7.sg2", "s.sg2"}) {
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(f.dir.Path("watched/") + name))) << name;
    const std::string said = "\n" + std::string(name) + " is a ";
    size_t first = out.find(said);
    EXPECT_NE(first, std::string::npos) << name << "\n" << out;
    EXPECT_EQ(out.find(said, first + 1), std::string::npos) << name << " said more than once\n" << out;
  }
  for (const auto& path : FilesBelow(f.dest)) {
    EXPECT_EQ(testing::ReadFileBytes(path).find("secret of the station's user"), std::string::npos) << path;
  }
}

TEST(StationFiling, ACopyIsNeverWiderInModeThanItsRecord) {
  StationFolders f;
  if (!f.other) GTEST_SKIP() << "no second file system at /dev/shm";
  f.Configure();
  BackgroundProcess station(f.Station({"--start", "--run-for", "3"}), f.dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  ::usleep(500000);
  std::filesystem::create_directories(f.dir.Path("staging"));
  auto tc = RunProcess({kTc, "--out", f.dir.Path("staging"), "--count", "2", "--interval-ms", "0", "--traces", "2",
                        "--samples", "100"});
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  ::chmod(f.dir.Path("staging/1000.sg2").c_str(), 0640);
  ::chmod(f.dir.Path("staging/1001.sg2").c_str(), 0600);
  std::filesystem::rename(f.dir.Path("staging/1000.sg2"), f.dir.Path("watched/1000.sg2"));
  std::filesystem::rename(f.dir.Path("staging/1001.sg2"), f.dir.Path("watched/1001.sg2"));
  EXPECT_EQ(station.Wait(), 0);
  const auto filed = FilesBelow(f.dest + "/WaveformFiles");
  ASSERT_EQ(filed.size(), 2u) << f.dir.Read("station.out");
  EXPECT_EQ(ModeOf(filed[0]), 0640) << filed[0];
  EXPECT_EQ(ModeOf(filed[1]), 0600) << filed[1];
}

// The acquisition program writes as root in chunks with pauses between them;
// the station runs as user nobody, which can neither take a lease on root's
// files nor see root's descriptors. Every record it files must be whole: the
// same bytes as the simulator writes in one go.
void ExpectWholeRecordsFromAWriterOfAnotherUser(int count, int chunks, int chunkPauseMs) {
  StationFolders f;
  f.Configure();
  f.OpenToEveryone();
  const std::vector<std::string> records = {"--count", std::to_string(count), "--interval-ms", "300", "--traces", "8",
                                            "--samples", "4000", "--start-time", "2020-03-15 08:00:00"};
  std::filesystem::create_directories(f.dir.Path("reference"));
  std::vector<std::string> argv = {kTc, "--out", f.dir.Path("reference")};
  argv.insert(argv.end(), records.begin(), records.end());
  ASSERT_EQ(RunProcess(argv).exitCode, 0);

  std::vector<std::string> asNobody = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  const auto station = f.Station({"--start"});
  asNobody.insert(asNobody.end(), station.begin(), station.end());
  BackgroundProcess running(asNobody, f.dir.Path("station.out"));
  ASSERT_TRUE(running.started());
  ::usleep(700000);
  argv = {kTc, "--out", f.dir.Path("watched"), "--chunks", std::to_string(chunks), "--chunk-pause-ms",
          std::to_string(chunkPauseMs)};
  argv.insert(argv.end(), records.begin(), records.end());
  ASSERT_EQ(RunProcess(argv).exitCode, 0);
  const auto filed = AwaitFiled(f.dest, static_cast<size_t>(count), 15);
  running.Signal(SIGTERM);
  EXPECT_EQ(running.Wait(), 0);
  const std::string out = f.dir.Read("station.out");
  ASSERT_EQ(filed.size(), static_cast<size_t>(count)) << out;
  for (const auto& path : filed) {
    const std::string number = path.substr(path.rfind('_') + 1, 4);
    EXPECT_EQ(testing::ReadFileBytes(path), f.dir.Read("reference/" + number + ".sg2")) << path << "\n" << out;
  }
}

bool CanRunAsASecondUser() { return ::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) == 0; }

TEST(StationFiling, AWriterRunningAsAnotherUserIsWaitedFor) {
  if (!CanRunAsASecondUser()) GTEST_SKIP() << "needs root and setpriv to run the station as a second user (nobody)";
  ExpectWholeRecordsFromAWriterOfAnotherUser(2, 8, 250);
}

// Pauses longer than any short quiet rule between the writes: a record that
// does not yet hold the traces it announces is never taken, and its source
// is never removed half written.
TEST(StationFiling, AWriterPausingLongerThanTheQuietRuleIsWaitedFor) {
  if (!CanRunAsASecondUser()) GTEST_SKIP() << "needs root and setpriv to run the station as a second user (nobody)";
  ExpectWholeRecordsFromAWriterOfAnotherUser(1, 2, 4000);
}

}  // namespace
}  // namespace zentrova

// Filing over real folders: entries that are not records, names that are
// taken, destinations that refuse links, moves that fail, and what the logs
// say about each.

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "monitor/file_name_text.h"
#include "monitor/free_name_move.h"
#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

using testing::StationFixture;

const std::string kHour = "/WaveformFiles/2020/202003/20200315/2020031508";

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Pane(CZentrovaDoc& doc) {
  std::string all;
  for (int i = 0; i < doc.activityLog.Count(); ++i) all += doc.activityLog.GetAt(i) + "\n";
  return all;
}

// Every line the activity log received, not only the last 20 of the pane.
struct PaneRecorder {
  explicit PaneRecorder(CZentrovaDoc& doc) {
    doc.activityLog.SetListener([this](const std::string& line) { text += line + "\n"; });
  }
  std::string text;
};

// A watched folder that holds, besides records, entries that must never be
// opened or followed.
void AddEntriesThatAreNotRecords(StationFixture& st, int* socketFd) {
  st.root.Write("private.txt", "secret of the station's user");
  ::chmod(st.root.Path("private.txt").c_str(), 0600);
  ASSERT_EQ(::mkfifo((st.watched + "/77.sg2").c_str(), 0644), 0);
  std::filesystem::create_symlink(st.root.Path("private.txt"), st.watched + "/9.sg2");
  std::filesystem::create_directory(st.root.Path("elsewhere"));
  std::filesystem::create_symlink(st.root.Path("elsewhere"), st.watched + "/20991231");  // a "day folder"
  std::filesystem::create_symlink(st.root.Path("none"), st.watched + "/8.sg2");
  *socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  const std::string path = st.watched + "/s.sg2";
  ASSERT_LT(path.size(), sizeof addr.sun_path);
  std::copy(path.begin(), path.end(), addr.sun_path);
  ASSERT_EQ(::bind(*socketFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
}

TEST(Filing, EntriesThatAreNotRecordsStayAndAreLoggedOnce) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  int sock = -1;
  AddEntriesThatAreNotRecords(st, &sock);
  st.root.Write("elsewhere/5.sg2", "not to be touched");
  st.WriteRecord("1.sg2");
  CZentrovaDoc& doc = st.Doc();
  PaneRecorder pane(doc);
  EXPECT_EQ(doc.MoveExistingFiles(), 1);  // only the regular record
  for (int cycle = 0; cycle < 3; ++cycle) doc.CheckNewFiles();
  st.WriteRecord("2.sg2");
  EXPECT_EQ(doc.CheckNewFiles(), 1);  // records after them are filed
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_old"), std::vector<std::string>{"1.sg2"});
  EXPECT_EQ(st.Files(st.destination + kHour), std::vector<std::string>{"20200315_080405.000_S1_2.dat"});
  for (const char* name : {"77.sg2", "9.sg2", "8.sg2", "s.sg2"}) {
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(st.watched + "/" + name))) << name;
  }
  EXPECT_EQ(st.root.Read("elsewhere/5.sg2"), "not to be touched");
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"77.sg2", "77.sg2 is a FIFO, not a record file: it is left where it is."},
      {"9.sg2", "9.sg2 is a symbolic link, which is not followed, not a record file: it is left where it is."},
      {"8.sg2", "8.sg2 is a symbolic link, which is not followed, not a record file: it is left where it is."},
      {"s.sg2", "s.sg2 is a socket, not a record file: it is left where it is."}};
  const std::string log = st.LogFileText();
  for (const auto& [name, line] : lines) {
    EXPECT_EQ(Occurrences(pane.text, line + "\n"), 1) << name << "\n" << pane.text;
    EXPECT_EQ(Occurrences(log, line + "\r\n"), 1) << name << "\n" << log;
  }
  std::error_code ec;
  for (auto& e : std::filesystem::recursive_directory_iterator(st.destination, ec)) {
    if (e.is_regular_file()) {
      EXPECT_NE(testing::ReadFileBytes(e.path().string()), "secret of the station's user");
    }
  }
  ::close(sock);
}

// A folder of many FIFOs (more than the other lists of the monitor hold):
// each is still said once, not again at every cycle.
TEST(Filing, ManyEntriesThatAreNotRecordsAreEachLoggedOnce) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  constexpr int kFifos = 2000;
  for (int i = 0; i < kFifos; ++i) {
    ASSERT_EQ(::mkfifo((st.watched + "/" + std::to_string(5000 + i) + ".sg2").c_str(), 0644), 0);
  }
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  for (int cycle = 0; cycle < 3; ++cycle) doc.CheckNewFiles();
  st.WriteRecord("1.sg2");
  EXPECT_EQ(doc.CheckNewFiles(), 1);
  const std::string log = st.LogFileText();
  EXPECT_EQ(Occurrences(log, " is a FIFO, not a record file"), kFifos);
  EXPECT_EQ(Occurrences(log, "5000.sg2 is a FIFO"), 1);
}

TEST(Filing, StartLeavesAFileStillBeingWrittenToTheCycle) {
  StationFixture st;
  const std::string path = st.WriteRecord("1.sg2");
  int ready[2], go[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(go), 0);
  const pid_t writer = ::fork();
  if (writer == 0) {
    ::close(go[1]);
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    char c = fd >= 0 ? 'y' : 'n';
    if (::write(ready[1], &c, 1) != 1 || ::read(go[0], &c, 1) < 0) ::_exit(1);
    ::_exit(0);
  }
  ::close(go[0]);
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  CZentrovaDoc& doc = st.Doc();
  EXPECT_EQ(doc.MoveExistingFiles(), 0);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(doc.settingsBlock.KnownFiles.Contains(path));  // not known: it is a new record
  ::close(go[1]);
  ::waitpid(writer, nullptr, 0);
  EXPECT_EQ(doc.CheckNewFiles(), 1);
}

TEST(Filing, StartCountsOnlyMovesThatHappenedAndKeepsRecordsOfTakenNames) {
  StationFixture st;
  std::filesystem::create_directories(st.destination + "/WaveformFiles_old");
  st.root.Write("dest/WaveformFiles_old/1.sg2", "from the run before");
  st.WriteRecord("1.sg2");
  st.WriteRecord("2.sg2");
  CZentrovaDoc& doc = st.Doc();
  EXPECT_EQ(doc.MoveExistingFiles(), 2);
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_old"), (std::vector<std::string>{"1-2.sg2", "1.sg2", "2.sg2"}));
  EXPECT_EQ(st.root.Read("dest/WaveformFiles_old/1.sg2"), "from the run before");
  EXPECT_NE(Pane(doc).find("1.sg2 was moved to the 'WaveformFiles_old' folder as " + st.destination +
                           "/WaveformFiles_old/1-2.sg2: the name was taken"),
            std::string::npos)
      << Pane(doc);

  StationFixture refused;
  refused.WriteRecord("1.sg2");
  refused.fs.FailMoves(Status::IoError("access denied"));
  CZentrovaDoc& other = refused.Doc();
  EXPECT_EQ(other.MoveExistingFiles(), 0);
  EXPECT_NE(Pane(other).find("Unable to move 1.sg2 to the 'WaveformFiles_old' folder: access denied"), std::string::npos)
      << Pane(other);
}

// A watched folder on a file system mounted read-only: the records can be
// copied but never removed.
class ReadOnlyMount {
 public:
  explicit ReadOnlyMount(const std::string& folder) : folder_(folder) {
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=16m") == 0;
  }
  ~ReadOnlyMount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  bool SetReadOnly(bool on) {
    return ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | (on ? MS_RDONLY : 0), "size=16m") == 0;
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

// Records written as usual, then carried into the mounted folder.
void PutRecord(StationFixture& st, const std::string& folder, const std::string& name) {
  st.WriteRecord(name);
  std::filesystem::copy_file(st.watched + "/" + name, folder + "/" + name);
  std::filesystem::remove(st.watched + "/" + name);
}

TEST(Filing, RecordsOnAReadOnlyWatchedFolderAreCopiedOnceAndSaidOnce) {
  StationFixture st;
  const std::string watched = st.root.Path("readonly");
  std::filesystem::create_directory(watched);
  ReadOnlyMount mount(watched);
  if (!mount.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root): " << std::strerror(errno);
  st.profile.values["ZENTROVA_CURRENT_FOLDER_PATH"] = watched;
  PutRecord(st, watched, "1.sg2");
  PutRecord(st, watched, "2.sg2");
  ASSERT_TRUE(mount.SetReadOnly(true));
  const std::string old = st.destination + "/WaveformFiles_old";
  for (int start = 0; start < 3; ++start) {  // the station started again and again
    SCOPED_TRACE(start);
    StationFixture again;
    again.profile.values = st.profile.values;
    CZentrovaDoc& doc = again.Doc();
    PaneRecorder pane(doc);
    EXPECT_EQ(doc.MoveExistingFiles(), 0);
    EXPECT_EQ(st.Files(old), (std::vector<std::string>{"1.sg2", "2.sg2"}));
    EXPECT_EQ(st.Files(watched), (std::vector<std::string>{"1.sg2", "2.sg2"}));
    const int said = start == 0 ? 1 : 0;
    EXPECT_EQ(Occurrences(pane.text, "1.sg2 was copied to the 'WaveformFiles_old' folder, the source remains (read-only)"),
              said)
        << pane.text;
    EXPECT_EQ(Occurrences(pane.text, "Unable to move"), 0) << pane.text;
  }
  // A new record in the read-only folder is filed once, not once per try.
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  ASSERT_TRUE(mount.SetReadOnly(false));
  PutRecord(st, watched, "3.sg2");
  ASSERT_TRUE(mount.SetReadOnly(true));
  PaneRecorder pane(doc);
  EXPECT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(doc.CheckNewFiles(), 0);
  EXPECT_EQ(st.Files(st.destination + kHour).size(), 1u);
  EXPECT_EQ(Occurrences(pane.text, "the source remains (read-only)"), 1) << pane.text;
  EXPECT_EQ(Occurrences(pane.text, "Unable to file"), 0) << pane.text;
}

TEST(Filing, RecordsWhoseNamesCollideAreAllFiled) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("abc.sg2");
  st.WriteRecord("abd.sg2");  // the same record time, no number of its own
  EXPECT_EQ(doc.CheckNewFiles(), 2);
  EXPECT_EQ(st.Files(st.destination + kHour),
            (std::vector<std::string>{"20200315_080405.000_S1_0-2.dat", "20200315_080405.000_S1_0.dat"}));
  EXPECT_TRUE(st.Files(st.watched).empty());
  const std::string line = "abd.sg2 was filed as " + st.destination + kHour +
                           "/20200315_080405.000_S1_0-2.dat: 20200315_080405.000_S1_0.dat was taken";
  EXPECT_NE(Pane(doc).find(line), std::string::npos) << Pane(doc);
  EXPECT_NE(st.LogFileText().find(line + "\r\n"), std::string::npos);
  EXPECT_EQ(NumberedName("1234.sg2", 3), "1234-3.sg2");
  EXPECT_EQ(NumberedName("noext", 2), "noext-2");
}

TEST(Filing, SiteNamesAreMadeFitForFileNamesOnly) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  st.profile.values["sMyName"] = "ST/X";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("1.sg2");
  EXPECT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(st.Files(st.destination + kHour), std::vector<std::string>{"20200315_080405.000_ST_X_1.dat"});
  EXPECT_EQ(doc.settingsBlock.sMyName, "ST/X");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ST/X", "ST_X"}, {"a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i"}, {"tab\there", "tab_here"},
      {"Øster Ås", "Øster Ås"}, {"S1", "S1"}};
  for (const auto& [given, expected] : cases) EXPECT_EQ(FileNameText(given), expected) << given;
}

TEST(Filing, ARefusedFilingIsSaid) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.fs.FailMoves(Status::IoError("operation not permitted"));
  st.WriteRecord("1.sg2");
  EXPECT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_NE(Pane(doc).find("Unable to file 1.sg2: operation not permitted"), std::string::npos) << Pane(doc);
  EXPECT_NE(st.LogFileText().find("Unable to file 1.sg2: operation not permitted\r\n"), std::string::npos);
}

TEST(Filing, ARejectedRecordIsSaidOnceWhenItCannotReachTheErrorFolder) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  // The error folder already holds the name: the record goes there under a free one.
  std::filesystem::create_directories(st.destination + "/WaveformFiles_error");
  st.root.Write("dest/WaveformFiles_error/3.sg2", "an earlier one");
  st.root.Write("watched/3.sg2", "not a record");
  doc.CheckNewFiles();
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_error"), (std::vector<std::string>{"3-2.sg2", "3.sg2"}));
  EXPECT_EQ(st.root.Read("dest/WaveformFiles_error/3-2.sg2"), "not a record");

  // The move refused: said once, not read again, moved once it can be.
  st.fs.FailMoves(Status::IoError("access denied"));
  st.root.Write("watched/4.sg2", "not a record either");
  for (int cycle = 0; cycle < 4; ++cycle) doc.CheckNewFiles();
  const std::string log = st.LogFileText();
  EXPECT_EQ(Occurrences(log, "4.sg2 : Numer of traces"), 1) << log;
  EXPECT_EQ(Occurrences(log, "Unable to move 4.sg2 to the error folder: access denied\r\n"), 1) << log;
  st.fs.AllowMoves();
  doc.CheckNewFiles();
  EXPECT_EQ(st.root.Read("dest/WaveformFiles_error/4.sg2"), "not a record either");
}

TEST(Filing, AnInconsistentTraceCountIsShownWithItsReason) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("1.sg2", 24);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  st.WriteRecord("2.sg2", 12);
  EXPECT_EQ(doc.CheckNewFiles(), 0);
  EXPECT_NE(Pane(doc).find("Caiution: Number of traces = 12 and not consistent. 2.sg2 (the first record of the run "
                           "has 24); it goes to the error folder."),
            std::string::npos)
      << Pane(doc);
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_error"), std::vector<std::string>{"2.sg2"});
}

// Every record that goes to the error folder is said once, in both logs,
// with where it went and why: the first of the run as well as later ones.
TEST(Filing, EveryRecordMovedToTheErrorFolderIsSaidWithItsReason) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  PaneRecorder pane(doc);
  st.root.Write("watched/9999.sg2", "garbage");  // the first file of the run
  doc.CheckNewFiles();
  st.WriteRecord("1.sg2", 24);
  st.root.Write("watched/2.sg2", std::string(300, '\x55'));
  st.WriteRecord("3.sg2", 12);
  doc.CheckNewFiles();
  doc.CheckNewFiles();
  const std::string log = st.LogFileText();
  const std::string noTrace = " was moved to the error folder (not a readable SEG-2 record: no trace could be read)";
  for (const std::string& line : {"9999.sg2" + noTrace, "2.sg2" + noTrace,
                                  std::string("3.sg2 was moved to the error folder (12 traces where the first record "
                                              "of the run has 24)")}) {
    EXPECT_EQ(Occurrences(pane.text, line + "\n"), 1) << line << "\n" << pane.text;
    EXPECT_EQ(Occurrences(log, line + "\r\n"), 1) << line << "\n" << log;
  }
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_error"), (std::vector<std::string>{"2.sg2", "3.sg2", "9999.sg2"}));
}

// A destination like a FAT stick: no hard links, no rename that refuses to
// replace; reached across file systems.
TEST(Filing, ADestinationWithoutHardLinksReceivesEveryRecord) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  st.WriteRecord("1.sg2");
  st.fs.PretendCrossDevice(true);
  st.fs.RefuseLinks(true);
  st.fs.RefuseNoReplaceRenames(true);
  CZentrovaDoc& doc = st.Doc();
  EXPECT_EQ(doc.MoveExistingFiles(), 1);
  st.WriteRecord("2.sg2");
  st.root.Write("watched/3.sg2", "not a record");
  doc.CheckNewFiles();
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_old"), std::vector<std::string>{"1.sg2"});
  EXPECT_EQ(st.Files(st.destination + kHour), std::vector<std::string>{"20200315_080405.000_S1_2.dat"});
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_error"), std::vector<std::string>{"3.sg2"});
  EXPECT_TRUE(st.Files(st.watched).empty());
}

}  // namespace
}  // namespace zentrova

// Monitor cycles over real folders, with the test clock.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"
#include "testing/child_process.h"

namespace zentrova {
namespace {

using testing::StationFixture;

TEST(MonitorCycle, StartMovesOldRecordsAndKnowsTheRest) {
  StationFixture st;
  st.WriteRecord("1.sg2");
  st.WriteRecord("2.sg2");
  st.root.Write("watched/3.mtn", std::string(600, 'x'));
  st.root.Write("watched/notes.txt", "x");
  CZentrovaDoc& doc = st.Doc();
  EXPECT_EQ(doc.MoveExistingFiles(), 2);
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_old"), (std::vector<std::string>{"1.sg2", "2.sg2"}));
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Found 1 files");
  EXPECT_TRUE(doc.settingsBlock.KnownFiles.Contains(st.watched + "/3.mtn"));
  EXPECT_EQ(doc.CheckNewFiles(), 0);
}

TEST(MonitorCycle, NewFilesAreFoundOnceAndBurstsAreNoted) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("10.sg2");
  EXPECT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(doc.CheckNewFiles(), 0);
  st.WriteRecord("11.sg2");
  st.WriteRecord("12.sg2");
  st.WriteRecord("13.sg2");
  EXPECT_EQ(doc.CheckNewFiles(), 3);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Found 3 new files.");
  EXPECT_EQ(doc.NewFiles[2], st.watched + "/13.sg2");
  EXPECT_EQ(st.root.Read("dest/EventDetection_error.txt"),
            "Caution: 3 files were detected at once. 2020/03/15  08:04:05\r\n");
  EXPECT_NE(st.LogFileText().find("Found 3 new files.\r\n"), std::string::npos);
}

TEST(MonitorCycle, WarnsWhenNoFileArrivesForTheSetTime) {
  StationFixture st;
  st.profile.values["bSnedReport"] = "1";
  st.profile.values["bMoveToFolder"] = "1";  // the watched folder is emptied
  CZentrovaDoc& doc = st.Doc();
  st.reports.clear();
  st.WriteRecord("1.sg2");
  st.WriteRecord("2.sg2");
  ASSERT_EQ(doc.CheckNewFiles(), 2);
  st.clock.Advance(5 * 60 * 1000);
  doc.CheckNewFiles();
  EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 0);  // exactly 5 minutes is not more
  st.clock.Advance(1000);
  doc.CheckNewFiles();
  EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 1);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1),
            "Warnig ! There was no new file more than 5 minutes.");
  EXPECT_EQ(st.reports, std::vector<std::string>{"Warnig ! There was no new file more than 5 minutes."});
  doc.CheckNewFiles();
  EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 1);  // again only after another 5 minutes
  st.clock.Advance(5 * 60 * 1000 + 1000);
  doc.CheckNewFiles();
  EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 2);
}

TEST(MonitorCycle, ScansTheLatestDayFolderAndTheOneBeforeWhenItIsQuiet) {
  StationFixture st;
  std::filesystem::create_directories(st.watched + "/20200314");
  std::filesystem::create_directories(st.watched + "/20200315");
  std::filesystem::create_directories(st.watched + "/2020-03-16");  // only the year is read: not numbered
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("1.sg2", 3, 1584259445, 0, "20200314");
  EXPECT_EQ(doc.CheckNewFiles(), 1);  // the latest gave nothing
  st.WriteRecord("2.sg2", 3, 1584259445, 0, "20200315");
  st.WriteRecord("3.sg2", 3, 1584259445, 0, "20200314");
  EXPECT_EQ(doc.CheckNewFiles(), 1);  // the latest gave one: the earlier is not looked at
  EXPECT_EQ(doc.NewFiles[0], st.watched + "/20200315/2.sg2");
  EXPECT_EQ(ExtractNumber("20200315"), 20200315);
  EXPECT_EQ(ExtractNumber("2020-03-16"), 2020);
  EXPECT_EQ(ExtractNumber("day"), 0);
  EXPECT_EQ(ExtractNumber(std::string(40, '9')), 0);  // does not fit: not a day folder
}

TEST(MonitorCycle, FileNumbersCarryOverToNamesWithout) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.root.Write("watched/77.txt", "x");
  st.WriteRecord("abc.sg2");
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_NE(doc.NewFiles[0].find("_S1_77.dat"), std::string::npos) << doc.NewFiles[0];
}

TEST(MonitorCycle, AtMostAHundredNewFilesPerCycle) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  for (int i = 0; i < 130; ++i) st.WriteRecord(std::to_string(1000 + i) + ".sg2", 1);
  EXPECT_EQ(doc.CheckNewFiles(), 100);
  EXPECT_EQ(doc.CheckNewFiles(), 30);
  EXPECT_EQ(doc.CheckNewFiles(), 0);
  EXPECT_EQ(doc.settingsBlock.KnownFiles.Count(), 130);
}

TEST(MonitorCycle, AFileStillBeingWrittenWaitsUntilItIsClosed) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
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
  EXPECT_EQ(doc.CheckNewFiles(), 0);
  EXPECT_EQ(doc.CheckNewFiles(), 0);
  ::close(go[1]);
  ::waitpid(writer, nullptr, 0);
  EXPECT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(doc.CheckNewFiles(), 0);
}

// The pause before a read is paid only for the files the cycle reads: none
// for known files, none for the files left to the next cycle.
TEST(MonitorCycle, PausesOnlyBeforeTheFilesItReads) {
  struct Case {
    int known, fresh;
    int64_t pausedMs;
  };
  for (const Case c : {Case{300, 0, 0}, Case{300, 3, 300}, Case{0, 150, 100 * kPauseBeforeReadMs}}) {
    StationFixture st;
    for (int i = 0; i < c.known; ++i) st.WriteRecord(std::to_string(10000 + i) + ".sg2", 1, 1584259445, 0, "20200315");
    CZentrovaDoc& doc = st.Doc();
    ASSERT_EQ(doc.MoveExistingFiles(), 0);
    for (int i = 0; i < c.fresh; ++i) st.WriteRecord(std::to_string(20000 + i) + ".sg2", 1);
    const int64_t before = st.clock.SteadyMs();
    EXPECT_EQ(doc.CheckNewFiles(), std::min(c.fresh, kMaxNewFilesPerCycle));
    EXPECT_EQ(st.clock.SteadyMs() - before, c.pausedMs) << c.known << " known, " << c.fresh << " new";
  }
}

// A stop asked for during a cycle ends it between two files: what was taken
// is filed whole and reported, the rest waits in the watched folder for the
// next cycle; the pause under way is cut short.
TEST(MonitorCycle, AStopEndsTheCycleBetweenTwoFiles) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  for (int i = 0; i < 40; ++i) st.WriteRecord(std::to_string(100 + i) + ".sg2", 2);
  int handled = 0;
  CycleControl control;
  control.progress = [&] { ++handled; };
  control.stopRequested = [&] { return handled >= 5; };
  const int64_t before = st.clock.SteadyMs();
  EXPECT_EQ(doc.CheckNewFiles(control), 5);
  EXPECT_EQ(st.clock.SteadyMs() - before, 5 * kPauseBeforeReadMs);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Found 5 new files.");
  EXPECT_EQ(st.Files(st.watched).size(), 35u);
  EXPECT_EQ(doc.settingsBlock.nFiledFiles, 5);
  EXPECT_EQ(doc.CheckNewFiles(), 35);
  EXPECT_TRUE(st.Files(st.watched).empty());
  EXPECT_EQ(doc.settingsBlock.nFiledFiles, 40);
}

// The cycle in slices, as a window's thread would run it: one file per
// step, the pause asked for instead of taken, and no second cycle while
// one is under way.
TEST(MonitorCycle, RunsInSlices) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("1.sg2");
  st.WriteRecord("2.sg2");
  const int64_t before = st.clock.SteadyMs();
  const CycleId cycle = doc.BeginCycle(0);
  ASSERT_NE(cycle, 0u);
  EXPECT_EQ(doc.BeginCycle(0), 0u);
  EXPECT_EQ(doc.CheckNewFiles(), 0);  // refused while the sliced cycle is under way
  std::vector<int> pauses;
  int reads = 0;
  for (CycleStep step = doc.StepCycle(cycle); !step.finished; step = doc.StepCycle(cycle)) {
    pauses.push_back(step.pauseMs);
    reads += step.handledFile ? 1 : 0;
  }
  EXPECT_EQ(pauses, (std::vector<int>{kPauseBeforeReadMs, 0, kPauseBeforeReadMs, 0}));
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(doc.EndCycle(cycle, true), 2);
  EXPECT_EQ(st.clock.SteadyMs(), before);  // the caller waits, not the cycle
  // An ended cycle ends nothing again, and its number steps nothing.
  EXPECT_EQ(doc.EndCycle(cycle, true), std::nullopt);
  EXPECT_TRUE(doc.StepCycle(cycle).finished);
  const CycleId next = doc.BeginCycle(0);
  EXPECT_NE(next, 0u);
  EXPECT_NE(next, cycle);
  EXPECT_EQ(doc.EndCycle(cycle, true), std::nullopt);  // not the cycle under way
  EXPECT_EQ(doc.EndCycle(next, true), 0);
}

// A stop that comes from inside a step (a nested call on the stepping
// thread, as a message box's own event loop would make it) neither ends the
// cycle under the step nor lets another begin: the step files its record
// and says finished, and the cycle ends once, after it, with every file it
// took.
TEST(MonitorCycle, AStopDuringAStepEndsTheCycleOnceAfterTheStep) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("1.sg2");
  st.WriteRecord("2.sg2");
  st.fs.PretendCrossDevice(true);  // filing copies, then places the copy: the hook's moment
  const CycleId cycle = doc.BeginCycle(0);
  ASSERT_NE(cycle, 0u);
  int handled = 0;
  CycleStep step;
  std::optional<int> nestedEnd = -1;
  CycleId nestedBegin = 1;
  do {
    step = doc.StepCycle(cycle);
    if (step.handledFile && ++handled == 1) {
      st.fs.BeforeNextPlacement([&] {
        nestedEnd = doc.EndCycle(cycle, false);
        nestedBegin = doc.BeginCycle(0);
      });
    }
  } while (!step.finished);
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(nestedEnd, std::nullopt);  // not ended under the step
  EXPECT_EQ(nestedBegin, 0u);          // and no second cycle beside it
  EXPECT_EQ(st.Files(st.watched), std::vector<std::string>{});
  EXPECT_EQ(doc.EndCycle(cycle, true), 2);
  EXPECT_EQ(doc.EndCycle(cycle, true), std::nullopt);
  int found = 0;
  for (int i = 0; i < doc.activityLog.Count(); ++i) found += doc.activityLog.GetAt(i).starts_with("Found 2 new") ? 1 : 0;
  EXPECT_EQ(found, 1);
  EXPECT_EQ(st.LogFileText().find("Found 1 new"), std::string::npos);
}

// Without two records in the run the no-file warning still comes once
// nMinNoFile minutes have passed since monitoring started (or since the one
// record), and repeats every nMinNoFile minutes.
TEST(MonitorCycle, WarnsOfAStationThatNeverReceivedTwoRecords) {
  for (int records : {0, 1}) {
    StationFixture st;
    st.profile.values["bSnedReport"] = "1";
    st.profile.values["bMoveToFolder"] = "1";
    CZentrovaDoc& doc = st.Doc();
    doc.MoveExistingFiles();
    st.clock.Advance(3600 * 1000);  // an hour after start-up
    doc.tMonitorStarted = st.clock.Now();
    st.reports.clear();
    if (records == 1) {
      st.clock.Advance(60 * 1000);
      st.WriteRecord("1.sg2");
      ASSERT_EQ(doc.CheckNewFiles(), 1);
    }
    st.clock.Advance(5 * 60 * 1000);
    doc.CheckNewFiles();
    EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 0) << records;  // exactly 5 minutes is not more
    st.clock.Advance(1000);
    doc.CheckNewFiles();
    EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 1) << records;
    EXPECT_EQ(st.reports, std::vector<std::string>{"Warnig ! There was no new file more than 5 minutes."});
    st.clock.Advance(5 * 60 * 1000);
    doc.CheckNewFiles();
    EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 1);
    st.clock.Advance(1000);
    doc.CheckNewFiles();
    EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, 2);
  }
}

// The clock set back by a day (a time source correcting a wrong start):
// the quiet time counts from then on, so a station whose acquisition died
// still warns after nMinNoFile minutes, not after a day more. With two
// records and with none.
TEST(MonitorCycle, WarnsAfterTheClockWasSetBack) {
  for (int records : {0, 2}) {
    StationFixture st;
    st.profile.values["bMoveToFolder"] = "1";
    CZentrovaDoc& doc = st.Doc();
    doc.MoveExistingFiles();
    doc.tMonitorStarted = st.clock.Now();
    for (int i = 0; i < records; ++i) {
      st.WriteRecord(std::to_string(i + 1) + ".sg2");
      ASSERT_EQ(doc.CheckNewFiles(), 1) << records;
    }
    const int before = doc.settingsBlock.nNoFileWarnings;
    st.clock.SetNow(st.clock.Now() - 86400);
    doc.CheckNewFiles();
    st.clock.Advance(5 * 60 * 1000 + 1000);
    doc.CheckNewFiles();
    EXPECT_EQ(doc.settingsBlock.nNoFileWarnings, before + 1) << records;
  }
}

// Known records are remembered for as long as they lie in the scanned
// folders, beyond the 1024 paths the known list shows, and forgotten once
// they are gone.
TEST(MonitorCycle, RemembersEveryRecordThatStillLiesInTheFolder) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  for (int i = 0; i < 1100; ++i) st.WriteRecord(std::to_string(10000 + i) + ".sg2", 1);
  int found = 0;
  for (int cycle = 0; cycle < 20; ++cycle) found += doc.CheckNewFiles();
  EXPECT_EQ(found, 1100);
  EXPECT_EQ(doc.settingsBlock.KnownFiles.Count(), 1024);
  EXPECT_EQ(doc.knownRecords.Size(), 1100u);
  for (int i = 0; i < 1000; ++i) std::filesystem::remove(st.watched + "/" + std::to_string(10000 + i) + ".sg2");
  EXPECT_EQ(doc.CheckNewFiles(), 0);
  EXPECT_EQ(doc.knownRecords.Size(), 100u);
}

}  // namespace
}  // namespace zentrova

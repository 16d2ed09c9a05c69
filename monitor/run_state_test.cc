// What a restart relies on, over real folders: the newest record taken,
// the look for hours never joined, the quiet time after a start, and a log
// file that cannot be written.

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

using testing::StationFixture;

std::string Pane(CZentrovaDoc& doc) {
  std::string all;
  for (int i = 0; i < doc.activityLog.Count(); ++i) all += doc.activityLog.GetAt(i) + "\n";
  return all;
}

// A record dated far ahead (an acquisition clock gone wrong) is taken as
// taken now: it must not make the records of every later outage look old.
TEST(RunState, ARecordDatedAheadOfTheClockCountsAsTakenNow) {
  StationFixture st;
  MemoryStore state;
  CZentrovaDoc& doc = st.Doc();
  doc.runState.Attach(&state);
  doc.MoveExistingFiles();
  st.WriteRecord("1.sg2", 3, 4070908800);  // 2099-01-01
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(state.values["tLastRecordMs"], std::to_string(st.clock.Now() * 1000));
  st.WriteRecord("2.sg2", 3, st.clock.Now() - 60);  // a sound clock: its own time
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(state.values["tLastRecordMs"], std::to_string(st.clock.Now() * 1000));
  EXPECT_EQ(state.values["bStoppedCleanly"], "0");
}

// A first run that took no record (the acquisition was down) still keeps
// the moment it began: records written after it are new at the next start.
TEST(RunState, RecordsAfterAFirstRunThatTookNoneAreNewAtTheNextStart) {
  StationFixture st;
  MemoryStore state;
  {
    CZentrovaDoc& doc = st.Doc();
    doc.runState.Attach(&state);
    doc.MoveExistingFiles();
    doc.CheckNewFiles();
  }
  st.clock.Advance(3600 * 1000);
  st.WriteRecord("1.sg2", 3, st.clock.Now() - 60);
  StationFixture again;
  again.profile.values = st.profile.values;
  CZentrovaDoc& doc = again.Doc();
  doc.runState.Attach(&state);
  doc.MoveExistingFiles();
  EXPECT_NE(Pane(doc).find("1 records that came after the last record taken"), std::string::npos) << Pane(doc);
  EXPECT_FALSE(std::filesystem::exists(st.destination + "/WaveformFiles_old/1.sg2"));
  // A kept time that cannot be read is said.
  state.values["tLastRecordMs"] = "abc";
  StationFixture third;
  third.profile.values = st.profile.values;
  CZentrovaDoc& damaged = third.Doc();
  damaged.runState.Attach(&state);
  damaged.MoveExistingFiles();
  EXPECT_NE(Pane(damaged).find("ZentrovaState.ini holds no readable time"), std::string::npos) << Pane(damaged);
}

// An hour filed while joining was off is joined once joining is on, into a
// day folder of the joined tree that did not exist yet.
TEST(RunState, AnHourFiledWhileJoiningWasOffIsJoinedIntoANewDayFolder) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  st.WriteRecord("1.sg2");
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_FALSE(std::filesystem::exists(st.destination + "/WaveformFiles_concatenated"));
  doc.bConcatenate = 1;
  st.clock.Advance(2 * 3600 * 1000);
  doc.CheckNewFiles();
  ASSERT_EQ(st.joins.size(), 1u);
  EXPECT_EQ(st.joins[0].sourceFolder, st.destination + "/WaveformFiles/2020/202003/20200315/2020031508");
  EXPECT_TRUE(std::filesystem::is_directory(st.joins[0].targetFolder)) << st.joins[0].targetFolder;
  st.clock.Advance(3600 * 1000);
  doc.CheckNewFiles();
  EXPECT_EQ(st.joins.size(), 1u);  // never asked twice
}

// Records registered at the start (three-component files that stay, or a
// read-only folder) are no news: the quiet time counts from the start.
TEST(RunState, NoNoFileWarningRightAfterAStartBesideRegisteredRecords) {
  StationFixture st;
  st.root.Write("watched/a.mtn", "three-component");
  st.root.Write("watched/b.mtn", "three-component");
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  doc.tMonitorStarted = st.clock.Now();
  doc.CheckNewFiles();
  EXPECT_EQ(Pane(doc).find("Warnig"), std::string::npos) << Pane(doc);
  st.clock.Advance(6 * 60 * 1000);
  doc.CheckNewFiles();
  EXPECT_NE(Pane(doc).find("Warnig ! There was no new file more than 5 minutes."), std::string::npos) << Pane(doc);
}

// A link or FIFO at the log file's name: nothing is written through it,
// and the pane says once that the log file's lines are lost.
TEST(RunState, ALogFileThatCannotBeWrittenIsSaidOnce) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  std::filesystem::create_directories(st.destination);
  ASSERT_EQ(::mkfifo(doc.activityLog.LogFile().c_str(), 0644), 0);
  EXPECT_EQ(doc.activityLog.AppendToLogFile("one"), 0);
  EXPECT_EQ(doc.activityLog.AppendToLogFile("two"), 0);
  const std::string pane = Pane(doc);
  EXPECT_EQ(pane.find("The log file cannot be written ("), pane.rfind("The log file cannot be written (")) << pane;
  EXPECT_NE(pane.find("; its lines are lost"), std::string::npos) << pane;
}

}  // namespace
}  // namespace zentrova

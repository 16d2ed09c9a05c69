// "Start" with many old records in the watched folder: they are moved
// between the window's events, so the window answers meanwhile, and an
// exit or a signal ends the moves between two records.

#include <signal.h>

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <filesystem>

#include "app/shell/testing/desk_fixture.h"

namespace zentrova {
namespace {

using testing::Desk;
using testing::TempFolder;
using testing::WaitUntil;
using testing::WriteRecords;
using testing::WriteStationConfig;

constexpr int kOldRecords = 3000;

// Old records of an earlier run: one record of the simulator, copied.
void PutOldRecords(TempFolder& dir) {
  ASSERT_EQ(WriteRecords(dir.Path("staging"), 1).exitCode, 0);
  const std::string record = testing::RegularFilesBelow(dir.Path("staging")).at(0);
  for (int i = 0; i < kOldRecords; ++i) {
    std::filesystem::copy_file(record, dir.Path("watched/" + std::to_string(10000 + i) + ".sg2"));
  }
}

size_t FilesIn(const std::string& folder) {
  size_t n = 0;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
       it.increment(ec)) {
    ++n;
  }
  return n;
}

TEST(DesktopStation, StartMovesOldRecordsBetweenTheWindowsEventsAndAnExitEndsTheMoves) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  PutOldRecords(dir);
  Desk d(dir);
  d.Start();
  CZentrovaControlForm& form = d.station->station().form();
  // The window's own timer has its turns while the records are moved.
  int turns = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] { ++turns; });
  tick.start(5);
  ASSERT_TRUE(WaitUntil([&] { return turns >= 5; }, 5000));
  const size_t left = FilesIn(dir.Path("watched"));
  EXPECT_GT(left, 0u) << "every record was moved before the window had a turn";
  EXPECT_EQ(form.bRunning, 0);  // monitoring starts once the records are moved
  d.frame().ExitConfirmed();
  const size_t leftAtExit = FilesIn(dir.Path("watched"));
  ASSERT_TRUE(WaitUntil([&] { return !d.frame().isVisible(); }, 3000));
  EXPECT_EQ(FilesIn(dir.Path("watched")), leftAtExit);  // no record moved after the exit
  EXPECT_GT(leftAtExit, 0u);
  EXPECT_EQ(form.bRunning, 0);
  EXPECT_EQ(d.Pane().find("Monitor started"), std::string::npos) << d.Pane();
  const std::string log = testing::ReadFileBytes(d.doc().activityLog.LogFile());
  EXPECT_TRUE(log.ends_with("Zentrova was closed.\r\n")) << log;
}

TEST(DesktopStation, StartMovesAllOldRecordsAndThenStartsMonitoring) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  PutOldRecords(dir);
  Desk d(dir);
  d.Start();
  ASSERT_TRUE(WaitUntil([&] { return d.station->station().form().bRunning == 1; }, 120000)) << d.Pane();
  EXPECT_EQ(FilesIn(dir.Path("dest/WaveformFiles_old")), static_cast<size_t>(kOldRecords));
  // The pane is refreshed after the window's next events.
  EXPECT_TRUE(WaitUntil([&] { return d.Pane().find("Monitor started by timer") != std::string::npos; }, 5000))
      << d.Pane();
  EXPECT_NE(d.Pane().find("3000 files were moved to the 'WaveformFile_old' folder"), std::string::npos) << d.Pane();
}

// The program itself, started with --start: SIGTERM while it moves the old
// records ends it within a moment, with the closing line.
TEST(DesktopProgram, ASignalWhileStartMovesOldRecordsEndsTheProgramSoon) {
  TempFolder dir;
  WriteStationConfig(dir);
  PutOldRecords(dir);
  const std::string lsan = ::getenv("LSAN_OPTIONS") ? ::getenv("LSAN_OPTIONS") : "";
  ::setenv("LSAN_OPTIONS", (lsan + (lsan.empty() ? "" : ":") + "suppressions=" + ZENTROVA_SHELL_SOURCE_DIR +
                            "/testing/lsan.supp").c_str(), 1);
  testing::BackgroundProcess program({ZENTROVA_DESKTOP, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "120"},
                                     dir.Path("zentrova.out"));
  ::setenv("LSAN_OPTIONS", lsan.c_str(), 1);
  ASSERT_TRUE(program.started());
  // The moves have begun once the first record has left the watched folder.
  ASSERT_TRUE(WaitUntil([&] { return FilesIn(dir.Path("watched")) < static_cast<size_t>(kOldRecords); }, 30000))
      << dir.Read("zentrova.out");
  program.Signal(SIGTERM);
  const auto signalled = std::chrono::steady_clock::now();
  ASSERT_TRUE(program.EndsWithin(15000)) << dir.Read("zentrova.out");
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - signalled).count();
  EXPECT_EQ(program.Wait(), 0);
  EXPECT_GT(FilesIn(dir.Path("watched")), 0u) << "the moves went on to the end";
  EXPECT_LT(ms, 1000) << dir.Read("zentrova.out");
  EXPECT_NE(dir.Read("zentrova.out").find("zentrova: stopped"), std::string::npos);
}

}  // namespace
}  // namespace zentrova

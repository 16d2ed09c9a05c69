// Folders with many records: the station as a real child process and the
// document beside the real simulator, on real folders.

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "monitor/control_form.h"
#include "monitor/station_fixture.h"
#include "station/station_test_support.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RegularFilesBelow;
using testing::TempFolder;
using testing::WaitForText;
using testing::WriteRecords;
using testing::WriteStationConfig;

// Records that the acquisition program drops at once after an outage: the
// backlog is filed within two minutes of station time (the cycle's pauses
// and the 0.5 s timer on the test clock), not after the sum of a pause for
// every file still waiting at every cycle.
TEST(LongCycles, AThousandRecordsDroppedAtOnceAreFiledWithinTwoMinutes) {
  testing::StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  st.profile.values["iInterval"] = "0";
  CZentrovaDoc& doc = st.Doc();
  EventLoop loop(st.clock);
  CZentrovaControlForm form(doc, loop);
  form.OnStart();
  auto tc = WriteRecords(st.watched, 1000);
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  const int64_t start = st.clock.SteadyMs();
  while (doc.settingsBlock.nFiledFiles < 1000 && st.clock.SteadyMs() - start < 600 * 1000) loop.Run(1000);
  const int64_t took = st.clock.SteadyMs() - start;
  EXPECT_EQ(doc.settingsBlock.nFiledFiles, 1000);
  EXPECT_LE(took, 120 * 1000) << "station time to file the backlog: " << took << " ms";
  EXPECT_TRUE(st.Files(st.watched).empty());
  EXPECT_EQ(RegularFilesBelow(st.destination + "/WaveformFiles").size(), 1000u);
  form.Shutdown();
}

// "Move to folder" off: the records stay in the watched folder, far more of
// them than the known list shows; each is read once, while the simulator
// writes them.
TEST(LongCycles, ThreeThousandRecordsThatStayAreEachReadOnce) {
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  constexpr int kRecords = 3000;
  BackgroundProcess tc({testing::kTcProgram, "--out", st.watched, "--count", std::to_string(kRecords), "--interval-ms",
                        "0", "--chunks", "3", "--chunk-pause-ms", "0", "--traces", "2", "--samples", "100",
                        "--first-number", "1", "--start-time", "2020-03-15 08:58:30"},
                       st.root.Path("tc.out"));
  int found = 0;
  for (int cycle = 0; cycle < 20000 && found < kRecords; ++cycle) found += doc.CheckNewFiles();
  EXPECT_EQ(tc.Wait(), 0);
  for (int cycle = 0; cycle < 5; ++cycle) found += doc.CheckNewFiles();
  EXPECT_EQ(found, kRecords);
  // Every read leaves one "Found file" line in the log file.
  std::map<std::string, int> reads;
  std::istringstream log(st.LogFileText());
  for (std::string line; std::getline(log, line);) {
    const size_t at = line.find("Found file");
    if (at == std::string::npos) continue;
    const size_t name = line.find(": ", at) + 2;
    ++reads[line.substr(name, line.find(' ', name) - name)];
  }
  EXPECT_EQ(reads.size(), static_cast<size_t>(kRecords));
  int readAgain = 0;
  for (const auto& [name, n] : reads) readAgain += n > 1 ? 1 : 0;
  EXPECT_EQ(readAgain, 0);
  EXPECT_EQ(doc.settingsBlock.KnownFiles.Count(), 1024);
  EXPECT_EQ(doc.knownRecords.Size(), static_cast<size_t>(kRecords));
}

// With a thousand known records lying in the day folder, a new one is
// found within a few seconds.
TEST(LongCycles, ANewRecordBesideAThousandKnownOnesIsFoundAtOnce) {
  TempFolder dir;
  WriteStationConfig(dir);
  ASSERT_EQ(WriteRecords(dir.Path("watched/20200315"), 1000).exitCode, 0);
  BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start"},
                            dir.Path("station.out"));
  ASSERT_GE(WaitForText(dir, "station.out", "Found 1000 files\n", 60000), 0) << dir.Read("station.out");
  ::usleep(1500000);  // a few cycles over the known records
  ASSERT_EQ(WriteRecords(dir.Path("watched/20200315"), 1, 5000).exitCode, 0);
  const int waited = WaitForText(dir, "station.out", "Found 1 new files.\n", 20000);
  station.Signal(SIGTERM);
  EXPECT_EQ(station.Wait(), 0);
  ASSERT_GE(waited, 0) << dir.Read("station.out");
  EXPECT_LT(waited, 4000) << "the new record waited " << waited << " ms";
  EXPECT_EQ(RegularFilesBelow(dir.Path("dest/WaveformFiles")).size(), 1u);
}

// SIGTERM in the middle of a long cycle ends the station within a second or
// two: the cycle stops between two files, every record lies whole either in
// the watched folder (for the next start) or filed.
// In timer mode the cycle runs on the event loop's thread, in thread mode
// on the monitor thread.
TEST(LongCycles, SigtermEndsALongCycleAtOnce) {
  for (const bool thread : {false, true}) {
    SCOPED_TRACE(thread ? "thread mode" : "timer mode");
    TempFolder dir;
    WriteStationConfig(dir, thread ? "bThread=1\n" : "");
    BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start"},
                              dir.Path("station.out"));
    const char* started = thread ? "Monitor started by thread" : "Monitor started by timer";
    ASSERT_GE(WaitForText(dir, "station.out", started, 20000), 0);
    ASSERT_EQ(WriteRecords(dir.Path("stage"), 300).exitCode, 0);
    const auto staged = RegularFilesBelow(dir.Path("stage"));
    ASSERT_EQ(staged.size(), 300u);
    const auto size = std::filesystem::file_size(staged.front());
    for (const auto& f : staged) {
      std::filesystem::rename(f, dir.Path("watched/" + std::filesystem::path(f).filename().string()));
    }
    for (int i = 0; i < 2000 && RegularFilesBelow(dir.Path("dest/WaveformFiles")).size() < 5; ++i) ::usleep(10000);
    const auto start = std::chrono::steady_clock::now();
    station.Signal(SIGTERM);
    const bool ended = station.EndsWithin(10000);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(ended);
    EXPECT_EQ(station.Wait(), 0);
    EXPECT_LT(took.count(), 2000) << dir.Read("station.out");
    const auto filed = RegularFilesBelow(dir.Path("dest/WaveformFiles"));
    const auto waiting = RegularFilesBelow(dir.Path("watched"));
    EXPECT_GE(filed.size(), 5u);
    EXPECT_LT(filed.size(), 100u);  // the cycle did not run to its end
    EXPECT_EQ(filed.size() + waiting.size(), 300u);
    for (const auto& f : filed) EXPECT_EQ(std::filesystem::file_size(f), size) << f;
    for (const auto& f : waiting) EXPECT_EQ(std::filesystem::file_size(f), size) << f;
    EXPECT_NE(dir.Read("station.out").find("zentrova-station: stopped"), std::string::npos);
  }
}

}  // namespace
}  // namespace zentrova

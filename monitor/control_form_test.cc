#include "monitor/control_form.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

using testing::StationFixture;

std::vector<std::string> Lines(const ActivityLog& log) {
  std::vector<std::string> lines;
  for (int i = 0; i < log.Count(); ++i) lines.push_back(log.GetAt(i));
  return lines;
}

TEST(ControlForm, StartUpLogsAndStartsByTimer) {
  StationFixture st;
  st.profile.values["bAutoStart"] = "1";
  st.WriteRecord("1.sg2");
  CZentrovaDoc& doc = st.Doc();
  EventLoop loop(st.clock);
  CZentrovaControlForm form(doc, loop);
  form.OnInitialUpdate();
  EXPECT_EQ(Lines(doc.activityLog),
            (std::vector<std::string>{"Monitor interval is 8.00 sec", "Folder path is " + st.watched,
                                      "Destination folder path is " + st.destination,
                                      "1 files were moved to the 'WaveformFile_old' folder", "Monitor started by timer"}));
  EXPECT_EQ(form.bRunning, 1);
  st.WriteRecord("2.sg2");
  loop.Run(8001);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Found 1 new files.");
}

TEST(ControlForm, IntervalChangeRestartsTheTimer) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  EventLoop loop(st.clock);
  CZentrovaControlForm form(doc, loop);
  form.OnStart();
  form.OnInterval(0);
  const auto lines = Lines(doc.activityLog);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"Monitor interval is 0.50 sec", "Monitor stopped", "Monitor started by timer"}));
  EXPECT_EQ(st.profile.values["iInterval"], "0");
  EXPECT_EQ(loop.TimerCount(), 1u);
  form.OnStop();
  EXPECT_EQ(loop.TimerCount(), 0u);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Monitor stopped");
}

// Thread mode: the worker runs whole cycles while commands come in; run
// under ThreadSanitizer in CI.
TEST(ControlForm, ThreadModeRunsCyclesBesideTheCommands) {
  StationFixture st;
  st.profile.values["bThread"] = "1";
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  EventLoop loop(st.clock);
  CZentrovaControlForm form(doc, loop);
  form.OnStart();
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Monitor started by thread");
  for (int i = 0; i < 40; ++i) {
    st.WriteRecord(std::to_string(100 + i) + ".sg2");
    form.OnInterval(i % 5);  // commands while the thread works (no effect on filing in thread mode)
    form.OnThread();         // refused while running
  }
  for (int spin = 0; spin < 4000; ++spin) {
    {
      std::lock_guard<std::recursive_mutex> lock(doc.mutex);
      if (doc.settingsBlock.KnownFiles.Count() == 40) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(form.bThread, 1);
  form.OnStop();
  form.OnThread();  // allowed again once stopped
  form.Shutdown();
  EXPECT_EQ(doc.settingsBlock.KnownFiles.Count(), 40);
  EXPECT_TRUE(st.Files(st.watched).empty());
  EXPECT_EQ(form.bThread, 0);
  form.OnThread();
  form.OnStart();  // a second thread after a stop
  form.Shutdown();
}

// "Stop" in thread mode while the thread is inside a cycle: the cycle ends
// after the file in hand, the others wait in the watched folder.
TEST(ControlForm, StopInThreadModeEndsTheCycleBetweenTwoFiles) {
  StationFixture st;
  st.profile.values["bThread"] = "1";
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  EventLoop loop(st.clock);
  CZentrovaControlForm form(doc, loop);
  std::mutex m;
  std::condition_variable cv;
  bool reached = false, stopped = false;
  form.onProgress = [&] {  // on the monitor thread, which alone files records
    std::unique_lock<std::mutex> lock(m);
    if (reached || doc.settingsBlock.nFiledFiles < 5) return;
    reached = true;
    cv.notify_all();
    cv.wait(lock, [&] { return stopped; });
  };
  form.OnStart();
  // Written into a subfolder the monitor does not scan, then moved in.
  for (int i = 0; i < 150; ++i) st.WriteRecord(std::to_string(100 + i) + ".sg2", 2, 1584259445, 0, "stage");
  for (int i = 0; i < 150; ++i) {
    const std::string name = std::to_string(100 + i) + ".sg2";
    std::filesystem::rename(st.watched + "/stage/" + name, st.watched + "/" + name);
  }
  {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return reached; });
  }
  form.OnStop();
  {
    std::lock_guard<std::mutex> lock(m);
    stopped = true;
  }
  cv.notify_all();
  form.Shutdown();
  EXPECT_EQ(doc.settingsBlock.nFiledFiles, 5);
  EXPECT_EQ(st.Files(st.watched).size(), 146u);  // with the subfolder
}

}  // namespace
}  // namespace zentrova

// The desktop program as an operator starts it: the real zentrova under a
// private X display, with a configuration whose monitoring starts at once,
// and the records of the simulator; and the monitor's two modes in the
// window (the thread's news reach the window on its own thread, a long
// timer cycle leaves the window answering).

#include <signal.h>

#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/shell/testing/desk_fixture.h"
#include "app/shell/testing/stub_views.h"
#include "testing/virtual_display.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::Desk;
using testing::RegularFilesBelow;
using testing::TempFolder;
using testing::WaitUntil;
using testing::WriteRecords;
using testing::WriteStationConfig;

size_t Filed(const TempFolder& dir) {
  size_t n = 0;
  for (const std::string& f : RegularFilesBelow(dir.Path("dest/WaveformFiles"))) n += f.ends_with(".dat") ? 1 : 0;
  return n;
}

TEST(DesktopThread, RecordsFiledByTheMonitorThreadReachTheLogPaneAndTheViews) {
  TempFolder dir;
  WriteStationConfig(dir, "bThread=1\nbAutoStart=1\n");
  Desk d(dir);
  d.Start();
  ASSERT_EQ(d.station->station().form().bRunning, 1);
  d.frame().RunCommand(kCmdShowWaveform);
  auto* view = static_cast<StubViewWindow*>(d.frame().ActiveView());
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(WriteRecords(dir.Path("watched"), 3).exitCode, 0);
  ASSERT_TRUE(WaitUntil([&] { return Filed(dir) == 3; }, 30000)) << d.buffer.text();
  ASSERT_TRUE(WaitUntil([&] { return d.Pane().find("new files.") != std::string::npos && view->updates > 0; },
                        10000))
      << d.Pane();
  // Stopping in thread mode writes no "Monitor stopped" line.
  d.frame().mdi()->setActiveSubWindow(d.frame().panelWindow());
  d.frame().RunCommand(kCmdStop);
  EXPECT_EQ(d.station->station().form().bRunning, 0);
  EXPECT_EQ(d.Pane().find("Monitor stopped"), std::string::npos);
}

TEST(DesktopTimer, ALongTimerCycleLeavesTheWindowAnswering) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  Desk d(dir);
  d.Start();
  ASSERT_EQ(WriteRecords(dir.Path("watched"), 20).exitCode, 0);
  // A repeating timer of the window counts its turns while a cycle runs.
  int turnsDuringCycle = 0;
  bool sawCycle = false;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    if (d.station->cycle().UnderWay()) {
      sawCycle = true;
      ++turnsDuringCycle;
    }
  });
  tick.start(10);
  ASSERT_TRUE(WaitUntil([&] { return Filed(dir) == 20; }, 60000)) << d.buffer.text();
  EXPECT_TRUE(sawCycle);
  // Twenty records with their pauses of 100 ms: the window had many turns.
  EXPECT_GT(turnsDuringCycle, 20);
  EXPECT_TRUE(WaitUntil([&] { return d.Pane().find("Found 20 new files.") != std::string::npos; }, 5000))
      << d.Pane();
}

// The share of pixels of exactly this colour in the picture.
int CountColour(const QImage& img, QRgb colour) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xffffff) == (colour & 0xffffff) ? 1 : 0;
  }
  return n;
}

// Without a display the program says so in one line and ends with status 2,
// neither aborting nor hanging.
TEST(DesktopProgram, WithoutADisplayItEndsWithOneLineAndStatusTwo) {
  TempFolder dir;
  WriteStationConfig(dir);
  const std::string platform = ::getenv("QT_QPA_PLATFORM") ? ::getenv("QT_QPA_PLATFORM") : "";
  const char* display = ::getenv("DISPLAY");
  const std::string savedDisplay = display ? display : "";
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  for (const char* value : {static_cast<const char*>(nullptr), ":249"}) {
    SCOPED_TRACE(value ? value : "unset");
    if (value) {
      ::setenv("DISPLAY", value, 1);
    } else {
      ::unsetenv("DISPLAY");
    }
    const testing::ProcessResult r = testing::RunProcess({ZENTROVA_DESKTOP, "--config-dir", dir.Path("cfg")});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("zentrova: cannot open the display"), std::string::npos) << r.err;
  }
  ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
  if (display) {
    ::setenv("DISPLAY", savedDisplay.c_str(), 1);
  } else {
    ::unsetenv("DISPLAY");
  }
}

// The desktop program started by hand beside the service on the same
// configuration folder ends at once with one line naming the running
// station, before it even opens a window.
TEST(DesktopProgram, BesideARunningStationOnTheSameFolderItEndsAtOnce) {
  TempFolder dir;
  WriteStationConfig(dir);
  BackgroundProcess station({ZENTROVA_STATION, "--config-dir", dir.Path("cfg"), "--run-for", "60"},
                            dir.Path("station.out"));
  ASSERT_GE(testing::WaitForText(dir, "station.out", "Monitor interval is", 20000), 0) << dir.Read("station.out");
  const testing::ProcessResult r = testing::RunProcess({ZENTROVA_DESKTOP, "--config-dir", dir.Path("cfg")});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_EQ(r.err, "zentrova: another station runs on the configuration folder " + dir.Path("cfg") + " (pid " +
                       std::to_string(station.pid()) + "); this one ends\n");
  station.Signal(SIGTERM);
  EXPECT_EQ(station.Wait(), 0);
}

// With the mail server down the closing message fails while the program
// ends: the outbox's line comes before the closing line, which stays the
// log file's last, as at the station without a window.
TEST(DesktopProgram, TheClosingLineStaysTheLogFilesLastWhenTheClosingMailFails) {
  TempFolder dir;
  WriteStationConfig(dir, "bSnedReport=1\n");
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=1\n"
                               "SenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\n");
  const testing::ProcessResult r =
      testing::RunProcess({ZENTROVA_DESKTOP, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::string log;
  for (const std::string& f : RegularFilesBelow(dir.Path("dest"))) {
    if (f.find("ZentrovaLog_") != std::string::npos) log = testing::ReadFileBytes(f);
  }
  ASSERT_GE(log.size(), 22u) << log;
  EXPECT_EQ(log.substr(log.size() - 22), "Zentrova was closed.\r\n") << log;
  EXPECT_NE(log.find("was not delivered"), std::string::npos) << log;
}

TEST(DesktopProgram, UnderAnXDisplayItFilesTheSimulatorsRecordsAndShowsTheControlPanel) {
  if (!std::filesystem::exists("/usr/bin/Xvfb") || !std::filesystem::exists("/usr/bin/import")) {
    GTEST_SKIP() << "Xvfb or ImageMagick's import is not installed";
  }
  testing::VirtualDisplay display("1280x800x24");
  ASSERT_TRUE(display.ok());
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  // The program draws on the display, not offscreen as this test does.
  const std::string platform = ::getenv("QT_QPA_PLATFORM") ? ::getenv("QT_QPA_PLATFORM") : "";
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  const std::string lsan = ::getenv("LSAN_OPTIONS") ? ::getenv("LSAN_OPTIONS") : "";
  ::setenv("LSAN_OPTIONS", (lsan + (lsan.empty() ? "" : ":") + "suppressions=" + ZENTROVA_SHELL_SOURCE_DIR +
                            "/testing/lsan.supp").c_str(), 1);
  // The keyboard library of the X connection copies a string of known
  // length that has no terminating zero, which the strict string checks
  // take for an overflow; the program's own code is checked as ever.
  const std::string asan = ::getenv("ASAN_OPTIONS") ? ::getenv("ASAN_OPTIONS") : "";
  ::setenv("ASAN_OPTIONS", (asan + (asan.empty() ? "" : ":") + "strict_string_checks=0").c_str(), 1);
  BackgroundProcess program({ZENTROVA_DESKTOP, "--config-dir", dir.Path("cfg"), "--run-for", "120"},
                            dir.Path("zentrova.out"));
  ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
  ::setenv("LSAN_OPTIONS", lsan.c_str(), 1);
  ::setenv("ASAN_OPTIONS", asan.c_str(), 1);
  ASSERT_TRUE(program.started());
  ASSERT_GE(testing::WaitForText(dir, "zentrova.out", "Monitor started by timer", 20000), 0)
      << dir.Read("zentrova.out");
  ASSERT_EQ(WriteRecords(dir.Path("watched"), 3).exitCode, 0);
  ASSERT_TRUE(WaitUntil([&] { return Filed(dir) == 3; }, 30000)) << dir.Read("zentrova.out");
  ASSERT_GE(testing::WaitForText(dir, "zentrova.out", "Found", 10000), 0);

  // The screen shows the panel's buttons: the Monitor and filing buttons
  // green, the others red.
  const std::string pictures = std::string(ZENTROVA_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(pictures);
  const std::string shot = pictures + "/control_panel.png";
  QImage img;
  for (int attempt = 0; attempt < 50; ++attempt) {
    const testing::ProcessResult r =
        testing::RunProcess({"/usr/bin/import", "-display", display.name(), "-window", "root", shot});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    img = QImage(QString::fromStdString(shot));
    if (!img.isNull() && CountColour(img, qRgb(0, 255, 0)) > 2000 && CountColour(img, qRgb(255, 0, 0)) > 2000) break;
    ::usleep(200000);
  }
  ASSERT_FALSE(img.isNull());
  EXPECT_GT(CountColour(img, qRgb(0, 255, 0)), 2000);  // two green buttons
  EXPECT_GT(CountColour(img, qRgb(255, 0, 0)), 6000);  // six red ones

  // A signal ends it as a confirmed exit does.
  program.Signal(SIGTERM);
  ASSERT_TRUE(program.EndsWithin(15000)) << dir.Read("zentrova.out");
  EXPECT_EQ(program.Wait(), 0);
  bool closedLine = false;
  for (const std::string& f : RegularFilesBelow(dir.Path("dest"))) {
    if (f.ends_with(".txt") && testing::ReadFileBytes(f).ends_with("Zentrova was closed.\r\n")) closedLine = true;
  }
  EXPECT_TRUE(closedLine);
  EXPECT_NE(dir.Read("zentrova.out").find("zentrova: stopped"), std::string::npos);
}

}  // namespace
}  // namespace zentrova

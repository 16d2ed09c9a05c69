#include "health/controller.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "health/auto_start.h"
#include "health/health_fixture.h"
#include "testing/child_process.h"
#include "testing/virtual_display.h"

namespace zentrova {
namespace {

TEST(ControllerProcess, NamesMatchAsCaseSensitiveSubstrings) {
  FixedProcessTable table;
  table.names = std::vector<std::string>{"bash", "XTC.exe", "<unknown>"};
  EXPECT_EQ(IsProcessRunning(table, "TC.exe"), 1);
  table.names = std::vector<std::string>{"bash", "tc.exe"};
  EXPECT_EQ(IsProcessRunning(table, "TC.exe"), 0);
  table.names = std::nullopt;  // no list: counted as running
  EXPECT_EQ(IsProcessRunning(table, "TC.exe"), 1);
}

// Polls `done` for up to five seconds.
template <typename F>
bool Eventually(F done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

TEST(ControllerProcess, TheRealProcessListSeesAProgramByItsFileName) {
  testing::TempFolder dir;
  // A program file of a name no other test uses.
  const std::string name = "Zq" + std::to_string(::getpid()) + "XTC.exe";
  const std::string program = dir.Path(name);
  std::filesystem::copy_file("/bin/sleep", program);
  LinuxProcessTable table;
  EXPECT_EQ(IsProcessRunning(table, name), 0);
  {
    testing::BackgroundProcess child({program, "30"}, dir.Path("out"));
    ASSERT_TRUE(child.started());
    EXPECT_TRUE(Eventually([&] { return IsProcessRunning(table, name) == 1; }));
    child.Signal(SIGTERM);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // Ended but not yet collected by its parent: no longer running.
    EXPECT_TRUE(Eventually([&] { return IsProcessRunning(table, name) == 0; }));
    child.Wait();
  }
  EXPECT_EQ(IsProcessRunning(table, name), 0);
}

TEST(ControllerWindow, TheLastMatchingTitleOfTheWalkIsClosedWhenItIsTopLevel) {
  FakeWindowTree tree;
  tree.windows = {{1, "", false},
                  {2, "Tarnlink Controller - Survey 1", true},
                  {3, "Tarnlink Controller", true},
                  {4, "status of Tarnlink Controller", false}};
  EXPECT_EQ(CloseWindowByTitle(tree, "Tarnlink Controller"), 0);  // the last one is a child window
  EXPECT_TRUE(tree.closed.empty());
  tree.windows.push_back({5, "Tarnlink Controller", false});
  EXPECT_EQ(CloseWindowByTitle(tree, "Tarnlink Controller"), 1);
  EXPECT_EQ(tree.closed, std::vector<uint64_t>{3});  // the top-level one with that exact title
  EXPECT_EQ(CloseWindowByTitle(tree, "tarnlink"), 0);
}

TEST(ControllerWindow, NoDisplayFindsNothing) {
  const char* display = ::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  ::unsetenv("DISPLAY");
  X11WindowTree tree;
  EXPECT_TRUE(tree.Walk().empty());
  EXPECT_EQ(CloseWindowByTitle(tree, "Tarnlink Controller"), 0);
  if (display) ::setenv("DISPLAY", saved.c_str(), 1);
}

class LaunchTest : public ::testing::Test {
 protected:
  testing::HealthFixture h;
};

TEST_F(LaunchTest, AlreadyRunningLaunchesNothing) {
  h.processes.names = std::vector<std::string>{"TC.exe"};
  h.st.profile.values["bAutoStartTC"] = "1";
  h.st.profile.values["bSnedReport"] = "1";
  h.st.services.startController = [this] { return LaunchController(h.st.Doc(), h.ch); };
  CZentrovaDoc& doc = h.st.Doc();
  EXPECT_TRUE(h.launcher.calls.empty());
  EXPECT_EQ(doc.strStartupMessage, "Zentrova started.\nTarnlink Controller already existed.");
  EXPECT_EQ(h.st.reports, std::vector<std::string>{"Zentrova started.\nTarnlink Controller already existed."});
}

TEST_F(LaunchTest, FallbacksAndTheIgnoreCrashValue) {
  CZentrovaDoc& doc = h.st.Doc();
  h.launcher.succeed = false;
  EXPECT_EQ(LaunchController(doc, h.ch), 1);
  ASSERT_EQ(h.launcher.calls.size(), 3u);
  EXPECT_EQ(h.launcher.calls[0].program, kDefaultControllerPath);
  EXPECT_EQ(h.launcher.calls[1].program, h.ch.fallbacks.first);
  EXPECT_EQ(h.launcher.calls[2].program, h.ch.fallbacks.second);
  EXPECT_TRUE(h.launcher.calls[0].arguments.empty());
  EXPECT_EQ(doc.strControllerPath, h.ch.fallbacks.second);  // left at the last one tried
  EXPECT_EQ(h.controllerProgram.values["IgnoreCrash"], "1");
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1),
            std::string("Tarnlink Controller did not start (tried ") + kDefaultControllerPath + ", " +
                h.ch.fallbacks.first + ", " + h.ch.fallbacks.second + ")");

  h.controllerProgram.failWrites = true;  // a store that refuses: ignored
  h.launcher.succeed = true;
  h.launcher.calls.clear();
  EXPECT_EQ(LaunchController(doc, h.ch), 0);
  EXPECT_EQ(h.launcher.calls.size(), 1u);
}

TEST_F(LaunchTest, ControllerLocationCommand) {
  CZentrovaDoc& doc = h.st.Doc();
  std::string preset;
  OnControllerLocation(doc, [&](const std::string& p) {
    preset = p;
    return std::nullopt;
  });
  EXPECT_EQ(preset, "TC.exe");
  EXPECT_EQ(doc.strControllerPath, kDefaultControllerPath);
  OnControllerLocation(doc, [](const std::string&) { return std::optional<std::string>("/srv/tc/TC.exe"); });
  EXPECT_EQ(doc.strControllerPath, "/srv/tc/TC.exe");
}

// bAutoStartTC=1 and no controller anywhere: the station's console says so
// even with reports off (then no start message is formed).
TEST(RealController, AMissingControllerIsSaidOnTheConsole) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nbAutoStartTC=1\n");
  LinuxProcessTable processes;
  if (IsProcessRunning(processes, "TC.exe") == 1) GTEST_SKIP() << "a TC.exe runs: the station would not start one";
  ::setenv("ZENTROVA_CONTROLLER_DIR", dir.Path("controller").c_str(), 1);
  const auto run = testing::RunProcess({ZENTROVA_STATION, "--config-dir", dir.Path("cfg"), "--controller",
                                        dir.Path("missing/TC.exe"), "--run-for", "0.2"});
  ::unsetenv("ZENTROVA_CONTROLLER_DIR");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string line = "Tarnlink Controller did not start (tried " + dir.Path("missing/TC.exe");
  if (run.out.find(line) == std::string::npos && IsProcessRunning(processes, "TC.exe") == 1) {
    GTEST_SKIP() << "a TC.exe started meanwhile";
  }
  EXPECT_NE(run.out.find(line), std::string::npos) << run.out;
}

// Ends every process running the program file `path` (a controller a
// failed test left behind would outlive it).
struct KillOnExit {
  std::string path;
  ~KillOnExit() {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
      std::error_code ec;
      const auto exe = std::filesystem::read_symlink(entry.path() / "exe", ec);
      if (!ec && exe == path) ::kill(std::stoi(entry.path().filename().string()), SIGKILL);
    }
  }
};

// The simulator as the controller: started by the station, found in the
// process list and on the screen, and closed through its window.
TEST(RealController, LaunchedDetectedAndClosed) {
  testing::VirtualDisplay display;
  ASSERT_TRUE(display.ok()) << "Xvfb did not start";
  testing::TempFolder dir;
  const std::string name = "Zq" + std::to_string(::getpid()) + "TC.exe";
  const std::string program = dir.Path(name);
  std::filesystem::copy_file(ZENTROVA_TC, program);
  KillOnExit cleanup{program};
  ::setenv("ZENTROVA_CONTROLLER_DIR", dir.Path("controller").c_str(), 1);

  testing::HealthFixture h;
  LinuxProcessTable processes;
  X11WindowTree windows;
  PosixLauncher launcher;
  HealthChannels ch{h.st.fs, h.recentSurveys, h.controllerProgram, h.surveyFolder, h.power, processes,
                    windows, launcher, h.logon, h.volumes};
  ch.controllerProcess = name;
  ch.fallbacks = {dir.Path("missing1"), program};
  CZentrovaDoc& doc = h.st.Doc();
  doc.strControllerPath = dir.Path("missing0");

  EXPECT_EQ(LaunchController(doc, ch), 0);
  EXPECT_EQ(doc.strControllerPath, program);  // the second fallback started
  EXPECT_TRUE(Eventually([&] { return IsProcessRunning(processes, name) == 1; }));
  auto titled = [&] {
    for (const ScreenWindow& w : windows.Walk()) {
      if (w.title == kControllerTitle && w.topLevel) return true;
    }
    return false;
  };
  EXPECT_TRUE(Eventually(titled));
  EXPECT_EQ(LaunchController(doc, ch), 2);

  EXPECT_EQ(CloseWindowByTitle(windows, kControllerTitle), 1);
  EXPECT_TRUE(Eventually([&] { return IsProcessRunning(processes, name) == 0; }));
  EXPECT_FALSE(titled());
  // The controller kept its survey while it ran.
  EXPECT_TRUE(std::filesystem::exists(dir.Path("controller") + "/" + kSurveyFolder + "/Survey.svy"));
  ::unsetenv("ZENTROVA_CONTROLLER_DIR");
}

}  // namespace
}  // namespace zentrova

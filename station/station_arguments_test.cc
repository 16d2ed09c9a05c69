// zentrova-station given wrong arguments and unsound settings, run as a
// real child process: the exit status and the first line it prints.

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::RunProcess;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }
std::string SecondLine(const std::string& text) {
  const size_t start = text.find('\n');
  return start == std::string::npos ? "" : FirstLine(text.substr(start + 1));
}

// A station that does not end by itself is ended after 20 s (status 137).
testing::ProcessResult RunStation(std::vector<std::string> args) {
  args.insert(args.begin(), {"/usr/bin/timeout", "-s", "KILL", "20", kStation});
  return RunProcess(args);
}

TEST(StationArguments, AWrongArgumentEndsTheStationBeforeItRuns) {
  TempFolder dir;
  dir.Write("plain-file", "x");
  struct Case {
    std::vector<std::string> args;
    std::string firstLine;
  };
  const Case cases[] = {
      {{"--config-dir"}, "zentrova-station: --config-dir needs a value"},
      {{"--start", "--run-for"}, "zentrova-station: --run-for needs a value"},
      {{"--run-for", "abc"}, "zentrova-station: --run-for wants a number of seconds more than 0, not \"abc\""},
      {{"--run-for", "-5"}, "zentrova-station: --run-for wants a number of seconds more than 0, not \"-5\""},
      {{"--run-for", "nan"}, "zentrova-station: --run-for wants a number of seconds more than 0, not \"nan\""},
      {{"--run-for", "2s"}, "zentrova-station: --run-for wants a number of seconds more than 0, not \"2s\""},
      {{"--run-for", "0"}, "zentrova-station: --run-for wants a number of seconds more than 0, not \"0\""},
      {{"--config-dir", "", "--run-for", "1"}, "zentrova-station: --config-dir needs a folder, not an empty text"},
      {{"--bogus"}, "zentrova-station: unknown option --bogus"},
      {{"--config-dir", dir.Path("plain-file"), "--run-for", "1"},
       "zentrova-station: the configuration folder " + dir.Path("plain-file") + " is not a folder"},
      {{"--config-dir", "/proc/self", "--run-for", "1"},
       "zentrova-station: the configuration folder /proc/self lies in /proc, which is no place for settings"},
      {{"--config-dir", "/sys/kernel/zentrova", "--run-for", "1"},
       "zentrova-station: the configuration folder /sys/kernel/zentrova lies in /sys, which is no place for settings"},
      {{"--config-dir", dir.Path("plain-file/cfg"), "--run-for", "1"},
       "zentrova-station: cannot create the configuration folder " + dir.Path("plain-file/cfg") + ": Not a directory"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += " '" + a + "'";
    SCOPED_TRACE(shown);
    auto run = RunStation(c.args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(FirstLine(run.err), c.firstLine);
    EXPECT_EQ(SecondLine(run.err).rfind("usage: zentrova-station", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists("/sys/kernel/zentrova"));
}

TEST(StationArguments, HelpIsNoError) {
  auto run = RunStation({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(FirstLine(run.out).rfind("usage: zentrova-station", 0), 0u) << run.out;
  EXPECT_EQ(run.err, "");
}

TEST(StationArguments, AConfigurationFolderThatIsNotThereIsCreatedAndSaidSo) {
  TempFolder dir;
  const std::string cfg = dir.Path("new/cfg");
  auto run = RunStation({"--config-dir", cfg, "--run-for", "0.3"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FirstLine(run.out), "zentrova-station: created the configuration folder " + cfg);
  EXPECT_TRUE(std::filesystem::is_directory(cfg));
  auto again = RunStation({"--config-dir", cfg, "--run-for", "0.3"});
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(again.out.find("created the configuration folder"), std::string::npos) << again.out;
}

size_t Count(const std::string& text, const std::string& line) {
  size_t n = 0;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();  // the log file's CR LF
    n += l == line;
  }
  return n;
}

// An unsound setting runs the station with the nearest sound value and is
// said once at the start, on the console and in the log file.
TEST(StationArguments, UnsoundSettingsAreSaidOnceWithTheValueUsed) {
  struct Case {
    std::string general;
    std::string product;
    std::string line;
  };
  const Case cases[] = {
      {"iInterval=99\n", "", "Zentrova.ini: iInterval=99 is out of range (0 to 4); 4 is used."},
      {"nMinNoFile=-1\n", "", "Zentrova.ini: nMinNoFile=-1 is out of range (0 to 10080); 0 is used."},
      {"nMinNoFile=abc\n", "", "Zentrova.ini: nMinNoFile=abc is not a number; 5 is used."},
      {"fBatteryShutdown=ten\n", "", "Zentrova.ini: fBatteryShutdown=ten is not a number; 10.5 is used."},
      {"", "iPortNumber=99999\n", "product.ini: iPortNumber=99999 is out of range (1 to 65535); 65535 is used."},
      {"ZENTROVA_CURRENT_FOLDER_PATH=/nonexistent/watched\n", "",
       "The watched folder /nonexistent/watched does not exist; records are found once it is created."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TempFolder dir;
    std::filesystem::create_directories(dir.Path("cfg"));
    std::filesystem::create_directories(dir.Path("watched"));
    std::filesystem::create_directories(dir.Path("dest"));
    // The first of two equal keys counts: the case's own lines come first.
    dir.Write("cfg/Zentrova.ini", "[General]\n" + c.general + "ZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                      "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") + "\n");
    dir.Write("cfg/product.ini", "[Kalvane Applications]\n" + c.product);
    auto run = RunStation({"--config-dir", dir.Path("cfg"), "--start", "--run-for", "0.5"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Count(run.out, c.line), 1u) << run.out;
    std::string log;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path("dest"))) {
      if (e.path().filename().string().rfind("ZentrovaLog_", 0) == 0) log += testing::ReadFileBytes(e.path());
    }
    EXPECT_EQ(Count(log, c.line), 1u) << log;
  }
}

// The value used is the one in force: iInterval=99 runs the 8 s timer,
// nMinNoFile=-1 warns as 0 does.
TEST(StationArguments, TheSoundValueIsTheOneInForce) {
  TempFolder dir;
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\niInterval=-7\nnMinNoFile=-1\n");
  dir.Write("watched/1.orb", "");  // known from the start, they keep the no-file warning armed
  dir.Write("watched/2.orb", "");
  auto run = RunStation({"--config-dir", dir.Path("cfg"), "--start", "--run-for", "2"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Monitor interval is 0.50 sec"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("more than -1 minutes"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Warnig ! There was no new file more than 0 minutes."), std::string::npos) << run.out;
}

}  // namespace
}  // namespace zentrova

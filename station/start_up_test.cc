// The station's start: a stop asked for while it starts, and configured
// folders given relative to the folder it was started in.

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "station/station_test_support.h"
#include "testing/local_servers.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RegularFilesBelow;
using testing::ProcessResult;
using testing::RunProcess;
using testing::TempFolder;
using testing::WriteStationConfig;

// SIGTERM while "Start" moves the old records away: the station still
// stops, without --run-for.
TEST(StartUp, SigtermWhileStartingIsNotLost) {
  TempFolder dir;
  WriteStationConfig(dir);
  for (int i = 0; i < 5000; ++i) dir.Write("watched/" + std::to_string(100000 + i) + ".sg2", "x");
  BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start"},
                            dir.Path("station.out"));
  const std::string old = dir.Path("dest/WaveformFiles_old");
  for (int i = 0; i < 200000 && !std::filesystem::exists(old); ++i) ::usleep(100);
  station.Signal(SIGTERM);
  const bool ended = station.EndsWithin(8000);
  EXPECT_TRUE(ended) << dir.Read("station.out");
  if (ended) {
    EXPECT_EQ(station.Wait(), 0);
  }
  EXPECT_NE(dir.Read("station.out").find("zentrova-station: stopped"), std::string::npos);
  // The stop ended the moves between two files: none lost, the rest wait in
  // the watched folder for the next start.
  const size_t left = RegularFilesBelow(dir.Path("watched")).size();
  EXPECT_GT(left, 0u);
  EXPECT_EQ(left + RegularFilesBelow(old).size(), 5000u);
}

// A hang-up, and a reader of the output that went away (the station piped
// into `head`), stop the station cleanly or not at all: never killed
// mid-cycle by the signal's default.
TEST(StartUp, AHangUpOrABrokenOutputPipeDoesNotKillTheStation) {
  TempFolder dir;
  WriteStationConfig(dir);
  {
    // The station keeps hang-ups ignored when it was started so (a test run
    // under nohup): start it with the default.
    struct sigaction hup = {}, before = {};
    hup.sa_handler = SIG_DFL;
    ::sigaction(SIGHUP, &hup, &before);
    BackgroundProcess station({testing::kStationProgram, "--config-dir", dir.Path("cfg"), "--start"},
                              dir.Path("station.out"));
    ::sigaction(SIGHUP, &before, nullptr);
    for (int i = 0; i < 3000 && dir.Read("station.out").find("Monitor started") == std::string::npos; ++i) {
      ::usleep(10000);
    }
    station.Signal(SIGHUP);
    const bool ended = station.EndsWithin(15000);
    EXPECT_TRUE(ended) << dir.Read("station.out");
    if (ended) {
      EXPECT_EQ(station.Wait(), 0) << dir.Read("station.out");
    }
    EXPECT_NE(dir.Read("station.out").find("zentrova-station: stopped"), std::string::npos);
  }
  // The output pipe closes after its first line; the station runs on to its
  // end and files what arrives meanwhile.
  ASSERT_EQ(testing::WriteRecords(dir.Path("watched"), 3).exitCode, 0);
  const ProcessResult piped = RunProcess(
      {"/bin/bash", "-c", "set -o pipefail; \"$0\" --config-dir \"$1\" --start --run-for 3 | head -n 1 >/dev/null",
       testing::kStationProgram, dir.Path("cfg")});
  EXPECT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_EQ(RegularFilesBelow(dir.Path("dest/WaveformFiles_old")).size(), 3u);
}

// --config-dir cfg, or ZENTROVA_CONFIG_DIR=cfg, with watched and destination
// folders written relative: the cycle makes the watched folder current, and
// everything still points where it pointed at start: the records are filed
// into dest, and the sender still finds its settings for the last message.
TEST(StartUp, RelativeFoldersKeepTheirPlace) {
  for (bool byEnvironment : {false, true}) {
    TempFolder dir;
    testing::LocalSmtpServer smtp(dir);
    ASSERT_FALSE(smtp.port.empty());
    std::filesystem::create_directories(dir.Path("cfg"));
    std::filesystem::create_directories(dir.Path("watched"));
    dir.Write("cfg/Zentrova.ini",
              "[General]\nZENTROVA_CURRENT_FOLDER_PATH=watched\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=dest\n"
              "sMyName=SITE\nbMoveToFolder=1\niInterval=0\nbSnedReport=1\n");
    dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=" + smtp.port +
                                     "\nSenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\n"
                                     "SMTPUsername=\n");
    std::vector<std::string> argv{testing::kStationProgram, "--start", "--run-for", "3"};
    if (byEnvironment) {
      ::setenv("ZENTROVA_CONFIG_DIR", "cfg", 1);
    } else {
      argv.insert(argv.begin() + 1, {"--config-dir", "cfg"});
    }
    testing::ProcessResult run;
    std::thread station([&] { run = RunProcess(argv, dir.path()); });
    ::usleep(1200000);
    const auto tc = testing::WriteRecords(dir.Path("watched"), 2);
    station.join();
    ::unsetenv("ZENTROVA_CONFIG_DIR");
    EXPECT_EQ(tc.exitCode, 0);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("Folder path is " + dir.Path("watched") + "\n"), std::string::npos) << run.out;
    EXPECT_EQ(RegularFilesBelow(dir.Path("dest/WaveformFiles")).size(), 2u) << byEnvironment << "\n" << run.out;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("watched/dest")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("watched/cfg")));
    bool closed = false;
    for (int wait = 0; wait < 100 && !closed; ++wait) {
      for (int i = 1; std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".rcpt")); ++i) {
        closed = closed || dir.Read("message-" + std::to_string(i) + ".eml").find("Zentrova was closed.") !=
                               std::string::npos;
      }
      ::usleep(50000);
    }
    EXPECT_TRUE(closed) << "by environment " << byEnvironment << "\n" << run.out;
  }
}

}  // namespace
}  // namespace zentrova

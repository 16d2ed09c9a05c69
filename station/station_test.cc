// The station as users run it: zentrova-station and TC.exe as real child
// processes on real folders; and a long run of the simulator against the
// document.

#include <malloc.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <chrono>
#include <filesystem>
#include <regex>
#include <fstream>
#include <set>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "detection/event_run.h"
#include "monitor/station_fixture.h"
#include "notify/send_report.h"
#include "tools/tc_simulator/acquisition_simulator.h"
#include "records/record_file_name.h"
#include "station/station_test_support.h"
#include "testing/child_process.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RunProcess;
using testing::TempFolder;

// Bytes of heap in use by this process (the sanitizer's count when it
// owns the allocator).
size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

const std::string kStation = ZENTROVA_STATION;
const std::string kTc = ZENTROVA_TC;

std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (auto& e : std::filesystem::recursive_directory_iterator(folder, ec)) {
    if (e.is_regular_file()) files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void WriteConfig(const TempFolder& dir, const std::string& extra = "") {
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nsMyName=SITE\nbMoveToFolder=1\niInterval=0\n" + extra);
}

TEST(Station, FilesWhatTheControllerWritesAndFindsItsEvents) {
  TempFolder dir;
  WriteConfig(dir, "bEventDetection=1\nbConcatenate=1\nnDataConcatenate=3000\n");
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nEVENT_DETECTION_MINIMUM_N_CHANNEL=2\n");
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "6"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  ::usleep(800000);
  auto tc = RunProcess({kTc, "--out", dir.Path("watched"), "--count", "10", "--interval-ms", "150", "--traces", "4",
                        "--samples", "3000", "--sample-interval-us", "500", "--events", "5",
                        "--start-time", "2020-03-15 08:59:57"});
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  EXPECT_EQ(station.Wait(), 0);
  const std::string out = dir.Read("station.out");
  EXPECT_NE(out.find("Monitor started by timer\n"), std::string::npos) << out;
  EXPECT_NE(out.find("1000.sg2 (Number of traces = 4 GPS=No GPS 08:59:57.000 03/15/2020 )\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("Sub folder was changed\n"), std::string::npos) << out;
  EXPECT_NE(out.find("zentrova-station: stopped"), std::string::npos);
  EXPECT_NE(out.find("Event detection active\n"), std::string::npos) << out;
  EXPECT_NE(out.find("1004.sg2 (Number of traces = 4"), std::string::npos) << out;
  EXPECT_NE(out.find("1 events were detected.\n"), std::string::npos) << out;
  EXPECT_NE(out.find("0 events were detected.\n"), std::string::npos) << out;
  std::string events;
  for (const auto& f : FilesBelow(dir.Path("dest"))) {
    if (f.find("EventDetection_2") != std::string::npos) events = dir.Read(f.substr(dir.path().size() + 1));
  }
  EXPECT_NE(events.find("Event: 1009.sg2 "), std::string::npos) << events;  // the last run's record
  const auto filed = FilesBelow(dir.Path("dest/WaveformFiles"));
  ASSERT_EQ(filed.size(), 10u);
  EXPECT_EQ(filed.front(), dir.Path("dest/WaveformFiles/2020/202003/20200315/2020031508/20200315_085957.000_SITE_1000.dat"));
  EXPECT_EQ(filed.back(), dir.Path("dest/WaveformFiles/2020/202003/20200315/2020031509/20200315_090010.000_SITE_1009.dat"));
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path("watched")));
  // The finished hour 08 was joined while the station went on.
  EXPECT_NE(out.find("Data will be concatenated\n"), std::string::npos) << out;
  std::vector<std::string> joined;
  for (const auto& f : FilesBelow(dir.Path("dest/WaveformFiles_concatenated/2020/202003/20200315"))) {
    if (f.find("_concatenated_") != std::string::npos) joined.push_back(std::filesystem::path(f).filename().string());
  }
  EXPECT_EQ(joined, std::vector<std::string>{"20200315_085957.000_SITE_concatenated_1000_1001.dat"});
}

TEST(Station, StopsCleanlyOnSigterm) {
  TempFolder dir;
  WriteConfig(dir);
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start"}, dir.Path("station.out"));
  ::usleep(700000);
  station.Signal(SIGTERM);
  EXPECT_EQ(station.Wait(), 0);
  EXPECT_NE(dir.Read("station.out").find("zentrova-station: stopped"), std::string::npos);
}

// Without --start and without bAutoStart the station only waits, and says
// so once, with how to start it.
TEST(Station, SaysOnceThatMonitoringIsOffWithoutStart) {
  TempFolder dir;
  WriteConfig(dir);
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "1"}, dir.Path("station.out"));
  EXPECT_EQ(station.Wait(), 0);
  const std::string out = dir.Read("station.out");
  const std::string line = "Monitoring is off: no record is taken until it is started. Start it with zentrova-station "
                           "--start, or set bAutoStart=1 in " + dir.Path("cfg") + "/Zentrova.ini\n";
  const size_t at = out.find(line);
  EXPECT_NE(at, std::string::npos) << out;
  EXPECT_EQ(out.find(line, at + 1), std::string::npos) << out;
  EXPECT_EQ(out.find("Monitor started"), std::string::npos) << out;
}

// A second station on the same configuration folder (the service and one
// started by hand) would file every record twice over: it ends at once,
// naming the first, and once the first has gone a station starts again.
TEST(Station, ASecondStationOnTheSameFolderEndsAtOnce) {
  TempFolder dir;
  WriteConfig(dir);
  BackgroundProcess first({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "60"},
                          dir.Path("first.out"));
  ASSERT_GE(testing::WaitForText(dir, "first.out", "Monitor interval is", 20000), 0) << dir.Read("first.out");
  EXPECT_EQ(dir.Read("cfg/Zentrova.lock"), std::to_string(first.pid()) + "\n");
  const auto start = std::chrono::steady_clock::now();
  const testing::ProcessResult second = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--start"});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(second.exitCode, 2);
  EXPECT_EQ(second.err, "zentrova-station: another station runs on the configuration folder " + dir.Path("cfg") +
                            " (pid " + std::to_string(first.pid()) + "); this one ends\n");
  EXPECT_EQ(second.out.find("Monitor"), std::string::npos) << second.out;
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
  const testing::ProcessResult after = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "0.3"});
  EXPECT_EQ(after.exitCode, 0) << after.err;
}

// Whatever stands at the lock file's name (a FIFO, a folder, a link), the
// folder itself is locked: the second station still ends.
TEST(Station, TheLockHoldsWhateverStandsAtTheLockFilesName) {
  for (int kind = 0; kind < 3; ++kind) {
    SCOPED_TRACE(kind);
    TempFolder dir;
    WriteConfig(dir);
    const std::string lock = dir.Path("cfg/Zentrova.lock");
    if (kind == 0) ::mkfifo(lock.c_str(), 0644);
    if (kind == 1) std::filesystem::create_directory(lock);
    if (kind == 2) std::filesystem::create_symlink(dir.Path("nowhere"), lock);
    BackgroundProcess first({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "30"}, dir.Path("first.out"));
    ASSERT_GE(testing::WaitForText(dir, "first.out", "Monitor interval is", 20000), 0) << dir.Read("first.out");
    const testing::ProcessResult second = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "1"});
    EXPECT_EQ(second.exitCode, 2) << second.out;
    EXPECT_NE(second.err.find("another station runs on the configuration folder"), std::string::npos) << second.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("nowhere")));
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(), 0);
  }
}

TEST(Station, RunsOnDefaultsWhenItsSettingsAreDamaged) {
  TempFolder dir;
  std::filesystem::create_directories(dir.Path("cfg"));
  std::string noise;
  for (int i = 0; i < 3000; ++i) noise.push_back(static_cast<char>((i * 97 + 13) % 256));
  dir.Write("cfg/Zentrova.ini", noise);
  auto run = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "0.5"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Monitor interval is 8.00 sec"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Folder path is "), std::string::npos);
}

TEST(Station, ItsMessagesArriveByEmail) {
  TempFolder dir;
  testing::LocalSmtpServer smtp(dir);
  ASSERT_FALSE(smtp.port.empty());
  WriteConfig(dir, "bSnedReport=1\nnMinNoFile=0\n");
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=" + smtp.port +
                                   "\nSenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\n"
                                   "SMTPUsername=\n");
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "4"},
                            dir.Path("station.out"));
  ::usleep(700000);
  auto tc = RunProcess({kTc, "--out", dir.Path("watched"), "--count", "2", "--interval-ms", "100", "--traces", "2",
                        "--samples", "100"});
  EXPECT_EQ(tc.exitCode, 0);
  EXPECT_EQ(station.Wait(), 0);
  for (int i = 0; i < 100 && !std::filesystem::exists(dir.Path("message-2.rcpt")); ++i) ::usleep(50000);
  std::string all;
  for (int i = 1; std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".eml")); ++i) {
    all += dir.Read("message-" + std::to_string(i) + ".eml");
  }
  // Each subject says what happened after the words filters match.
  for (const char* subject : {"Subject: Message from Zentrova at SITE: started\r\n",
                              "Subject: Message from Zentrova at SITE: no new file for 0 minutes\r\n",
                              "Subject: Message from Zentrova at SITE: closed\r\n"}) {
    EXPECT_NE(all.find(subject), std::string::npos) << subject << "\n" << all.substr(0, 400);
  }
  // No survey file: the battery line says there is no reading.
  EXPECT_NE(all.find("Battery voltage: no reading ("), std::string::npos) << all.substr(0, 400);
  EXPECT_NE(all.find("Zentrova started."), std::string::npos) << all.substr(0, 400);
  EXPECT_NE(all.find("Warnig ! There was no new file more than 0 minutes."), std::string::npos) << dir.Read("station.out");
  EXPECT_NE(all.find("Zentrova was closed."), std::string::npos) << all.substr(all.size() > 600 ? all.size() - 600 : 0);
}

// The log file's text of the one run in dir/dest.
std::string RunLogFile(const TempFolder& dir) {
  for (const auto& f : FilesBelow(dir.Path("dest"))) {
    if (std::filesystem::path(f).filename().string().rfind("ZentrovaLog_", 0) == 0) return testing::ReadFileBytes(f);
  }
  return "";
}

// With the mail server down the closing message fails while the station
// ends: what the outbox says of it comes before the closing line, which
// stays the log file's last.
TEST(Station, TheClosingLineStaysTheLogFilesLastWhenTheClosingMailFails) {
  TempFolder dir;
  WriteConfig(dir, "bSnedReport=1\n");
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=1\n"
                               "SenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\n");
  const testing::ProcessResult run = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "1"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string log = RunLogFile(dir);
  ASSERT_NE(log.find("Zentrova was closed.\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.substr(log.size() - 22), "Zentrova was closed.\r\n") << log;
  EXPECT_NE(log.find("was not delivered"), std::string::npos) << log;  // the outbox's line, before it
}

// The product key turns unreadable while the station runs (here it is
// replaced by a folder), and the last report is handed on only as the
// station closes, behind a slow sender: it finds the key so and says it.
TEST(Station, ClosesCleanlyWhenTheProductKeyTurnsUnreadable) {
  TempFolder dir;
  WriteConfig(dir, "bSnedReport=1\n");
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nReceiverEMailAddress=op@example.org\n");
  // The station with a sender beside it that takes 2 s for every message.
  std::filesystem::create_directories(dir.Path("bin"));
  std::error_code linked;
  std::filesystem::create_hard_link(kStation, dir.Path("bin/zentrova-station"), linked);
  if (linked) std::filesystem::copy_file(kStation, dir.Path("bin/zentrova-station"));
  dir.Write("bin/ZuveRadeRI.exe", "#!/bin/sh\nsleep 2\n");
  std::filesystem::permissions(dir.Path("bin/ZuveRadeRI.exe"), std::filesystem::perms::owner_all);
  BackgroundProcess station({dir.Path("bin/zentrova-station"), "--config-dir", dir.Path("cfg"), "--start",
                             "--run-for", "1"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  for (int i = 0; i < 200 && dir.Read("station.out").find("Monitor started") == std::string::npos; ++i) {
    ::usleep(20000);
  }
  // The start's report is with the sender now; the closing one waits behind it.
  std::filesystem::rename(dir.Path("cfg/product.ini"), dir.Path("product.ini.was"));
  std::filesystem::create_directory(dir.Path("cfg/product.ini"));
  EXPECT_EQ(station.Wait(), 0) << dir.Read("station.out");
  const std::string out = dir.Read("station.out");
  EXPECT_NE(out.find("product.ini could not be read"), std::string::npos) << out;
  EXPECT_NE(out.find("zentrova-station: stopped"), std::string::npos) << out;
}

TEST(Station, KeepsMonitoringWhileTheReportServerHangs) {
  TempFolder dir;
  testing::LocalHttpServer server(dir, "--hang");
  ASSERT_FALSE(server.port.empty());
  // Every cycle without a record sends the no-file warning to the web server.
  WriteConfig(dir, "bSnedReport=1\nbReportEMail=0\nbReportWebServer=1\nnMinNoFile=0\nsServerURL=" +
                       server.Url("/report_registration.php") + "\n");
  const auto start = std::chrono::steady_clock::now();
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "4"},
                            dir.Path("station.out"));
  ::usleep(700000);
  auto tc = RunProcess({kTc, "--out", dir.Path("watched"), "--count", "6", "--interval-ms", "300", "--traces", "2",
                        "--samples", "100"});
  EXPECT_EQ(tc.exitCode, 0);
  EXPECT_EQ(station.Wait(), 0);
  // The run's 4 s, and at most a few seconds for the forms still under way at the end.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(12));
  const std::string out = dir.Read("station.out");
  EXPECT_EQ(FilesBelow(dir.Path("dest/WaveformFiles")).size(), 6u) << out;
  EXPECT_NE(out.find("Warnig ! There was no new file more than 0 minutes."), std::string::npos) << out;
  EXPECT_NE(out.find("zentrova-station: stopped"), std::string::npos);
}

// The parts of a document that mails its events through the real sender
// to a local SMTP server on `port`.
struct EventMailParts {
  EventMailParts(const TempFolder& dir, const std::string& port) : product(fs, dir.Path("cfg/product.ini"), "Kalvane Applications") {
    for (const auto& [k, v] : std::vector<std::pair<std::string, std::string>>{
             {"SMTPServer", "127.0.0.1"}, {"iPortNumber", port}, {"SenderEMailAddress", "station@example.org"},
             {"ReceiverEMailAddress", "op@example.org"}, {"SMTPUsername", ""}, {"EVENT_DETECTION_MINIMUM_N_CHANNEL", "2"}}) {
      product.Set(k, v);
    }
    profile.values = {{"ZENTROVA_CURRENT_FOLDER_PATH", dir.Path("watched")},
                      {"ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH", dir.Path("dest")},
                      {"sMyName", "SITE"}, {"bSnedReport", "1"}, {"bEventDetection", "1"}, {"bSendMail", "1"},
                      {"bMoveToFolder", "1"}};
    system.programPath = kStation;  // the sender program lies beside the station
  }
  auto Refs() { return std::tie(fs, product, clock, platform, launcher, http); }
  LinuxFileSystem fs;
  MemoryStore profile;
  IniFileStore product;
  FakeClock clock{1584259445};
  FixedSystemInfo system;
  RecordingPrompt prompt;
  Platform platform{fs, profile, product, clock, system, prompt};
  PosixLauncher launcher;
  CurlHttpClient http;
};

// A record with an event, put into the watched folder whole; its bytes.
std::string DropEventRecord(const TempFolder& dir) {
  SimulatorOptions o;
  o.traces = 4;
  o.samples = 3000;
  o.sampleIntervalUs = 500;
  o.eventEvery = 1;
  o.startTime = 1584259445;
  const std::string bytes = SimulatedRecord(o, 0);
  dir.Write("record.tmp", bytes);
  std::filesystem::rename(dir.Path("record.tmp"), dir.Path("watched/1000.sg2"));
  return bytes;
}

// The event message as the sender program sends it: the filed record and
// the waveform image attached. The image comes from the display's drawing;
// here a stand-in file in the destination's EventImage folder takes its place.
TEST(Station, AnEventMessageArrivesWithBothAttachments) {
  TempFolder dir;
  testing::LocalSmtpServer smtp(dir);
  ASSERT_FALSE(smtp.port.empty());
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  ::setenv("ZENTROVA_CONFIG_DIR", dir.Path("cfg").c_str(), 1);  // where the sender reads the product key
  EventMailParts parts(dir, smtp.port);
  auto [fs, product, clock, platform, launcher, http] = parts.Refs();
  MailOutbox mailbox(product, launcher);  // one message after the other through the product key
  ReportChannels reports{launcher, http, nullptr, nullptr, nullptr, nullptr, &mailbox};
  CZentrovaDoc doc(platform);
  ConnectEventDetection(doc);
  ConnectReports(doc, reports);
  const std::string image = dir.Path("dest/EventImage/EventImage_1000.png");
  std::filesystem::create_directories(dir.Path("dest/EventImage"));
  dir.Write("dest/EventImage/EventImage_1000.png", std::string("\x89PNG\r\n\x1a\n", 8) + "waveforms");
  doc.services.drawEventImage = [&](int, int) { return image; };
  doc.StartUp();
  doc.bEventDetection = 1;
  doc.MoveExistingFiles();

  const std::string written = DropEventRecord(dir);
  ASSERT_EQ(doc.CheckNewFiles(), 1);

  std::string message;
  int number = 0;
  for (int wait = 0; wait < 200 && message.empty(); ++wait) {
    for (int i = 1; std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".rcpt")); ++i) {
      const std::string text = dir.Read("message-" + std::to_string(i) + ".eml");
      if (text.find("events were detected in 1000") != std::string::npos) {
        message = text;
        number = i;
      }
    }
    ::usleep(50000);
  }
  ::unsetenv("ZENTROVA_CONFIG_DIR");
  ASSERT_FALSE(message.empty()) << "no event message arrived";
  EXPECT_NE(message.find("1 events were detected in 1000"), std::string::npos);
  EXPECT_TRUE(std::regex_search(message, std::regex("Subject: Message from Zentrova at SITE: event "
                                                    "[0-2][0-9]:[0-5][0-9]:[0-5][0-9], [0-9]+ channels?\r\n")))
      << message.substr(0, 600);
  // The start-up message sent just before kept its own text.
  const std::string other = dir.Read("message-" + std::to_string(number == 1 ? 2 : 1) + ".eml");
  EXPECT_NE(other.find("Zentrova started."), std::string::npos) << other;
  EXPECT_EQ(other.find("events were detected"), std::string::npos) << other;
  const std::string prefix = dir.Path("message-" + std::to_string(number) + "-");
  EXPECT_EQ(dir.Read("message-" + std::to_string(number) + "-EventImage_1000.png"),
            dir.Read("dest/EventImage/EventImage_1000.png"));
  std::string record;
  for (const auto& f : FilesBelow(dir.path())) {
    if (f.rfind(prefix, 0) == 0 && f.find("_SITE_1000.dat") != std::string::npos) record = f;
  }
  ASSERT_FALSE(record.empty()) << "the record was not attached: " << ::testing::PrintToString(FilesBelow(dir.path()));
  EXPECT_EQ(testing::ReadFileBytes(record), written);
}

// With the mail server away the event mail is queued, not sent: "Mail was
// sent" comes once the sender delivered it, after the server came up.
TEST(Station, AnEventMailReadsAsSentOnlyOnceDelivered) {
  TempFolder dir, smtpDir;
  const std::string smtpPort = testing::FreePort();
  ASSERT_FALSE(smtpPort.empty());
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  ::setenv("ZENTROVA_CONFIG_DIR", dir.Path("cfg").c_str(), 1);  // where the sender reads the product key
  EventMailParts parts(dir, smtpPort);
  auto [fs, product, clock, platform, launcher, http] = parts.Refs();
  CZentrovaDoc doc(platform);
  OutboxOptions o;
  o.folder = dir.Path("cfg/outbox");
  o.firstPauseMs = 100;
  o.maxPauseMs = 400;
  o.log = [&doc](const std::string& line) {  // as the station logs its outboxes
    doc.activityLog.Add(line);
    doc.activityLog.AppendToLogFile(line);
  };
  MailOutbox mailbox(product, launcher, 30000, 64, o, &fs, &clock);
  ReportChannels reports{launcher, http, nullptr, nullptr, nullptr, nullptr, &mailbox};
  ConnectEventDetection(doc);
  ConnectReports(doc, reports);
  doc.services.drawEventImage = [](int, int) { return std::string(); };
  doc.StartUp();
  doc.bEventDetection = 1;
  doc.MoveExistingFiles();
  DropEventRecord(dir);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  auto logFile = [&doc] { return testing::ReadFileBytes(doc.activityLog.LogFile()); };
  const std::string failed = "E-mail \"1 events were detected in 1000\" was not delivered, will try again";
  for (int i = 0; i < 200 && logFile().find(failed) == std::string::npos; ++i) ::usleep(50000);
  std::string log = logFile();
  ASSERT_NE(log.find(failed), std::string::npos) << log;
  EXPECT_NE(log.find("Mail was queued\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Mail was sent"), std::string::npos) << log;

  testing::LocalSmtpServer smtp(smtpDir, smtpPort);
  ASSERT_FALSE(smtp.port.empty());
  ASSERT_TRUE(mailbox.WaitIdle(15000));
  EXPECT_EQ(mailbox.Sent(), 2u);  // the start-up message and the event
  mailbox.Close(0);
  ::unsetenv("ZENTROVA_CONFIG_DIR");
  log = logFile();
  const size_t sent = log.find("Mail was sent\r\n");
  ASSERT_NE(sent, std::string::npos) << log;
  EXPECT_EQ(log.find("Mail was sent", sent + 1), std::string::npos) << log;  // once: the event mail only
  EXPECT_GT(sent, log.find(failed)) << log;
}

// 2000 records written by the simulator at a high rate while the document
// runs cycle after cycle: every record filed once, under its hour and name.
TEST(Station, TwoThousandRecordsAtAHighRate) {
  testing::StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();
  constexpr int kRecords = 2000;
  BackgroundProcess tc({kTc, "--out", st.watched, "--count", std::to_string(kRecords), "--interval-ms", "0",
                        "--chunks", "3", "--chunk-pause-ms", "0", "--traces", "2", "--samples", "100",
                        "--first-number", "1", "--start-time", "2020-03-15 08:58:30"},
                       st.root.Path("tc.out"));
  int filed = 0;
  size_t heapAtHalf = 0;
  for (int cycle = 0; cycle < 100000 && filed < kRecords; ++cycle) {
    filed += doc.CheckNewFiles();
    if (heapAtHalf == 0 && filed >= 3 * kRecords / 4) heapAtHalf = HeapInUse();  // the known list is full
    if (cycle % 50 == 0) {
      EXPECT_LE(doc.settingsBlock.KnownFiles.Count(), 1024);
    }
  }
  const size_t heapAtEnd = HeapInUse();
  EXPECT_EQ(tc.Wait(), 0);
  ASSERT_EQ(filed, kRecords);
  EXPECT_TRUE(st.Files(st.watched).empty());
  EXPECT_FALSE(std::filesystem::exists(st.destination + "/WaveformFiles_error"));
  const auto files = FilesBelow(st.destination + "/WaveformFiles");
  ASSERT_EQ(files.size(), static_cast<size_t>(kRecords));
  std::set<std::string> expected;
  for (int k = 0; k < kRecords; ++k) {
    const int64_t t = 1584262710 + k / 10;  // 08:58:30 + k x 0.1 s, whole seconds
    const std::string hour = t < 1584262800 ? "2020031508" : "2020031509";
    expected.insert(st.destination + "/WaveformFiles/2020/202003/20200315/" + hour + "/" +
                    RecordFileName(t, 0, "S1", k + 1));
  }
  EXPECT_EQ(std::set<std::string>(files.begin(), files.end()), expected);
  EXPECT_EQ(doc.settingsBlock.nFiledFiles, kRecords);
  EXPECT_EQ(doc.activityLog.Count(), 20);
  // The last 500 records leave the heap as the ones before left it: only
  // the bounded lists hold anything per record, and they are full by then.
  EXPECT_LT(heapAtEnd, heapAtHalf + 64 * 1024) << heapAtHalf << " -> " << heapAtEnd;
}

}  // namespace
}  // namespace zentrova

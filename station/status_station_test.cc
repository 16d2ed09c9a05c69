// zentrova-station --status against a real station: OK while it runs, the
// alarm's level while one stands, unknown once it was killed.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/json.h"
#include "testing/station_config.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RunProcess;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;
const std::string kTc = ZENTROVA_TC;

void WriteConfig(const TempFolder& dir, const std::string& extra) { testing::WriteStationConfig(dir, extra); }

testing::ProcessResult Status(const TempFolder& dir, bool json = false) {
  std::vector<std::string> argv = {kStation, "--status", "--config-dir", dir.Path("cfg")};
  if (json) argv.push_back("--json");
  return RunProcess(argv);
}

// Asks until the answer has the exit status wanted, at most ms.
testing::ProcessResult StatusBecomes(const TempFolder& dir, int code, int ms, bool json = false) {
  testing::ProcessResult r;
  for (int waited = 0; waited <= ms; waited += 100) {
    r = Status(dir, json);
    if (r.exitCode == code) break;
    ::usleep(100000);
  }
  return r;
}

TEST(StationStatus, OkWhileItRunsWarningForALateRecordUnknownOnceKilled) {
  TempFolder dir;
  WriteConfig(dir, "nAlarmLatencySeconds=60\n");
  auto none = Status(dir);
  EXPECT_EQ(none.exitCode, 3) << none.out;
  EXPECT_NE(none.out.find("Zentrova station: UNKNOWN - no status file"), std::string::npos) << none.out;
  EXPECT_FALSE(std::filesystem::exists(dir.Path("cfg/Zentrova.lock")));  // --status took no lock

  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start"}, dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  auto ok = StatusBecomes(dir, 0, 10000);
  ASSERT_EQ(ok.exitCode, 0) << ok.out << dir.Read("station.out");
  EXPECT_NE(ok.out.find("Zentrova station: OK\n"), std::string::npos) << ok.out;
  EXPECT_NE(ok.out.find("Last record:     none since the station started"), std::string::npos) << ok.out;
  struct stat st {};
  ASSERT_EQ(::stat(dir.Path("cfg/station_status.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Records of 2020 arrive now: far later than their data ended.
  auto tc = RunProcess({kTc, "--out", dir.Path("watched"), "--count", "3", "--interval-ms", "50", "--traces", "3",
                        "--samples", "500", "--start-time", "2020-03-15 08:59:57"});
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  auto warning = StatusBecomes(dir, 1, 10000, true);
  ASSERT_EQ(warning.exitCode, 1) << warning.out << dir.Read("station.out");
  const testing::Json j = testing::Json::Parse(warning.out);
  EXPECT_EQ(j["state"].string(), "warning");
  EXPECT_EQ(j["records_last_hour"].number(), 3);
  EXPECT_EQ(j["events_last_hour"].number(), 0);
  EXPECT_EQ(j["last_record_name"].string(), "1002.sg2");
  EXPECT_GT(j["last_record"].number(), 1.6e9);
  EXPECT_GT(j["last_cycle"].number(), 1.6e9);
  EXPECT_GT(j["free_percent"].number(), 0.0);
  EXPECT_TRUE(j["battery_volts"].isNull());  // no survey file
  EXPECT_EQ(j["outbox"]["mail"].number(), 0);
  EXPECT_EQ(j["outbox"]["form"].number(), 0);
  ASSERT_EQ(j["alarms"].size(), 1u);
  EXPECT_NE(j["alarms"][0].string().find("the last record arrived"), std::string::npos) << warning.out;
  EXPECT_NE(dir.Read("station.out").find("Alarm (warning): the last record arrived"), std::string::npos);
  // Three channels seen, each covering the hour since its first record.
  EXPECT_EQ(j["availability"].size(), 3u);

  station.Signal(SIGKILL);
  station.Wait();
  // Three monitor intervals of 0.5 s, at least 3 s: then the status is too old.
  auto unknown = StatusBecomes(dir, 3, 8000);
  EXPECT_EQ(unknown.exitCode, 3) << unknown.out;
  EXPECT_NE(unknown.out.find("Zentrova station: UNKNOWN - the status is "), std::string::npos) << unknown.out;
  EXPECT_NE(unknown.out.find("more than three monitor intervals (3 s)"), std::string::npos) << unknown.out;
}

// No record for longer than nMinNoFile: critical. A clean stop leaves no
// status behind.
TEST(StationStatus, CriticalWhenNoRecordComesAndUnknownAfterAStop) {
  TempFolder dir;
  WriteConfig(dir, "nMinNoFile=0\n");
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start"}, dir.Path("station.out"));
  auto critical = StatusBecomes(dir, 2, 10000);
  ASSERT_EQ(critical.exitCode, 2) << critical.out << dir.Read("station.out");
  EXPECT_NE(critical.out.find("Zentrova station: CRITICAL - 1 alarm\n"), std::string::npos) << critical.out;
  EXPECT_NE(critical.out.find("  critical: no new record for 0 min\n"), std::string::npos) << critical.out;
  station.Signal(SIGTERM);
  EXPECT_EQ(station.Wait(), 0);
  EXPECT_EQ(Status(dir).exitCode, 3);
}

// A free port on the loopback address, as the system hands one out.
std::string FreePort() {
  auto r = RunProcess({"/usr/bin/python3", "-c",
                       "import socket; s = socket.socket(); s.bind(('127.0.0.1', 0)); print(s.getsockname()[1])"});
  std::string port = r.out;
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  return port;
}

std::string FetchMetrics(const std::string& port) {
  auto r = RunProcess({"/usr/bin/python3", "-c",
                       "import sys, urllib.request\n"
                       "try:\n"
                       "  print(urllib.request.urlopen('http://127.0.0.1:" + port + "/metrics', timeout=2).read().decode())\n"
                       "except Exception as e:\n"
                       "  sys.exit(1)\n"});
  return r.exitCode == 0 ? r.out : "";
}

// The textfile the station keeps, read by the real node_exporter's textfile
// collector and served on its /metrics page.
TEST(StationStatus, NodeExporterServesTheStationsMetrics) {
  const std::string exporter = "/usr/bin/prometheus-node-exporter";
  if (::access(exporter.c_str(), X_OK) != 0) {
    GTEST_SKIP() << "prometheus-node-exporter is not installed (scripts/deps.sh installs it)";
  }
  TempFolder dir;
  std::filesystem::create_directories(dir.Path("textfiles"));
  WriteConfig(dir, "sPrometheusTextfileDir=" + dir.Path("textfiles") + "\n");
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start"}, dir.Path("station.out"));
  ASSERT_EQ(StatusBecomes(dir, 0, 10000).exitCode, 0) << dir.Read("station.out");
  auto tc = RunProcess({kTc, "--out", dir.Path("watched"), "--count", "4", "--interval-ms", "50", "--traces", "2",
                        "--samples", "500"});
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  for (int i = 0; i < 100 && dir.Read("textfiles/zentrova.prom").find("zentrova_records_total{site=\"SITE\"} 4\n") ==
                                 std::string::npos;
       ++i) {
    ::usleep(100000);
  }
  const std::string port = FreePort();
  ASSERT_FALSE(port.empty());
  BackgroundProcess node({exporter, "--web.listen-address=127.0.0.1:" + port, "--collector.disable-defaults",
                          "--collector.textfile", "--collector.textfile.directory=" + dir.Path("textfiles")},
                         dir.Path("exporter.out"));
  std::string metrics;
  for (int i = 0; i < 100 && metrics.find("zentrova_") == std::string::npos; ++i) {
    metrics = FetchMetrics(port);
    if (metrics.find("zentrova_") == std::string::npos) ::usleep(100000);
  }
  node.Signal(SIGTERM);
  node.Wait();
  station.Signal(SIGTERM);
  station.Wait();
  ASSERT_NE(metrics.find("zentrova_"), std::string::npos) << dir.Read("exporter.out");
  for (const char* line : {"zentrova_records_total{site=\"SITE\"} 4\n", "zentrova_records_last_hour{site=\"SITE\"} 4\n",
                           "zentrova_events_total{site=\"SITE\"} 0\n",
                           "zentrova_outbox_messages{kind=\"mail\",site=\"SITE\"} 0\n",
                           "zentrova_channel_records{channel=\"1\",site=\"SITE\"} 4\n",
                           "zentrova_channel_records{channel=\"2\",site=\"SITE\"} 4\n",
                           "zentrova_alarms_active{level=\"critical\",site=\"SITE\"} 0\n",
                           "# TYPE zentrova_records_total counter\n"}) {
    EXPECT_NE(metrics.find(line), std::string::npos) << line << "\n" << metrics.substr(0, 3000);
  }
  // No parse error of the textfile: the collector would say so.
  EXPECT_NE(metrics.find("node_textfile_scrape_error 0"), std::string::npos);
}

TEST(StationStatus, WrongArguments) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--json"}, {"--status", "--start"}, {"--status", "--run-for", "3"}}) {
    std::vector<std::string> argv = {kStation};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = RunProcess(argv);
    EXPECT_EQ(r.exitCode, 2) << r.err;
  }
  TempFolder dir;
  auto r = RunProcess({kStation, "--status", "--config-dir", dir.Path("none")});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("none")));  // nothing is created
}

}  // namespace
}  // namespace zentrova

// zentrova-seg2 detect, run as a user runs it: records with a burst at a
// known time, the stored parameters of a configuration folder, overrides,
// folders of records, sweeps; the configuration folder is never touched.

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "records/seg2_writer.h"
#include "records/test_seg2_builder.h"
#include "testing/child_process.h"
#include "testing/json.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::Json;
using testing::RunProcess;

const std::string kDetectTool = ZENTROVA_SEG2_TOOL;
constexpr int64_t kAcquired = 1584273600;  // 2020-03-15 12:00:00 UTC

// Three traces at 1 ms for 4 s of noise of RMS about `noise`, and from
// `burstS` on (when >= 0) a 40 Hz burst of `amplitude`, louder on trace 2.
std::vector<std::vector<float>> BurstTraces(double burstS, double amplitude, double noise = 1.0) {
  constexpr int kTraces = 3, kSamples = 4000;
  std::vector<std::vector<float>> data(kTraces);
  uint32_t seed = 77;
  for (int f = 0; f < kTraces; ++f) {
    for (int j = 0; j < kSamples; ++j) {
      seed = seed * 1664525u + 1013904223u;
      double v = noise * (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * std::sqrt(12.0);
      const double t = j / 1000.0 - burstS;
      if (burstS >= 0 && t >= 0 && t < 1.0) v += amplitude * (f == 2 ? 2.0 : 1.0) * std::sin(2 * M_PI * 40.0 * t);
      data[f].push_back(static_cast<float>(v));
    }
  }
  return data;
}

void WriteBurst(const std::string& path, double burstS, double amplitude = 40.0) {
  const std::vector<std::vector<float>> data = BurstTraces(burstS, amplitude);
  const int kTraces = static_cast<int>(data.size());
  std::vector<CHeader> headers(kTraces);
  for (int f = 0; f < kTraces; ++f) {
    headers[f].nSamples = static_cast<int>(data[f].size());
    headers[f].fSampleInterval = 1000.0f;
    headers[f].nReceiverLoc = 100 * f;
  }
  RecordTimeHeader time;
  time.tAcquisition = kAcquired;
  time.nAcquisitionMs = 250;
  LinuxFileSystem fs;
  ASSERT_TRUE(WriteSeg2File(fs, kTraces, path, data, headers, time).ok());
}

// The traces as a record built string by string, acquired at 12:00:00.250
// on 15 March 2020 and sampled every ms, the first trace with `delay` as its
// DELAY (none when empty).
void WriteBuilt(const std::string& path, const std::vector<std::vector<float>>& traces, const std::string& delay) {
  testing::TestSeg2 file;
  file.fileStrings = {"ACQUISITION_DATE 15/Mar/2020", "ACQUISITION_TIME 12:00:00.250"};
  for (size_t i = 0; i < traces.size(); ++i) {
    std::vector<std::string> strings = {"SAMPLE_INTERVAL 0.001", "RECEIVER_LOCATION " + std::to_string(i)};
    if (i == 0 && !delay.empty()) strings.push_back("DELAY " + delay);
    file.traces.push_back(testing::FloatTrace(strings, traces[i]));
  }
  std::ofstream(path, std::ios::binary) << file.Build();
}

testing::ProcessResult Detect(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"/usr/bin/env", "TZ=UTC", kDetectTool, "detect"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProcess(argv);
}

// Every entry under a folder with its bytes.
std::set<std::string> Contents(const std::string& folder) {
  std::set<std::string> out;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    out.insert(e.path().string() + "=" + (e.is_regular_file() ? testing::ReadFileBytes(e.path().string()) : "/"));
  }
  return out;
}

class DetectCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.Path("config"));
    dir.Write("config/product.ini",
              "[Kalvane Applications]\nEVENT_DETECTION_METHOD=0\nEVENT_DETECTION_CHANNEL_OR=0-2\n"
              "EVENT_DETECTION_RMS_RATIO=10.000000\n");
    WriteBurst(dir.Path("burst.sg2"), 2.0);
  }
  std::vector<std::string> WithConfig(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config-dir", dir.Path("config")});
    return args;
  }
  testing::TempFolder dir;
};

TEST_F(DetectCommandTest, TheEventsOfARecordWithTheStoredParametersAndNothingWritten) {
  const std::set<std::string> before = Contents(dir.path());
  const auto run = Detect(WithConfig({dir.Path("burst.sg2"), "--json"}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Json out = Json::Parse(run.out);
  ASSERT_EQ(out["records"].size(), 1u);
  EXPECT_EQ(out["records"][0]["file"].string(), dir.Path("burst.sg2"));
  const Json& events = out["records"][0]["events"];
  ASSERT_EQ(events.size(), 1u);
  const Json& e = events[0];
  // W2 of 500 ms holds enough of the burst before it begins; its onset is the burst's.
  EXPECT_GT(e["time"].number(), 1.5);
  EXPECT_LT(e["time"].number(), 2.0);
  EXPECT_NEAR(e["onset"].number(), 2.0, 0.005);
  EXPECT_GE(e["channels"].number(), 1);  // the loudest trace triggers first
  EXPECT_LE(e["channels"].number(), 3);
  EXPECT_EQ(e["max_ratio_channel"].number(), 2);  // the loudest trace
  EXPECT_GT(e["max_ratio"].number(), 50);
  EXPECT_GT(e["duration"].number(), 0.0);
  // 12:00:00.250 plus the event time, to the millisecond.
  const double ms = std::round(e["time"].number() * 1000) + 250;
  char clock[40];
  std::snprintf(clock, sizeof clock, "12:00:%06.3f 03/15/2020", ms / 1000.0);
  EXPECT_EQ(e["clock_time"].string(), clock);
  // The text gives the same numbers, with the line the station logs.
  const auto text = Detect(WithConfig({dir.Path("burst.sg2")}));
  ASSERT_EQ(text.exitCode, 0);
  EXPECT_NE(text.out.find(dir.Path("burst.sg2") + ": 1 events were detected.\n  event 1: "), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find(std::string("(") + clock + "), onset 2.0"), std::string::npos) << text.out;
  EXPECT_NE(text.err.find("RMS ratio 10, OR over channels 0-2"), std::string::npos) << text.err;
  EXPECT_EQ(Contents(dir.path()), before);  // no setting, no event file
}

TEST_F(DetectCommandTest, EveryStoredParameterGivesWayToTheCommandLine) {
  WriteBurst(dir.Path("weak.sg2"), 2.0, 4.0);  // a ratio of about 3 to 6
  struct Case {
    std::vector<std::string> args;
    bool found;
  };
  const Case cases[] = {
      {{}, false},
      {{"--ratio", "2.5"}, true},
      {{"--ratio", "2.5", "--and", "3"}, true},
      {{"--ratio", "2.5", "--and", "4"}, false},  // three traces
      {{"--ratio", "2.5", "--channels", "1"}, true},
      {{"--ratio", "2.5", "--window2", "0.001"}, true},  // a test window of one sample still sees the burst
      {{"--ratio", "2.5", "--min-duration", "3"}, false},
      {{"--ratio", "2.5", "--bandpass", "150:400"}, false},  // the burst's 40 Hz is outside
      {{"--ratio", "2.5", "--bandpass", "20:80"}, true},
      {{"--ratio", "2.5", "--bandpass", "150:400", "--bandpass", "off"}, true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = WithConfig({dir.Path("weak.sg2"), "--json"});
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::string shown;
    for (const auto& a : c.args) shown += " " + a;
    SCOPED_TRACE(shown);
    const auto run = Detect(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Json::Parse(run.out)["records"][0]["events"].size() > 0, c.found);
  }
  // A settings file of Zentrova.ini's form instead of the folder.
  dir.Write("quakes.ini", "[General]\nEVENT_DETECTION_METHOD=0\nEVENT_DETECTION_CHANNEL_OR=0-2\n"
                          "EVENT_DETECTION_RMS_RATIO=2.5\n");
  const auto file = Detect({dir.Path("weak.sg2"), "--json", "--config", dir.Path("quakes.ini")});
  ASSERT_EQ(file.exitCode, 0) << file.err;
  EXPECT_EQ(Json::Parse(file.out)["records"][0]["events"].size(), 1u);
}

TEST_F(DetectCommandTest, AFolderStandsForEveryRecordUnderItAndASweepCountsThem) {
  std::filesystem::create_directories(dir.Path("tree/2020/2020_03/2020_03_15/2020_03_15_12"));
  std::filesystem::create_directories(dir.Path("tree/2020/2020_03/2020_03_15/2020_03_15_13"));
  WriteBurst(dir.Path("tree/2020/2020_03/2020_03_15/2020_03_15_12/20200315_120000.000_S_1.dat"), 2.0);
  WriteBurst(dir.Path("tree/2020/2020_03/2020_03_15/2020_03_15_13/20200315_130000.000_S_2.dat"), -1.0);  // quiet
  WriteBurst(dir.Path("tree/2020/2020_03/2020_03_15/2020_03_15_13/20200315_130004.000_S_3.dat"), 1.0, 8.0);
  dir.Write("tree/2020/2020_03/2020_03_15/2020_03_15_12/notes.txt", "not a record");
  const auto listed = Detect(WithConfig({dir.Path("tree"), "--json"}));
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  const Json records = Json::Parse(listed.out)["records"];
  ASSERT_EQ(records.size(), 3u);
  EXPECT_NE(records[0]["file"].string().find("_S_1.dat"), std::string::npos);  // in the order of the tree
  EXPECT_NE(records[2]["file"].string().find("_S_3.dat"), std::string::npos);

  const auto swept = Detect(WithConfig({dir.Path("tree"), "--json", "--sweep", "ratio=2:20:0.5"}));
  ASSERT_EQ(swept.exitCode, 0) << swept.err;
  const Json sweep = Json::Parse(swept.out)["sweep"];
  EXPECT_EQ(sweep["parameter"].string(), "ratio");
  EXPECT_EQ(sweep["records"].number(), 3);
  ASSERT_EQ(sweep["rows"].size(), 37u);
  EXPECT_EQ(sweep["rows"][0]["value"].number(), 2);
  EXPECT_EQ(sweep["rows"][36]["value"].number(), 20);
  for (size_t i = 1; i < 37; ++i) {  // a higher threshold never finds more
    EXPECT_LE(sweep["rows"][i]["records"].number(), sweep["rows"][i - 1]["records"].number());
  }
  EXPECT_EQ(sweep["rows"][36]["records"].number(), 1);  // only the loud burst above 20
  // The loud and the weaker burst at 5; what one run with --ratio 5 finds.
  const auto five = Detect(WithConfig({dir.Path("tree"), "--json", "--ratio", "5"}));
  const Json fiveOut = Json::Parse(five.out);
  int withEvents = 0;
  for (const Json& r : fiveOut["records"].array()) withEvents += r["events"].size() > 0 ? 1 : 0;
  EXPECT_EQ(sweep["rows"][6]["records"].number(), withEvents);
  EXPECT_EQ(withEvents, 2);
}

TEST_F(DetectCommandTest, EveryBadArgumentGetsItsReason) {
  const std::string f = dir.Path("burst.sg2");
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string first;
  };
  const Case cases[] = {
      {{}, 2, "zentrova-seg2: detect wants at least one FILE or FOLDER"},
      {{f, "--ratio"}, 2, "zentrova-seg2: --ratio wants a value"},
      {{f, "--ratio", "abc"}, 2, "zentrova-seg2: --ratio wants a number from 0.001 to 1e+06, not \"abc\""},
      {{f, "--ratio", "0"}, 2, "zentrova-seg2: --ratio wants a number from 0.001"},
      {{f, "--window1", "-1"}, 2, "zentrova-seg2: --window1 wants a number from 1e-06 to 3600, not \"-1\""},
      {{f, "--and", "2.5"}, 2, "zentrova-seg2: --and wants a whole number from 1 to 1024"},
      {{f, "--channels", "abc"}, 2, "zentrova-seg2: --channels wants a channel list"},
      {{f, "--glitch", "50"}, 2, "zentrova-seg2: --glitch wants PERCENT:SAMPLES or off"},
      {{f, "--glitch", "150:10"}, 2, "zentrova-seg2: --glitch wants a whole number from 0 to 100"},
      {{f, "--bandpass", "1-10"}, 2, "zentrova-seg2: --bandpass wants LOW:HIGH in Hz or off"},
      {{f, "--sweep", "ratio=5:2:1"}, 2, "zentrova-seg2: --sweep wants ratio, window1 or window2"},
      {{f, "--sweep", "gap=1:2:1"}, 2, "zentrova-seg2: --sweep wants ratio, window1 or window2"},
      {{f, "--sweep", "ratio=1:100000:0.01"}, 2, "zentrova-seg2: --sweep of more than 1000 values"},
      {{f, "--config", "a", "--config-dir", "b"}, 2, "zentrova-seg2: only one of --config-dir and --config"},
      {{f, "--fast"}, 2, "zentrova-seg2: detect does not know \"--fast\""},
      {{f, "--bandpass", "20:5"}, 2, "zentrova-seg2: --bandpass wants LOW below HIGH (0 leaves that side open), not \"20:5\""},
      {{f, "--bandpass", "5:5"}, 2, "zentrova-seg2: --bandpass wants LOW below HIGH"},
      {{f, "--bandpass", "0:0"}, 2, "zentrova-seg2: --bandpass wants LOW below HIGH"},
      {{f, "--sweep", "window1=0.0000001:1:0.1"}, 2,
       "zentrova-seg2: --sweep window1 wants values from 1e-06 to 3600, not \"window1=0.0000001:1:0.1\""},
      {{f, "--sweep", "window2=1000:4000:1000"}, 2, "zentrova-seg2: --sweep window2 wants values from 1e-06 to 3600"},
      {{f, "--sweep", "ratio=0.0001:1:0.5"}, 2, "zentrova-seg2: --sweep ratio wants values from 0.001 to 1e+06"},
      {{f, "--config", dir.Path("none.ini")}, 1,
       "zentrova-seg2: Settings file " + dir.Path("none.ini") + " could not be read (cannot open "},
      {{f, "--config-dir", f}, 1, "zentrova-seg2: the configuration folder " + f + " is not a folder"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += " " + a;
    SCOPED_TRACE(shown);
    const auto run = Detect(c.args);
    EXPECT_EQ(run.exitCode, c.exit) << run.err;
    EXPECT_EQ(run.err.substr(0, c.first.size()), c.first) << run.err;
    if (c.exit == 2) {
      EXPECT_NE(run.err.find("\nusage: zentrova-seg2 detect"), std::string::npos) << run.err;
    }
    EXPECT_EQ(run.out, "");
  }
  // A record that cannot be read is said; the others are still reported.
  dir.Write("text.sg2", "not a record");
  const auto mixed = Detect(WithConfig({dir.Path("text.sg2"), f}));
  EXPECT_EQ(mixed.exitCode, 1);
  EXPECT_NE(mixed.err.find("text.sg2: not a SEG-2 record"), std::string::npos) << mixed.err;
  EXPECT_NE(mixed.out.find(f + ": 1 events were detected."), std::string::npos) << mixed.out;
}

TEST_F(DetectCommandTest, PlotShowsTheEventsOfTheSameOverrides) {
  WriteBurst(dir.Path("weak.sg2"), 2.0, 4.0);
  const std::vector<std::string> env = {"/usr/bin/env", "ZENTROVA_CONFIG_DIR=" + dir.Path("config"), kDetectTool, "plot"};
  auto plot = [&](std::vector<std::string> args) {
    std::vector<std::string> argv = env;
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv);
  };
  const auto stored = plot({dir.Path("weak.sg2"), dir.Path("a.png"), "--events"});
  ASSERT_EQ(stored.exitCode, 0) << stored.err;
  EXPECT_EQ(stored.out, dir.Path("weak.sg2") + ": 0 events\n");
  const auto lower = plot({dir.Path("weak.sg2"), dir.Path("b.png"), "--events", "--ratio", "2.5"});
  ASSERT_EQ(lower.exitCode, 0) << lower.err;
  EXPECT_EQ(lower.out, dir.Path("weak.sg2") + ": 1 events\n");
  EXPECT_TRUE(std::filesystem::exists(dir.Path("b.png")));
  const auto without = plot({dir.Path("weak.sg2"), dir.Path("c.png"), "--ratio", "2.5"});
  EXPECT_EQ(without.exitCode, 1);
  EXPECT_EQ(without.err, "zentrova-seg2: the detection options belong to --events\n");
  const auto bad = plot({dir.Path("weak.sg2"), dir.Path("c.png"), "--events", "--ratio", "x"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("--ratio wants a number"), std::string::npos) << bad.err;
  // Settings that cannot be read are said as detect says them.
  std::filesystem::create_directories(dir.Path("unread/product.ini"));
  const auto unread = RunProcess({"/usr/bin/env", "ZENTROVA_CONFIG_DIR=" + dir.Path("unread"), kDetectTool, "plot",
                                  dir.Path("weak.sg2"), dir.Path("d.png"), "--events"});
  EXPECT_EQ(unread.exitCode, 0) << unread.err;
  EXPECT_EQ(unread.err, "zentrova-seg2: Settings file " + dir.Path("unread") + "/product.ini could not be read (cannot open " +
                            dir.Path("unread") + "/product.ini: is a folder); the built-in detection parameters are used\n");
}

// A DELAY no calendar can follow (the first trace's, which the clock time
// adds): the events are listed with their times from the first sample and
// without a clock time.
TEST_F(DetectCommandTest, AClockTimeThatCannotBeToldIsLeftOut) {
  const auto traces = BurstTraces(2.0, 40.0);
  struct Case {
    std::string delay;
    std::string clock;  // "" for none
  };
  const Case cases[] = {
      {"0.5", "12:00:02.2"},  // the event lies some 0.3 s before the burst at 2 s
      {"1e18", ""},
      {"1e30", ""},
      {"-1e30", ""},
      {"3e38", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay);
    WriteBuilt(dir.Path("delayed.sg2"), traces, c.delay);
    const auto json = Detect(WithConfig({dir.Path("delayed.sg2"), "--json"}));
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const Json out = Json::Parse(json.out);
    const Json& events = out["records"][0]["events"];
    ASSERT_EQ(events.size(), 1u);
    const auto text = Detect(WithConfig({dir.Path("delayed.sg2")}));
    ASSERT_EQ(text.exitCode, 0) << text.err;
    if (c.clock.empty()) {
      EXPECT_TRUE(events[0]["clock_time"].isNull());
      EXPECT_NE(text.out.find(" s, onset "), std::string::npos) << text.out;
      EXPECT_EQ(text.out.find("("), std::string::npos) << text.out;
    } else {
      EXPECT_EQ(events[0]["clock_time"].string().substr(0, c.clock.size()), c.clock);
      EXPECT_NE(text.out.find(" (" + c.clock), std::string::npos) << text.out;
    }
  }
}

// A burst over a background of nearly nothing: the largest ratio is the
// largest told, a number in the text and the JSON alike.
TEST_F(DetectCommandTest, ALargestRatioBeyondAnyFloatIsStillANumber) {
  WriteBuilt(dir.Path("silent.sg2"), BurstTraces(2.0, 1e10, 1e-30), "");
  const auto json = Detect(WithConfig({dir.Path("silent.sg2"), "--json"}));
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const Json out = Json::Parse(json.out);
  const Json& events = out["records"][0]["events"];
  ASSERT_GE(events.size(), 1u);  // one each half a second of the burst
  EXPECT_EQ(events[0]["max_ratio"].number(), 1e10);
  const auto text = Detect(WithConfig({dir.Path("silent.sg2")}));
  EXPECT_NE(text.out.find("largest RMS ratio 10000000000.00 on channel "), std::string::npos) << text.out;
}

// A product.ini that is there but cannot be read is said in the station's
// words, and the built-in parameters are used, as the station uses them; a
// settings file named with --config that cannot be read ends the command.
TEST_F(DetectCommandTest, ASettingsFileThatCannotBeReadIsSaid) {
  const bool root = ::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) == 0;
  WriteBurst(dir.Path("burst.sg2"), 2.0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);  // for the runs as nobody
  ASSERT_EQ(::chmod(dir.Path("burst.sg2").c_str(), 0644), 0);
  struct Case {
    std::string name;
    std::function<void(const std::string& folder)> make;
    std::string reason;  // what the note gives in brackets, from its start
    bool asNobody = false;
  };
  const std::string big(1100000, ';');
  const Case cases[] = {
      {"folder", [](const std::string& d) { std::filesystem::create_directories(d + "/product.ini"); },
       "cannot open FOLDER/product.ini: is a folder"},
      {"FIFO", [](const std::string& d) { ASSERT_EQ(::mkfifo((d + "/product.ini").c_str(), 0644), 0); },
       "cannot open FOLDER/product.ini: is a FIFO, not a regular file"},
      {"over 1 MiB", [&](const std::string& d) { std::ofstream(d + "/product.ini") << big; },
       "FOLDER/product.ini is 1100000 bytes long, more than the 1048576 of a settings file"},
      {"link to a folder",
       [](const std::string& d) { std::filesystem::create_directory_symlink(d, d + "/product.ini"); },
       "cannot open FOLDER/product.ini: is a folder"},
      {"link to nothing", [](const std::string& d) { std::filesystem::create_symlink(d + "/gone", d + "/product.ini"); },
       "cannot open FOLDER/product.ini: No such file or directory"},
      {"unreadable file",
       [](const std::string& d) {
         std::ofstream(d + "/product.ini") << "[Kalvane Applications]\nEVENT_DETECTION_METHOD=0\n";
         ::chmod((d + "/product.ini").c_str(), 0600);
       },
       "cannot open FOLDER/product.ini: Permission denied", true},
      {"unreadable folder",
       [](const std::string& d) {
         std::ofstream(d + "/product.ini") << "[Kalvane Applications]\nEVENT_DETECTION_METHOD=0\n";
         ::chmod(d.c_str(), 0700);
       },
       "cannot open FOLDER/product.ini: Permission denied", true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.asNobody && !root) {
      std::cout << "skipped: " << c.name << " needs root and setpriv to run as a second user (nobody)\n";
      continue;
    }
    const std::string folder = dir.Path("config" + std::to_string(++n));
    std::filesystem::create_directories(folder);
    ::chmod(folder.c_str(), 0755);
    c.make(folder);
    std::vector<std::string> argv = {"/usr/bin/env", "TZ=UTC", kDetectTool, "detect", dir.Path("burst.sg2"),
                                     "--config-dir", folder};
    if (c.asNobody) argv.insert(argv.begin(), {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    const auto run = RunProcess(argv);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string reason = c.reason;
    reason.replace(reason.find("FOLDER"), 6, folder);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1),
              "zentrova-seg2: Settings file " + folder + "/product.ini could not be read (" + reason +
                  "); the built-in detection parameters are used\n");
    // The built-in AND of 5 channels: nothing in three traces.
    EXPECT_NE(run.out.find(": 0 events were detected."), std::string::npos) << run.out;
  }
  std::ofstream(dir.Path("big.ini")) << "[General]\nEVENT_DETECTION_METHOD=0\n" << big;
  const auto file = Detect({dir.Path("burst.sg2"), "--config", dir.Path("big.ini")});
  EXPECT_EQ(file.exitCode, 1);
  const std::string size = std::to_string(std::filesystem::file_size(dir.Path("big.ini")));
  EXPECT_EQ(file.err, "zentrova-seg2: Settings file " + dir.Path("big.ini") + " could not be read (" + dir.Path("big.ini") +
                          " is " + size + " bytes long, more than the 1048576 of a settings file)\n");
  EXPECT_EQ(file.out, "");
}

// The band-pass as it runs: stored corners out of order are used in order
// and said once, a corner a record's sampling cannot hold is said once for
// all the records sampled alike, and small corners keep their digits.
TEST_F(DetectCommandTest, TheBandPassInForceIsSaid) {
  dir.Write("config/product.ini",
            "[Kalvane Applications]\nEVENT_DETECTION_METHOD=0\nEVENT_DETECTION_CHANNEL_OR=0-2\n"
            "EVENT_DETECTION_BANDPASS=1\nEVENT_DETECTION_BANDPASS_LOW=80\nEVENT_DETECTION_BANDPASS_HIGH=20\n");
  std::filesystem::create_directories(dir.Path("two"));
  WriteBurst(dir.Path("two/a.sg2"), 2.0);
  WriteBurst(dir.Path("two/b.sg2"), 2.0);
  const auto stored = Detect(WithConfig({dir.Path("two")}));
  ASSERT_EQ(stored.exitCode, 0) << stored.err;
  EXPECT_EQ(stored.err,
            "zentrova-seg2: product.ini: EVENT_DETECTION_BANDPASS_LOW=80 and EVENT_DETECTION_BANDPASS_HIGH=20 are out of "
            "order; 20 to 80 Hz is used.\n"
            "zentrova-seg2: W1 100 ms, W2 500 ms, RMS ratio 10, OR over channels 0-2, merged events, band-pass 20 to 80 "
            "Hz\n");
  EXPECT_NE(stored.out.find("a.sg2: 1 events"), std::string::npos) << stored.out;  // the 40 Hz burst is inside
  struct Case {
    std::string band;
    std::string err;
  };
  const Case cases[] = {
      {"20:600",
       "zentrova-seg2: W1 100 ms, W2 500 ms, RMS ratio 10, OR over channels 0-2, merged events, band-pass 20 to 600 Hz\n"
       "zentrova-seg2: " + dir.Path("two/a.sg2") + ": The band-pass 20 to 600 Hz does not fit below the Nyquist "
       "frequency of 500 Hz; only its high-pass at 20 Hz is used.\n"},
      {"1e-9:1e-8",
       "zentrova-seg2: W1 100 ms, W2 500 ms, RMS ratio 10, OR over channels 0-2, merged events, band-pass 1e-09 to 1e-08 "
       "Hz\n"},
      {"0:30", "zentrova-seg2: W1 100 ms, W2 500 ms, RMS ratio 10, OR over channels 0-2, merged events, band-pass up "
               "to 30 Hz\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.band);
    for (const std::string sweep : {"", "ratio=5:10:5"}) {
      std::vector<std::string> args = WithConfig({dir.Path("two"), "--bandpass", c.band});
      if (!sweep.empty()) args.insert(args.end(), {"--sweep", sweep});
      const auto run = Detect(args);
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(run.err, c.err);
    }
  }
}

}  // namespace
}  // namespace zentrova

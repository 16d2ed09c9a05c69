// The record tool run as users run it, on the shared real records and on
// broken files.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/json.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::Json;
using testing::RunProcess;

const std::string kTool = ZENTROVA_SEG2_TOOL;
const std::string kSeg2Folder = testing::SharedSeg2Folder();

TEST(Seg2Tool, DumpsEverySharedRecordAsTheIndependentReadingHasIt) {
  ZENTROVA_NEEDS_SHARED_DATA();
  size_t checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSeg2Folder)) {
    const std::string path = entry.path().string();
    if (path.size() < 9 || path.compare(path.size() - 9, 9, ".ref.json") != 0) continue;
    const std::string record = path.substr(0, path.size() - 9);
    SCOPED_TRACE(record);
    auto run = RunProcess({kTool, "dump", "--json", record});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json dump = Json::Parse(run.out);
    const Json ref = Json::Parse(testing::ReadFileBytes(path));
    ASSERT_EQ(dump["traces"].number(), ref["trace_count"].number());
    EXPECT_EQ(dump["status"].number(), 0);
    EXPECT_EQ(dump["time"]["valid"].number(), ref["file_strings"].has("ACQUISITION_DATE") ? 1 : 0);
    for (size_t i = 0; i < dump["trace"].size(); ++i) {
      const Json& ours = dump["trace"][i];
      const Json& theirs = ref["traces"][i];
      EXPECT_EQ(ours["samples"].number(), theirs["nsamples"].number());
      EXPECT_NEAR(ours["interval_us"].number(), theirs["delta"].number() * 1e6, 1e-3);
      for (size_t k = 0; k < theirs["first5"].size(); ++k) {
        EXPECT_EQ(static_cast<float>(ours["first"][k].number()), static_cast<float>(theirs["first5"][k].number()));
        EXPECT_EQ(static_cast<float>(ours["last"][k].number()), static_cast<float>(theirs["last5"][k].number()));
      }
      const double sum = theirs["sum_abs"].number();
      EXPECT_NEAR(ours["abs_sum"].number(), sum, 1e-6 * sum + 1e-9);
      EXPECT_NEAR(ours["max_abs"].number(), std::max(std::fabs(theirs["min"].number()), theirs["max"].number()),
                  1e-6 * sum + 1e-9);
    }
    ++checked;
  }
  EXPECT_GE(checked, 16u);
}

TEST(Seg2Tool, InfoSummarisesARecord) {
  ZENTROVA_NEEDS_SHARED_DATA();
  auto run = RunProcess({kTool, "info", kSeg2Folder + "/swprocess_wghs_6.dat"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("traces 24 of 24"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("samples 1500 at 1000 us"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("acquisition keywords"), std::string::npos) << run.out;
}

TEST(Seg2Tool, RejectsBrokenAndMissingFiles) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder dir;
  const std::string whole = testing::ReadFileBytes(kSeg2Folder + "/swprocess_wghs_6.dat");
  dir.Write("cut.dat", whole.substr(0, whole.size() / 2));
  auto cut = RunProcess({kTool, "dump", "--json", dir.Path("cut.dat")});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_EQ(Json::Parse(cut.out)["status"].number(), 2);
  EXPECT_NE(cut.err.find("rejected"), std::string::npos);
  EXPECT_EQ(std::count(cut.err.begin(), cut.err.end(), '\n'), 1);

  auto missing = RunProcess({kTool, "dump", "--json", dir.Path("none.dat")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("none.dat"), std::string::npos);

  dir.Write("noise.mtn", std::string(600, 'x'));
  auto noise = RunProcess({kTool, "dump", "--json", dir.Path("noise.mtn")}, dir.path());
  EXPECT_EQ(noise.exitCode, 1);

  EXPECT_EQ(RunProcess({kTool, "dump", dir.Path("cut.dat")}).exitCode, 2);
}

TEST(Seg2Tool, PrintsKindsOfNames) {
  auto run = RunProcess({kTool, "kind", "a.sg2", "b.orb", "rec.23", "x.Dat"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "a.sg2 0 0\nb.orb 16 16\nrec.23 -1 15\nx.Dat -1 0\n");
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

TEST(Seg2Tool, JoinsAFolder) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("hour"));
  std::filesystem::create_directories(dir.Path("out"));
  const std::string record = testing::ReadFileBytes(kSeg2Folder + "/swprocess_wghs_6.dat");
  // a_7 is the record one record later (its stamp has whole seconds).
  std::string later = record;
  later.replace(later.find("ACQUISITION_TIME 16:55:09"), 25, "ACQUISITION_TIME 16:55:10");
  dir.Write("hour/a_7.dat", later);
  dir.Write("hour/a_6.dat", record);
  auto run = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--length", "1500", "--name", "X"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string path = run.out.substr(0, run.out.find('\n'));
  EXPECT_NE(path.find("_X_concatenated_6_7.dat"), std::string::npos) << path;
  auto info = RunProcess({kTool, "dump", "--json", path});
  ASSERT_EQ(info.exitCode, 0);
  const Json dump = Json::Parse(info.out);
  EXPECT_EQ(dump["traces"].number(), 24);
  EXPECT_EQ(dump["trace"][0]["samples"].number(), 3000);
  EXPECT_EQ(RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--length", "9999"}).exitCode, 1);
}

}  // namespace
}  // namespace zentrova

#include "platform/linux_file_system.h"
#include "records/record_file_name.h"
#include "records/seg2_writer.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(Seg2Tool, EveryBadArgumentGetsItsReason) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("hour"));
  dir.Write("empty.dat", "");
  dir.Write("zeros.dat", std::string(4096, '\0'));
  dir.Write("text.dat", "This is a note about the survey, not a record.\n");
  dir.Write("afile", "x");
  const std::string d = dir.path();
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string first;  // the start of the first line of the message
  };
  const Case cases[] = {
      {{"--help"}, 0, "usage: zentrova-seg2 info FILE"},
      {{"-h"}, 0, "usage: zentrova-seg2 info FILE"},
      {{}, 2, "zentrova-seg2: a command is missing"},
      {{"bogus"}, 2, "zentrova-seg2: unknown command \"bogus\""},
      {{"info"}, 2, "zentrova-seg2: info wants one FILE"},
      {{"info", "a", "b"}, 2, "zentrova-seg2: info wants one FILE"},
      {{"dump", d + "/text.dat"}, 2, "zentrova-seg2: dump wants --json and one FILE"},
      {{"join", d + "/hour"}, 2, "zentrova-seg2: join wants a SOURCE_FOLDER and a TARGET_FOLDER"},
      {{"join", d + "/hour", d + "/out", "--length"}, 2, "zentrova-seg2: --length wants a number of samples"},
      {{"join", d + "/hour", d + "/out", "--length", "abc"}, 2,
       "zentrova-seg2: --length wants a whole number of samples (0: the longest record), not \"abc\""},
      {{"join", d + "/hour", d + "/out", "--length", "-5"}, 2, "zentrova-seg2: --length wants a whole number"},
      {{"join", d + "/hour", d + "/out", "--length", "2s"}, 2, "zentrova-seg2: --length wants a whole number"},
      {{"join", d + "/hour", d + "/out", "--name"}, 2, "zentrova-seg2: --name wants a text"},
      {{"join", d + "/hour", d + "/out", "--fast"}, 2, "zentrova-seg2: join does not know \"--fast\""},
      {{"info", d + "/empty.dat"}, 1, "zentrova-seg2: " + d + "/empty.dat: not a SEG-2 record"},
      {{"info", d + "/zeros.dat"}, 1, "zentrova-seg2: " + d + "/zeros.dat: not a SEG-2 record"},
      {{"info", d + "/text.dat"}, 1, "zentrova-seg2: " + d + "/text.dat: not a SEG-2 record"},
      {{"dump", "--json", d + "/zeros.dat"}, 1, "zentrova-seg2: " + d + "/zeros.dat: not a SEG-2 record"},
      {{"info", d + "/none.dat"}, 1, "zentrova-seg2: cannot open"},
      {{"join", d + "/none", d + "/out"}, 1, "zentrova-seg2: cannot read the source folder " + d + "/none: "},
      {{"join", d + "/afile", d + "/out"}, 1, "zentrova-seg2: cannot read the source folder " + d + "/afile: "},
      {{"join", d + "/hour", d + "/afile/out"}, 1, "zentrova-seg2: cannot create the target folder " + d + "/afile/out: "},
      {{"join", d + "/hour", d + "/afile"}, 1,
       "zentrova-seg2: cannot create the target folder " + d + "/afile: it is not a folder"},
      {{"join", d + "/hour", "/proc/zentrova/out"}, 1, "zentrova-seg2: cannot create the target folder /proc/zentrova/out: "},
      {{"join", d + "/hour", d + "/out"}, 1, "zentrova-seg2: No joined record written for " + d + "/hour: no record to join"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv{kTool};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::string shown;
    for (const auto& a : c.args) shown += " " + a;
    SCOPED_TRACE(shown);
    const auto run = RunProcess(argv);
    EXPECT_EQ(run.exitCode, c.exit) << run.err;
    const std::string& message = c.exit == 0 ? run.out : run.err;
    EXPECT_EQ(FirstLine(message).substr(0, c.first.size()), c.first) << message;
    if (c.exit == 2) {
      EXPECT_NE(run.err.find("\nusage: zentrova-seg2 "), std::string::npos) << run.err;
    }
    if (c.exit != 0) {
      EXPECT_TRUE(run.out.empty()) << run.out;
    }
  }
}

// Writes a record of `traces` traces of `samples` samples at `intervalUs`,
// acquired at timeMs, its first sample delayUs later; timeMs < 0 writes a
// record without a record time.
void WriteRecord(const std::string& path, int traces, int samples, float intervalUs, int64_t timeMs, float level = 0,
                 float delayUs = 0) {
  std::vector<CHeader> headers(static_cast<size_t>(traces));
  std::vector<std::vector<float>> data(static_cast<size_t>(traces));
  for (int f = 0; f < traces; ++f) {
    headers[f].nSamples = samples;
    headers[f].fSampleInterval = intervalUs;
    headers[f].fDelay = delayUs;
    headers[f].nReceiverLoc = 100 * f;
    for (int j = 0; j < samples; ++j) data[f].push_back(level + static_cast<float>((j * 7 + f) % 97));
  }
  RecordTimeHeader t;
  t.tAcquisition = timeMs < 0 ? 0 : timeMs / 1000;
  t.nAcquisitionMs = timeMs < 0 ? 0 : static_cast<int>(timeMs % 1000);
  LinuxFileSystem fs;
  ASSERT_TRUE(WriteSeg2File(fs, traces, path, data, headers, t).ok());
  if (timeMs < 0) {
    std::string bytes = testing::ReadFileBytes(path);
    for (const char* key : {"ACQUISITION_DATE", "ACQUISITION_TIME"}) bytes[bytes.find(key)] = 'X';
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
}

constexpr int64_t kNoon = 1584273600000;  // 2020-03-15 12:00:00 UTC, in ms

int Samples(const std::string& path) {
  const auto dump = RunProcess({kTool, "dump", "--json", path});
  if (dump.exitCode != 0) return -1;
  return static_cast<int>(Json::Parse(dump.out)["trace"][0]["samples"].number());
}

// What `info` says of a record's first sample ("16:55:08.500 06/09/2017").
std::string FirstSampleOf(const std::string& path) {
  const auto run = RunProcess({kTool, "info", path});
  const std::string key = "first sample ";
  const size_t at = run.out.find(key);
  if (run.exitCode != 0 || at == std::string::npos) return "(info says no first sample: " + run.err + ")";
  const size_t from = at + key.size();
  return run.out.substr(from, run.out.find('\n', from) - from);
}

TEST(Seg2Tool, AJoinedRecordBeginsAtItsFirstRecordsFirstSample) {
  ZENTROVA_NEEDS_SHARED_DATA();
  // Real records with their DELAY (-0.5 s, +0.2 s, -0.010 s), each joined alone.
  struct Case {
    const char* record;
    const char* firstSample;
    const char* joined;
  };
  for (const Case& c : {Case{"swprocess_wghs_6.dat", "16:55:08.500 06/09/2017", "20170609_165508.500_X_concatenated_1_1.dat"},
                        Case{"pyrefra_Example_Rec_00001.seg2", "14:26:29.200 10/17/2021",
                             "20211017_142629.200_X_concatenated_1_1.dat"},
                        Case{"obspy_20180307_031245000.0.seg2", "03:12:44.990 03/07/2018",
                             "20180307_031244.990_X_concatenated_1_1.dat"}}) {
    SCOPED_TRACE(c.record);
    testing::TempFolder dir;
    std::filesystem::create_directories(dir.Path("hour"));
    dir.Write("hour/r_1.dat", testing::ReadFileBytes(kSeg2Folder + "/" + c.record));
    ASSERT_EQ(FirstSampleOf(dir.Path("hour/r_1.dat")), c.firstSample);
    const auto run = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--name", "X"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, dir.Path("out/") + c.joined + "\n");
    EXPECT_EQ(FirstSampleOf(dir.Path("out/") + c.joined), c.firstSample);
  }
}

TEST(Seg2Tool, RecordsWithADelayAreJoinedAtTheTimesOfTheirSamples) {
  // Two records of 1 s: when the second was acquired after the first, and
  // the DELAY of each. A second record whose first sample follows the
  // first record's last is joined on; one that begins later is a joined
  // record of its own. Every joined record begins where its first record does.
  struct Case {
    int64_t secondAtMs;
    float firstDelayUs, secondDelayUs;
    size_t joined;
  };
  for (const Case& c : {Case{1000, -250000.0f, -250000.0f, 1}, Case{1000, 1500000.0f, 1500000.0f, 1},
                        Case{2000, 0.0f, -1000000.0f, 1}, Case{1000, 0.0f, 1000000.0f, 2}}) {
    SCOPED_TRACE(::testing::Message() << c.secondAtMs << " " << c.firstDelayUs << " " << c.secondDelayUs);
    testing::ScopedTimeZone tz{"UTC"};
    testing::TempFolder dir;
    std::filesystem::create_directories(dir.Path("hour"));
    const std::string records[2] = {dir.Path("hour/r_1.dat"), dir.Path("hour/r_2.dat")};
    WriteRecord(records[0], 2, 1000, 1000.0f, kNoon + 500, 0, c.firstDelayUs);
    WriteRecord(records[1], 2, 1000, 1000.0f, kNoon + 500 + c.secondAtMs, 0, c.secondDelayUs);
    const auto run = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--name", "X"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto paths = Lines(run.out);
    ASSERT_EQ(paths.size(), c.joined) << run.out << run.err;
    for (size_t k = 0; k < paths.size(); ++k) {
      EXPECT_EQ(FirstSampleOf(paths[k]), FirstSampleOf(records[k])) << paths[k];
      EXPECT_EQ(Samples(paths[k]), c.joined == 1 ? 2000 : 1000) << paths[k];
    }
  }
}

TEST(Seg2Tool, AJoinKeepsEverySampleAtItsTime) {
  // Ten records from 12:00:00 and ten from 12:00:30, the acquisition paused
  // in between: two joined records, each at its own time.
  testing::ScopedTimeZone tz{"UTC"};
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("hour"));
  for (int k = 0; k < 20; ++k) {
    WriteRecord(dir.Path("hour/r_" + std::to_string(k + 1) + ".dat"), 3, 1000, 1000.0f,
                kNoon + 1000 * (k < 10 ? k : k + 20));
  }
  const auto run = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--name", "X"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto paths = Lines(run.out);
  ASSERT_EQ(paths.size(), 2u) << run.out;
  EXPECT_EQ(paths[0], dir.Path("out/" + JoinedRecordFileName(kNoon / 1000, 0, "X_concatenated", 1, 10)));
  EXPECT_EQ(paths[1], dir.Path("out/" + JoinedRecordFileName(kNoon / 1000 + 30, 0, "X_concatenated", 11, 20)));
  for (const auto& p : paths) EXPECT_EQ(Samples(p), 10000) << p;
  const std::string gap = "Time gap: r_11.dat starts 20.000 s after its place in the joined record; it begins a new "
                          "joined record";
  EXPECT_NE(run.err.find("zentrova-seg2: " + gap + "\n"), std::string::npos) << run.err;
  EXPECT_NE(dir.Read("out/ConcatenateSeg2.txt").find(gap + "\r\n"), std::string::npos);
}

TEST(Seg2Tool, AClockJumpOfAboutOneRecordLengthBeginsANewJoinedRecord) {
  // Records of 1 s; from the fourth on the clock jumps by `jumpMs`: one
  // record lost (+1000), its time repeated (-1000), or one sample either
  // side of these. Only a jitter well under the record length is joined on.
  struct Case {
    int jumpMs;
    size_t joined;
  };
  for (const Case& c : {Case{1, 1}, Case{-1, 1}, Case{400, 1}, Case{-400, 1}, Case{600, 2}, Case{999, 2},
                        Case{1000, 2}, Case{1001, 2}, Case{-999, 2}, Case{-1000, 2}, Case{-1001, 2}}) {
    SCOPED_TRACE(c.jumpMs);
    testing::ScopedTimeZone tz{"UTC"};
    testing::TempFolder dir;
    std::filesystem::create_directories(dir.Path("hour"));
    for (int k = 0; k < 6; ++k) {
      WriteRecord(dir.Path("hour/r_" + std::to_string(k + 1) + ".dat"), 2, 1000, 1000.0f,
                  kNoon + 1000 * k + (k >= 3 ? c.jumpMs : 0));
    }
    const auto run = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--name", "X"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto paths = Lines(run.out);
    ASSERT_EQ(paths.size(), c.joined) << run.out << run.err;
    EXPECT_EQ(run.err.find("Time gap: r_4.dat") != std::string::npos, c.joined == 2) << run.err;
    if (c.joined == 2) {
      EXPECT_EQ(Samples(paths[1]), 3000) << paths[1];
    }
  }
}

TEST(Seg2Tool, RecordsThatDoNotBelongTogetherAreLeftOut) {
  // 24 traces at 250 us from 2013 first, then 48 traces, 62.5 us, undated,
  // and one from 2019.
  testing::ScopedTimeZone tz{"UTC"};
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("hour"));
  const int64_t t2013 = 1357554600000, t2019 = 1552644000000;
  WriteRecord(dir.Path("hour/r_1.dat"), 24, 4000, 250.0f, t2013);
  WriteRecord(dir.Path("hour/r_2.dat"), 48, 4000, 250.0f, t2013 + 1000);
  WriteRecord(dir.Path("hour/r_3.dat"), 24, 16000, 62.5f, t2013 + 1000);
  WriteRecord(dir.Path("hour/r_4.dat"), 24, 4000, 250.0f, -1);
  WriteRecord(dir.Path("hour/r_5.dat"), 24, 4000, 250.0f, t2013 + 1000);
  WriteRecord(dir.Path("hour/r_6.dat"), 24, 4000, 250.0f, t2019);
  WriteRecord(dir.Path("hour/odd\\r_7.dat"), 24, 4000, 250.0f, -1);  // a backslash is part of a name here
  const auto run = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--name", "X"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto paths = Lines(run.out);
  ASSERT_EQ(paths.size(), 2u) << run.out;
  EXPECT_EQ(paths[0], dir.Path("out/" + JoinedRecordFileName(t2013 / 1000, 0, "X_concatenated", 1, 5)));
  EXPECT_EQ(paths[1], dir.Path("out/" + JoinedRecordFileName(t2019 / 1000, 0, "X_concatenated", 6, 6)));
  EXPECT_EQ(Samples(paths[0]), 8000);
  const auto dump = Json::Parse(RunProcess({kTool, "dump", "--json", paths[0]}).out);
  EXPECT_EQ(dump["traces"].number(), 24);
  EXPECT_EQ(dump["trace"][0]["interval_us"].number(), 250);
  EXPECT_EQ(dump["time"]["acquisition"].string(), "10:30:00.000 01/07/2013");
  const std::string report = dir.Read("out/ConcatenateSeg2.txt");
  for (const std::string line : {"Not joined: r_2.dat (48 traces, the first record has 24)",
                                 "Not joined: r_3.dat (sample interval 62.5 us, the first record has 250 us)",
                                 "Not joined: r_4.dat (no record time, so it cannot be placed in time)",
                                 "Not joined: odd\\r_7.dat (no record time, so it cannot be placed in time)"}) {
    EXPECT_NE(run.err.find("zentrova-seg2: " + line + "\n"), std::string::npos) << line << "\n" << run.err;
    EXPECT_NE(report.find(line + "\r\n"), std::string::npos) << line;
  }
}

TEST(Seg2Tool, AJoinedRecordIsNotJoinedAgain) {
  testing::ScopedTimeZone tz{"UTC"};
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("st"));
  for (int k = 0; k < 5; ++k) WriteRecord(dir.Path("st/r_" + std::to_string(k + 1) + ".dat"), 2, 2000, 500.0f, kNoon + 1000 * k);
  const auto first = RunProcess({kTool, "join", dir.Path("st"), dir.Path("st"), "--name", "X"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const std::string path = FirstLine(first.out);
  const std::string bytes = testing::ReadFileBytes(path);
  const auto second = RunProcess({kTool, "join", dir.Path("st"), dir.Path("st"), "--name", "X"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(second.out, first.out);
  EXPECT_TRUE(testing::ReadFileBytes(path) == bytes) << "the joined record changed";
  EXPECT_EQ(Samples(path), 10000);
  EXPECT_NE(second.err.find("Not joined: " + path.substr(path.rfind('/') + 1) + " (a joined record)"),
            std::string::npos)
      << second.err;
}

TEST(Seg2Tool, LengthsThatCutOrSkipDataAreSaid) {
  testing::ScopedTimeZone tz{"UTC"};
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("hour"));
  for (int k = 0; k < 4; ++k) WriteRecord(dir.Path("hour/r_" + std::to_string(k + 1) + ".dat"), 2, 2000, 500.0f, kNoon + 1000 * k);
  // 1000 of 2000 samples: the rest is taken as overlap, and the records do
  // not lie where 1000 samples each would put them.
  const auto cut = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--length", "1000", "--name", "X"});
  ASSERT_EQ(cut.exitCode, 0) << cut.err;
  const std::string overlap = "Overlap: the records hold up to 2000 samples and the data length is 1000, so the last "
                              "1000 samples of each record are taken as its overlap with the next record (the last "
                              "record's are left out)";
  EXPECT_NE(cut.err.find("zentrova-seg2: " + overlap + "\n"), std::string::npos) << cut.err;
  EXPECT_NE(dir.Read("out/ConcatenateSeg2.txt").find(overlap + "\r\n"), std::string::npos);
  EXPECT_NE(cut.err.find("Time gap: r_3.dat starts 1.000 s after its place"), std::string::npos) << cut.err;
  EXPECT_EQ(Lines(cut.out).size(), 2u) << cut.out;
  // Longer than the records: nothing is written, and the reason is given.
  const auto none = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("none"), "--length", "5000"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_TRUE(none.out.empty());
  EXPECT_NE(none.err.find("zentrova-seg2: No joined record written for " + dir.Path("hour") +
                          ": the data length 5000 is longer than the records (2000 samples)\n"),
            std::string::npos)
      << none.err;
}

}  // namespace
}  // namespace zentrova

// The join, checked byte for byte against the join of the records held
// whole in memory, as the description of the join reads.

#include "concat/concatenation.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "concat/overlap_lag.h"
#include "platform/fault_file_system.h"
#include "platform/forwarding_file_system.h"
#include "platform/linux_file_system.h"
#include "platform/memory_file_system.h"
#include "records/record_file_name.h"
#include "records/seg2_append.h"
#include "records/seg2_header_scan.h"
#include "records/seg2_reader.h"
#include "records/seg2_writer.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

// The DELAY of the records, unless a test gives another: their first
// samples lie 0.5 s before their acquisition times.
constexpr int64_t kDelayMs = -500;

// Writes a record of `traces` traces acquired at the time timeMs (ms since
// 1970); trace f, sample j is value(f, j).
template <typename F>
void WriteRecordAt(FileSystem& fs, const std::string& path, int traces, int samples, int64_t timeMs, F value,
                   float intervalUs = 1000.0f, float delayUs = kDelayMs * 1000.0f) {
  std::vector<CHeader> headers(static_cast<size_t>(traces));
  std::vector<std::vector<float>> data(static_cast<size_t>(traces));
  for (int f = 0; f < traces; ++f) {
    headers[f].nSamples = samples;
    headers[f].fSampleInterval = intervalUs;
    headers[f].nReceiverLoc = 250 * f + 100;
    headers[f].fDelay = delayUs;
    for (int j = 0; j < samples; ++j) data[f].push_back(value(f, j));
  }
  RecordTimeHeader t;
  t.tAcquisition = timeMs / 1000;
  t.nAcquisitionMs = static_cast<int>(timeMs % 1000);
  ASSERT_TRUE(WriteSeg2File(fs, traces, path, data, headers, t).ok());
}

// The name of the joined record whose first record was acquired at
// acquisitionMs: the time of its first sample.
std::string JoinedName(int64_t acquisitionMs, int first, int last, int64_t delayMs = kDelayMs) {
  const int64_t ms = acquisitionMs + delayMs;
  return JoinedRecordFileName(ms / 1000, static_cast<int>(ms % 1000), "S1_concatenated", first, last);
}

// The same at `time` seconds and 250 ms.
template <typename F>
void WriteRecord(FileSystem& fs, const std::string& path, int traces, int samples, int64_t time, F value) {
  WriteRecordAt(fs, path, traces, samples, time * 1000 + 250, value);
}

// The join with the whole output in memory, step by step as described.
std::string JoinInMemory(FileSystem& fs, ConcatenationJob job) {
  std::vector<size_t> order(static_cast<size_t>(job.nFiles));
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return job.pNumbers[a] < job.pNumbers[b]; });
  const int t = job.nNominalLength, L = job.nPresetLength == 0 ? t : job.nPresetLength;
  if (L > t || L <= 0) return "";
  const int n = t - L;
  const bool correct = n > 0;
  const int64_t total = static_cast<int64_t>(L) * job.nFiles;
  const size_t traces = static_cast<size_t>(job.nMaxTraces);
  std::vector<std::vector<float>> out(traces, std::vector<float>(static_cast<size_t>(total), 0.0f));
  std::vector<std::vector<float>> tails(traces, std::vector<float>(static_cast<size_t>(n), 0.0f));
  std::vector<int64_t> furthest(traces, -1);
  std::vector<CHeaderXY> headers(traces);
  std::vector<std::vector<float>> data;
  RecordTimeHeader first;
  RecordingPrompt prompt;
  int64_t offset = 0;
  int maxH = 0;
  for (int k = 0; k < job.nFiles; ++k) {
    RecordTimeHeader time;
    const int count = AppendSeg2File(fs, prompt, job.pFiles[order[k]], t, 0, 1, headers, data, time);
    if (count < 0) return "";
    if (k == 0) first = time;
    for (size_t f = 0; f < static_cast<size_t>(count) && f < traces; ++f) {
      const auto& x = data[f];
      const int64_t ns = std::min<int64_t>(headers[f].nSamples, static_cast<int64_t>(x.size()));
      const int H = static_cast<int>(std::min<int64_t>(ns, L));
      maxH = std::max(maxH, H);
      int s = 0;
      if (n > 0 && k >= 1) {
        std::vector<float> head(static_cast<size_t>(n), 0.0f);
        for (int j = 0; j < n && j < ns; ++j) head[j] = x[j];
        s = BestOverlapLagDirect(n, tails[f].data(), head.data());
      }
      if (correct) {
        for (int64_t j = 0; j < ns; ++j) {
          const int64_t p = offset + j + s;
          if (p < 0 || p >= total || (furthest[f] >= 0 && p < furthest[f] - 17)) continue;
          out[f][p] = x[j];
          furthest[f] = std::max(furthest[f], p);
        }
      } else {
        for (int64_t j = 0; j < H && offset + j < total; ++j) out[f][offset + j] = x[j];
      }
      for (int q = 0; q < n; ++q) tails[f][q] = L + q < ns ? x[L + q] : 0.0f;
    }
    for (size_t f = static_cast<size_t>(std::max(count, 0)); f < traces; ++f) {
      std::fill(tails[f].begin(), tails[f].end(), 0.0f);
    }
    offset += maxH;
  }
  // The first record's acquisition time and the DELAY of its traces, as the
  // reader has them.
  SeismicRecord firstRecord;
  int status = 0;
  if (ReadSeg2File(fs, firstRecord, job.pFiles[order[0]], 1, 1, status) < static_cast<int>(traces)) return "";
  headers.resize(traces);
  for (size_t f = 0; f < traces; ++f) {
    headers[f].nSamples = static_cast<int32_t>(total);
    headers[f].fDelay = firstRecord.pHeader[f].fDelay;
  }
  RecordTimeHeader time;
  time.tAcquisition = first.tAcquisition;
  time.nAcquisitionMs = first.nAcquisitionMs;
  MemoryFileSystem memory;
  if (!WriteSeg2File(memory, static_cast<int>(traces), "/joined", out, std::span<const CHeaderXY>(headers), time).ok()) {
    return "";
  }
  return memory.Contents("/joined");
}

class Concatenation : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.CreateFolder("/hour");
    fs.CreateFolder("/joined");
  }
  ConcatenationRequest Request(int length) {
    ConcatenationRequest r;
    r.sourceFolder = "/hour";
    r.targetFolder = "/joined";
    r.presetLength = length;
    r.nameText = "S1";
    r.bThreaded = 0;
    return r;
  }
  // Joins as the station does and as the in-memory reference does; the two
  // files must be the same bytes. Returns the joined file's path.
  // With records left out or time gaps, each joined record is compared with
  // the in-memory join of its own records.
  std::string JoinAndCompare(int length, size_t parts = 1) {
    RecordingPrompt prompt;
    job = PlanConcatenation(fs, prompt, Request(length));
    job.tell = [this](const std::string& line) { told.push_back(line); };
    EXPECT_EQ(RunConcatenation(fs, prompt, job), 1) << job.strWhyNot;
    EXPECT_EQ(job.parts.size(), parts);
    for (const JoinedPart& part : job.parts) {
      ConcatenationJob one;
      one.pFiles = part.files;
      one.pNumbers = part.numbers;
      one.nFiles = static_cast<int>(part.files.size());
      one.nNominalLength = job.nNominalLength;
      one.nPresetLength = job.nUsedLength;
      std::vector<CHeaderXY> headers;
      one.nMaxTraces = ScanSeg2Headers(fs, prompt, part.files.front(), headers);
      const std::string expected = JoinInMemory(fs, one);
      EXPECT_FALSE(expected.empty());
      EXPECT_FALSE(fs.Exists(part.path + ".partial"));
      const std::string joined = fs.Contents(part.path);
      EXPECT_EQ(joined.size(), expected.size());
      EXPECT_TRUE(joined == expected) << "the streamed file differs from the in-memory join: " << part.path;
    }
    return job.strResultPath;
  }
  bool Told(const std::string& start) const {
    return std::any_of(told.begin(), told.end(), [&](const std::string& s) { return s.rfind(start, 0) == 0; });
  }
  std::string Report() { return fs.Contents("/joined/ConcatenateSeg2.txt"); }
  // Empties both folders for the next case of a table.
  void Clear() {
    for (const std::string folder : {"/hour", "/joined"}) {
      const auto names = fs.ListFolder(folder);
      for (const auto& name : *names) {
        if (name != "." && name != "..") fs.Remove(folder + "/" + name);
      }
    }
    told.clear();
  }
  std::map<std::string, std::string> Sources() {
    std::map<std::string, std::string> m;
    const auto names = fs.ListFolder("/hour");
    for (const auto& name : *names) {
      if (name[0] != '.') m[name] = fs.Contents("/hour/" + name);
    }
    return m;
  }
  testing::ScopedTimeZone tz{"UTC"};
  MemoryFileSystem fs;
  ConcatenationJob job;
  std::vector<std::string> told;
};

float Wave(int f, int j) { return static_cast<float>((j * 31 + f * 7) % 211) - 105.0f; }

TEST_F(Concatenation, PlainJoinInTheOrderOfTheRunningNumbers) {
  for (int number : {12, 10, 11}) {  // 0.6 s each, one after the other
    WriteRecordAt(fs, "/hour/20200315_0800" + std::to_string(number) + ".000_S1_" + std::to_string(number) + ".dat", 3,
                  600, 1584259210250 + (number - 10) * 600, [&](int f, int j) { return static_cast<float>(number * 1000 + f * 100) + static_cast<float>(j) * 0.01f; });
  }
  const auto before = Sources();
  const std::string path = JoinAndCompare(600);
  EXPECT_EQ(path, "/joined/" + JoinedName(1584259210250, 10, 12));
  SeismicRecord r;
  int status = 0;
  ASSERT_EQ(ReadSeg2File(fs, r, path, 1, 1, status), 3);
  EXPECT_EQ(r.pHeader[0].nSamples, 1800);
  EXPECT_FLOAT_EQ(r.ppData[1][0], 10100.0f);
  EXPECT_FLOAT_EQ(r.ppData[1][600], 11100.0f);
  EXPECT_FLOAT_EQ(r.ppData[1][1799], 12100.0f + 5.99f);
  EXPECT_EQ(r.pHeader[0].fDelay, kDelayMs * 1000.0f);  // the first record's
  EXPECT_EQ(Sources(), before);  // the records themselves are only read
  const std::string log = fs.Contents("/joined/ConcatenateSeg2.txt");
  EXPECT_LT(log.find("10 /hour/"), log.find("11 /hour/"));
  EXPECT_LT(log.find("11 /hour/"), log.find("12 /hour/"));
  EXPECT_NE(log.find(path + "\r\n"), std::string::npos);
}

TEST_F(Concatenation, AJoinedRecordBeginsAtItsFirstRecordsFirstSample) {
  // Three records of 1 s, acquired one after another, with the DELAY of
  // each case: the joined record is read with the first record's
  // first-sample time and named with it.
  for (const float delayUs : {0.0f, -500000.0f, 200000.0f, -10000.0f, -1000000.0f}) {
    SCOPED_TRACE(delayUs);
    Clear();
    const int64_t at = 1584259200250;
    for (int k = 0; k < 3; ++k) {
      WriteRecordAt(fs, "/hour/a_" + std::to_string(k + 1) + ".dat", 2, 1000, at + 1000 * k,
                    [k](int f, int j) { return Wave(f, j + 1000 * k); }, 1000.0f, delayUs);
    }
    const std::string path = JoinAndCompare(1000);
    EXPECT_EQ(path, "/joined/" + JoinedName(at, 1, 3, static_cast<int64_t>(delayUs / 1000.0f)));
    SeismicRecord joined, first;
    int status = 0;
    ASSERT_EQ(ReadSeg2File(fs, joined, path, 1, 1, status), 2);
    ASSERT_EQ(ReadSeg2File(fs, first, "/hour/a_1.dat", 1, 1, status), 2);
    EXPECT_EQ(joined.time.strFirstSample, first.time.strFirstSample);
    EXPECT_EQ(joined.time.tFirstSample, first.time.tFirstSample);
    EXPECT_EQ(joined.time.nFirstSampleMs, first.time.nFirstSampleMs);
    for (const CHeader& h : joined.pHeader) EXPECT_EQ(h.fDelay, delayUs);
    EXPECT_EQ(joined.pHeader[0].nSamples, 3000);
  }
}

TEST_F(Concatenation, LaterRecordsArePlacedByTheTimesOfTheirFirstSamples) {
  // Records of 1 s: when and with what DELAY each was acquired. A record
  // whose first sample is where the joined record has come to is joined
  // on, whatever its acquisition time says; one whose first sample is not
  // begins a new joined record.
  struct Record {
    int64_t atMs;
    float delayUs;
  };
  struct Case {
    const char* what;
    std::vector<Record> records;
    size_t parts;
    std::string gap;
  };
  const Case cases[] = {
      {"one DELAY throughout", {{0, -500000.0f}, {1000, -500000.0f}, {2000, -500000.0f}}, 1, ""},
      {"a DELAY 1 s earlier from the second record on, acquired 1 s later",
       {{0, 0.0f}, {2000, -1000000.0f}, {3000, -1000000.0f}}, 1, ""},
      {"a DELAY 1 s later from the second record on",
       {{0, 0.0f}, {1000, 1000000.0f}, {2000, 1000000.0f}}, 2,
       "Time gap: a_2.dat starts 1.000 s after its place in the joined record"},
      {"a DELAY 1 s earlier from the second record on",
       {{0, 0.0f}, {1000, -1000000.0f}, {2000, -1000000.0f}}, 2,
       "Time gap: a_2.dat starts 1.000 s before its place in the joined record"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Clear();
    for (size_t k = 0; k < c.records.size(); ++k) {
      WriteRecordAt(fs, "/hour/a_" + std::to_string(k + 1) + ".dat", 2, 1000, 1584259200000 + c.records[k].atMs,
                    [k](int f, int j) { return Wave(f, j + 1000 * static_cast<int>(k)); }, 1000.0f,
                    c.records[k].delayUs);
    }
    JoinAndCompare(1000, c.parts);
    EXPECT_EQ(Told("Time gap:"), !c.gap.empty());
    if (!c.gap.empty()) {
      EXPECT_TRUE(Told(c.gap)) << c.gap;
    }
    // Each joined record is named with the time of its first sample.
    for (const JoinedPart& part : job.parts) {
      const size_t k = static_cast<size_t>(part.numbers.front() - 1);
      const Record& r = c.records[k];
      EXPECT_EQ(part.path, "/joined/" + JoinedName(1584259200000 + r.atMs, part.numbers.front(), part.numbers.back(),
                                                   static_cast<int64_t>(r.delayUs / 1000.0f)));
    }
  }
}

TEST_F(Concatenation, OverlapWithLagThree) {
  // Records of 1100 samples with L = 1000 (n = 100): the first 100 samples of
  // record 11 are record 10's from sample 1003 on.
  std::vector<float> stream(5000);
  for (size_t j = 0; j < stream.size(); ++j) stream[j] = Wave(0, static_cast<int>(j)) + 0.001f * static_cast<float>(j);
  WriteRecord(fs, "/hour/a_10.dat", 2, 1100, 1584259200, [&](int, int j) { return stream[j]; });
  WriteRecord(fs, "/hour/a_11.dat", 2, 1100, 1584259201, [&](int, int j) { return stream[1003 + j]; });
  WriteRecord(fs, "/hour/a_12.dat", 2, 1100, 1584259202, [&](int, int j) { return stream[2006 + j]; });
  const std::string path = JoinAndCompare(1000);
  const std::string lags = fs.Contents("/joined/ConcatenateSeg2_overlap_10_12.txt.");
  EXPECT_EQ(lags, "10 11 : 3  3 \r\n11 12 : 3  3 \r\n");
  EXPECT_NE(fs.Contents("/joined/ConcatenateSeg2_correction_10_12.txt.").find(" kk=1082"), std::string::npos);
  SeismicRecord r;
  int status = 0;
  ASSERT_EQ(ReadSeg2File(fs, r, path, 1, 1, status), 2);
  // Record 11's first sample would go to 1003; 1003 to 1081 keep record 10's
  // samples, record 11 writes from 1082 (17 before record 10's last, 1099).
  for (int p = 1003; p < 1082; ++p) EXPECT_EQ(r.ppData[0][p], stream[p]) << p;
  EXPECT_EQ(r.ppData[0][1082], stream[1082]);  // the same sample, now from record 11
  // Each record is placed by its own lag from its nominal offset: record 12
  // starts at 2000 + 3 and holds stream samples from 2006 on.
  EXPECT_EQ(r.ppData[0][2100], stream[2103]);
}

TEST_F(Concatenation, ShortRecordsAndUncorrelatedOverlaps) {
  // Placed by their times as the join places them with L = 800.
  WriteRecordAt(fs, "/hour/a_1.dat", 3, 900, 1584259200000, Wave);
  WriteRecordAt(fs, "/hour/a_2.dat", 3, 500, 1584259200800, [](int f, int j) { return Wave(f + 3, j); });  // short
  WriteRecordAt(fs, "/hour/a_3.dat", 3, 1000, 1584259201600, [](int f, int j) { return Wave(f, j * 3); });
  WriteRecordAt(fs, "/hour/a_4.dat", 3, 1000, 1584259202400, [](int f, int j) { return Wave(f, j + 5); });
  JoinAndCompare(800);  // overlap n = 200, with correction
  EXPECT_TRUE(Told("Overlap: the records hold up to 1000 samples and the data length is 800, so the last 200"));
  told.clear();
  const std::string path = JoinAndCompare(1000);  // plain: the short record leaves zeros up to the next one
  EXPECT_TRUE(Told("Short record: a_2.dat holds 500 samples of 900; zeros fill the rest of its place"));
  EXPECT_FALSE(Told("Overlap:"));
  SeismicRecord r;
  int status = 0;
  ASSERT_EQ(ReadSeg2File(fs, r, path, 1, 1, status), 3);
  EXPECT_EQ(r.pHeader[0].nSamples, 4000);
  EXPECT_EQ(r.ppData[0][1700], 0.0f);  // after the short record, before the third
  EXPECT_NE(r.ppData[0][1800], 0.0f);
}

TEST_F(Concatenation, RecordsUnlikeTheFirstAreLeftOut) {
  WriteRecordAt(fs, "/hour/a_1.dat", 3, 500, 1584259200000, Wave);
  WriteRecordAt(fs, "/hour/a_2.dat", 2, 500, 1584259200500, Wave);                 // other trace count
  WriteRecordAt(fs, "/hour/a_3.dat", 3, 1000, 1584259200500, Wave, 500.0f);        // other sample interval
  std::string undated;
  {
    MemoryFileSystem tmp;
    WriteRecordAt(tmp, "/u", 3, 500, 1584259200500, Wave);
    undated = tmp.Contents("/u");
    for (const char* key : {"ACQUISITION_DATE", "ACQUISITION_TIME"}) undated[undated.find(key)] = 'X';
  }
  fs.AddFile("/hour/a_4.dat", undated);
  WriteRecordAt(fs, "/hour/a_5.dat", 3, 500, 1584259200500, [](int f, int j) { return Wave(f, j + 500); });
  const std::string path = JoinAndCompare(500);
  EXPECT_EQ(path, "/joined/" + JoinedName(1584259200000, 1, 5));
  EXPECT_EQ(job.parts[0].numbers, (std::vector<int>{1, 5}));
  for (const std::string& line : {std::string("Not joined: a_2.dat (2 traces, the first record has 3)"),
                                  std::string("Not joined: a_3.dat (sample interval 500 us, the first record has 1000 us)"),
                                  std::string("Not joined: a_4.dat (no record time, so it cannot be placed in time)")}) {
    EXPECT_TRUE(Told(line)) << line;
    EXPECT_NE(Report().find(line + "\r\n"), std::string::npos) << line;
  }
}

TEST_F(Concatenation, AnUndatedFirstRecordGivesNoDate) {
  std::string undated;
  {
    MemoryFileSystem tmp;
    WriteRecordAt(tmp, "/u", 2, 500, 1584259200000, Wave);
    undated = tmp.Contents("/u");
    for (const char* key : {"ACQUISITION_DATE", "ACQUISITION_TIME"}) undated[undated.find(key)] = 'X';
  }
  fs.AddFile("/hour/a_1.dat", undated);
  fs.AddFile("/hour/a_2.dat", undated);
  RecordingPrompt prompt;
  job = PlanConcatenation(fs, prompt, Request(500));
  EXPECT_EQ(RunConcatenation(fs, prompt, job), 0);
  EXPECT_EQ(job.strWhyNot, "no record to join");
  EXPECT_NE(Report().find("No joined record written for /hour: no record to join\r\n"), std::string::npos);
  const auto listed = fs.ListFolder("/joined");
  for (const auto& name : *listed) EXPECT_EQ(name.find("_concatenated_"), std::string::npos) << name;
}

TEST_F(Concatenation, ATimeGapBeginsANewJoinedRecord) {
  // Four records of 1 s from 08:00:00, then four from 08:00:30.
  for (int k = 0; k < 8; ++k) {
    const int64_t at = 1584259200000 + (k < 4 ? k : 26 + k) * 1000;
    WriteRecordAt(fs, "/hour/a_" + std::to_string(k + 1) + ".dat", 2, 1000, at,
                  [k](int f, int j) { return Wave(f, j + 1000 * k); });
  }
  JoinAndCompare(1000, 2);
  EXPECT_EQ(job.parts[0].path, "/joined/" + JoinedName(1584259200000, 1, 4));
  EXPECT_EQ(job.parts[1].path, "/joined/" + JoinedName(1584259230000, 5, 8));
  const std::string gap = "Time gap: a_5.dat starts 26.000 s after its place in the joined record; it begins a new joined record";
  EXPECT_TRUE(Told(gap));
  EXPECT_NE(Report().find(gap + "\r\n"), std::string::npos);
  for (const JoinedPart& part : job.parts) {
    SeismicRecord r;
    int status = 0;
    ASSERT_EQ(ReadSeg2File(fs, r, part.path, 1, 1, status), 2);
    EXPECT_EQ(r.pHeader[0].nSamples, 4000);
  }
  // An early record too: its place is behind it.
  told.clear();
  fs.Remove("/hour/a_5.dat");
  WriteRecordAt(fs, "/hour/a_5.dat", 2, 1000, 1584259100000, Wave);
  JoinAndCompare(1000, 3);
  EXPECT_TRUE(Told("Time gap: a_5.dat starts 104.000 s before its place in the joined record"));
}

TEST_F(Concatenation, JoinedRecordsOfOneJobNeverShareAName) {
  // Two records with the same running number and time but other samples (a
  // counter and clock set back): each is a joined record of its own, and
  // the second must not replace the first.
  WriteRecordAt(fs, "/hour/a_1.dat", 2, 500, 1584259200000, Wave);
  WriteRecordAt(fs, "/hour/b_1.dat", 2, 500, 1584259200000, [](int f, int j) { return Wave(f, j) + 1000.0f; });
  JoinAndCompare(500, 2);
  const std::string name = JoinedName(1584259200000, 1, 1);
  EXPECT_EQ(job.parts[0].path, "/joined/" + name);
  EXPECT_EQ(job.parts[1].path, "/joined/" + name.substr(0, name.size() - 4) + "_2.dat");
  const std::string line = "Same name: the joined record of " + job.parts[1].files.front().substr(6) + " is written as " +
                           name.substr(0, name.size() - 4) + "_2.dat";
  EXPECT_TRUE(Told(line));
  EXPECT_NE(Report().find(line + "\r\n"), std::string::npos);
}

TEST_F(Concatenation, AJoinedRecordIsNeverAnInput) {
  // Joined into the folder of its records, twice: the second join leaves the
  // first one's file out and writes the same bytes.
  for (int k = 0; k < 3; ++k) {
    WriteRecordAt(fs, "/hour/a_" + std::to_string(k + 1) + ".dat", 2, 500, 1584259200000 + k * 500, Wave);
  }
  RecordingPrompt prompt;
  ConcatenationRequest r = Request(500);
  r.targetFolder = "/hour";
  job = PlanConcatenation(fs, prompt, r);
  ASSERT_EQ(RunConcatenation(fs, prompt, job), 1);
  const std::string first = fs.Contents(job.strResultPath);
  job = PlanConcatenation(fs, prompt, r);
  job.tell = [this](const std::string& line) { told.push_back(line); };
  EXPECT_EQ(job.nFiles, 3);
  ASSERT_EQ(RunConcatenation(fs, prompt, job), 1);
  EXPECT_EQ(fs.Contents(job.strResultPath), first);
  EXPECT_TRUE(Told("Not joined: " + JoinedName(1584259200000, 1, 3) + " (a joined record)"));
}

TEST_F(Concatenation, ATargetThatWouldReplaceARecordIsRefused) {
  WriteRecordAt(fs, "/hour/a_1.dat", 2, 500, 1584259200000, Wave);
  const std::string clash = "/hour/" + JoinedName(1584259200000, 1, 1);
  WriteRecordAt(fs, clash, 2, 500, 1584259200000, Wave);
  const std::string before = fs.Contents(clash);
  RecordingPrompt prompt;
  ConcatenationRequest r = Request(500);
  r.targetFolder = "/hour";
  job = PlanConcatenation(fs, prompt, r);
  // A job made by hand that lists the would-be target among its records.
  job.pFiles = {clash};
  job.pNumbers = {1};
  job.nFiles = 1;
  EXPECT_EQ(RunConcatenation(fs, prompt, job), 0);
  EXPECT_EQ(job.strWhyNot, clash + " would replace one of the records joined");
  EXPECT_EQ(fs.Contents(clash), before);
}

TEST_F(Concatenation, AbandonedJobsWriteNothing) {
  RecordingPrompt prompt;
  EXPECT_EQ(ConcatenateRecords(fs, prompt, Request(60000)), 0);  // no record: t = 0
  WriteRecord(fs, "/hour/a_1.dat", 2, 500, 1584259200, Wave);
  WriteRecord(fs, "/hour/b.dat", 2, 500, 1584259200, Wave);  // no running number: not joined
  EXPECT_EQ(ConcatenateRecords(fs, prompt, Request(600)), 0);  // L > t
  RecordingPrompt asking;
  ConcatenationRequest interactive = Request(600);
  interactive.bInteractive = 1;
  EXPECT_EQ(ConcatenateRecords(fs, asking, interactive), 0);
  EXPECT_NE(std::find(asking.shown.begin(), asking.shown.end(), "Wrong data length."), asking.shown.end());
  interactive.presetLength = 0;  // asked, and cancelled
  EXPECT_EQ(ConcatenateRecords(fs, asking, interactive), 0);
  EXPECT_EQ(asking.asked.back(), 500);
  // Each says why in the report, and tells it.
  const std::string report = Report();
  EXPECT_NE(report.find("No joined record written for /hour: no record to join\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("No joined record written for /hour: the data length 600 is longer than the records (500 "
                        "samples)\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("Not joined: b.dat (no running number in its name)\r\n"), std::string::npos);
  ConcatenationRequest silent = Request(600);
  EXPECT_EQ(ConcatenateRecords(fs, prompt, silent, nullptr, [this](const std::string& line) { told.push_back(line); }),
            0);
  EXPECT_TRUE(Told("No joined record written for /hour: the data length 600 is longer than the records (500 samples)"));
  const auto listed = fs.ListFolder("/joined");
  for (const auto& name : *listed) EXPECT_EQ(name.find("_concatenated_"), std::string::npos) << name;

  asking.integer = 400;
  asking.yes = true;
  EXPECT_EQ(ConcatenateRecords(fs, asking, interactive), 1);
  EXPECT_EQ(asking.shown[0].substr(0, 19), " Number of files = ");
  EXPECT_EQ(asking.shown.back().substr(0, 30), "Concatenated data was saved in");
}

TEST_F(Concatenation, BadRecordsInTheFolder) {
  WriteRecord(fs, "/hour/a_1.dat", 2, 500, 1584259200, Wave);
  std::string cut;
  {
    MemoryFileSystem tmp;
    WriteRecord(tmp, "/c", 2, 500, 1584259201, Wave);
    cut = tmp.Contents("/c");
  }
  fs.AddFile("/hour/a_2.dat", cut.substr(0, cut.size() - 100));  // cut short: left out, the join goes on
  fs.AddFile("/hour/a_3.dat", "not a record at all");
  WriteRecord(fs, "/hour/a_4.dat", 2, 500, 1584259203, Wave);
  const auto before = Sources();
  JoinAndCompare(500, 2);  // a_4 is not where a_1 ends
  EXPECT_EQ(Sources(), before);
  EXPECT_TRUE(Told("Not joined: a_2.dat (no trace can be read)"));
  EXPECT_TRUE(Told("Not joined: a_3.dat (not a SEG-2 record)"));
}

TEST_F(Concatenation, AJoinedFileThatCannotBeWrittenLeavesNothingUnderItsName) {
  WriteRecord(fs, "/hour/a_1.dat", 2, 5000, 1584259200, Wave);
  WriteRecord(fs, "/hour/a_2.dat", 2, 5000, 1584259201, Wave);
  FaultFileSystem faulty(fs);
  faulty.SetWriteBudget(20000);
  RecordingPrompt prompt;
  EXPECT_EQ(ConcatenateRecords(faulty, prompt, Request(5000)), 0);
  const auto listed = fs.ListFolder("/joined");
  for (const auto& name : *listed) EXPECT_EQ(name.find("_concatenated_"), std::string::npos) << name;
}

// Removes a record once the joined record is begun, as an operator or a
// clean-up may while the join reads.
class RemovesWhileJoining : public ForwardingFileSystem {
 public:
  RemovesWhileJoining(FileSystem& base, std::string record) : ForwardingFileSystem(base), record_(std::move(record)) {}
  StatusOr<std::unique_ptr<UpdatableFile>> OpenForUpdate(const std::string& path) override {
    base().Remove(record_);
    return base().OpenForUpdate(path);
  }

 private:
  std::string record_;
};

TEST_F(Concatenation, ARecordGoneWhileJoiningLeavesZerosInItsPlace) {
  for (int k = 0; k < 5; ++k) {
    WriteRecordAt(fs, "/hour/a_" + std::to_string(k + 1) + ".dat", 2, 1000, 1584259200000 + k * 1000,
                  [k](int f, int j) { return Wave(f, j + 1000 * k) + 1.0f + 1000.0f; });
  }
  RemovesWhileJoining removing(fs, "/hour/a_3.dat");
  RecordingPrompt prompt;
  job = PlanConcatenation(removing, prompt, Request(1000));
  job.tell = [this](const std::string& line) { told.push_back(line); };
  ASSERT_EQ(RunConcatenation(removing, prompt, job), 1) << job.strWhyNot;
  ASSERT_EQ(job.parts.size(), 1u);
  SeismicRecord r;
  int status = 0;
  ASSERT_EQ(ReadSeg2File(fs, r, job.strResultPath, 1, 1, status), 2);
  ASSERT_EQ(r.pHeader[0].nSamples, 5000);
  for (int j = 0; j < 5000; ++j) {
    const int k = j / 1000;
    const float expected = k == 2 ? 0.0f : Wave(0, j) + 1.0f + 1000.0f;
    ASSERT_EQ(r.ppData[0][static_cast<size_t>(j)], expected) << j;
  }
  const std::string line = "Short record: a_3.dat cannot be read any more; zeros fill its place";
  EXPECT_TRUE(Told(line));
  EXPECT_NE(Report().find(line + "\r\n"), std::string::npos);
}

TEST_F(Concatenation, OnAWorkerThread) {
  WriteRecord(fs, "/hour/a_1.dat", 2, 500, 1584259200, Wave);
  WriteRecord(fs, "/hour/a_2.dat", 2, 500, 1584259201, Wave);
  RecordingPrompt prompt;
  ConcatenationWorkers workers;
  ConcatenationRequest r = Request(500);
  r.bThreaded = 1;
  EXPECT_EQ(ConcatenateRecords(fs, prompt, r, &workers), 1);
  workers.JoinAll();
  EXPECT_EQ(workers.Finished(), 1);
}

// Lines of /proc/self/maps: every thread that is not joined keeps its stack
// mapped.
size_t Mappings() {
  std::ifstream maps("/proc/self/maps");
  size_t lines = 0;
  for (std::string line; std::getline(maps, line);) ++lines;
  return lines;
}

// Waits (at most 20 s) until `workers` have finished `n` jobs.
bool AwaitFinished(const ConcatenationWorkers& workers, int n) {
  for (int i = 0; i < 20000 && workers.Finished() < n; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return workers.Finished() >= n;
}

TEST_F(Concatenation, EndedWorkersAreJoinedAndDoNotPileUp) {
  WriteRecord(fs, "/hour/a_1.dat", 1, 100, 1584259200, Wave);
  RecordingPrompt prompt;
  ConcatenationWorkers workers;
  ConcatenationRequest r = Request(100);
  r.bThreaded = 1;
  ASSERT_EQ(ConcatenateRecords(fs, prompt, r, &workers), 1);
  ASSERT_TRUE(AwaitFinished(workers, 1));
  const size_t before = Mappings();
  // One finished hour after another, as the station goes on for years.
  constexpr int kHours = 40;
  for (int k = 2; k <= kHours; ++k) {
    ASSERT_EQ(ConcatenateRecords(fs, prompt, r, &workers), 1);
    ASSERT_TRUE(AwaitFinished(workers, k));
  }
  EXPECT_LE(workers.Threads(), 1u);
#if !defined(__SANITIZE_THREAD__)  // which keeps some state of every thread it saw
  // Each worker left unjoined keeps two mappings (its stack and guard): 39
  // of them would add about 78; the allocator may add a few of its own.
  EXPECT_LT(Mappings(), before + 30) << "the stacks of ended workers stay mapped";
#else
  (void)before;
#endif
  workers.JoinAll();
  EXPECT_EQ(workers.Finished(), kHours);
}

// A real file system on which the first open of a joined record's ".partial"
// file waits (at most 1 s) for a second open of the same file, and which
// counts how many are open at once.
class PartialWatch : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  StatusOr<std::unique_ptr<UpdatableFile>> OpenForUpdate(const std::string& path) override {
    auto file = base().OpenForUpdate(path);
    if (!file.ok()) return file;
    std::unique_lock<std::mutex> lock(mutex_);
    const int open = ++open_[path];
    most = std::max(most, open);
    changed_.notify_all();
    if (open == 1 && first_) {
      first_ = false;
      changed_.wait_for(lock, std::chrono::seconds(1), [&] { return open_[path] > 1; });
    }
    return std::unique_ptr<UpdatableFile>(std::make_unique<Watched>(std::move(*file), *this, path));
  }
  int most = 0;

 private:
  class Watched : public UpdatableFile {
   public:
    Watched(std::unique_ptr<UpdatableFile> f, PartialWatch& w, std::string p) : f_(std::move(f)), w_(w), p_(std::move(p)) {}
    ~Watched() override { Closed(); }
    Status WriteAt(uint64_t offset, std::string_view data) override { return f_->WriteAt(offset, data); }
    Status Sync() override { return f_->Sync(); }
    Status Close() override {
      Status st = f_->Close();
      Closed();
      return st;
    }

   private:
    void Closed() {
      if (closed_) return;
      closed_ = true;
      std::lock_guard<std::mutex> lock(w_.mutex_);
      --w_.open_[p_];
    }
    std::unique_ptr<UpdatableFile> f_;
    PartialWatch& w_;
    std::string p_;
    bool closed_ = false;
  };
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::string, int> open_;
  bool first_ = true;
};

TEST(ConcatenationWorkers, JobsIntoTheSameFolderDoNotShareTheirPartialFile) {
  // Record times that alternate between two hours join the same hour again
  // while its first join still runs: the same joined record, the same
  // ".partial" file, the same report.
  testing::ScopedTimeZone tz{"UTC"};
  testing::TempFolder dir;
  LinuxFileSystem real;
  ASSERT_TRUE(real.CreateFolder(dir.Path("hour")).ok());
  ASSERT_TRUE(real.CreateFolder(dir.Path("joined")).ok());
  for (int k = 0; k < 3; ++k) {
    WriteRecordAt(real, dir.Path("hour/a_" + std::to_string(k + 1) + ".dat"), 2, 2000, 1584259200000 + 2000 * k,
                  [k](int f, int j) { return Wave(f, j + 2000 * k); });
  }
  PartialWatch watched(real);
  SilentPrompt prompt;
  ConcatenationWorkers workers;
  ConcatenationRequest r;
  r.sourceFolder = dir.Path("hour");
  r.targetFolder = dir.Path("joined");
  r.presetLength = 2000;
  r.nameText = "S1";
  r.bThreaded = 1;
  EXPECT_EQ(ConcatenateRecords(watched, prompt, r, &workers), 1);
  EXPECT_EQ(ConcatenateRecords(watched, prompt, r, &workers), 1);
  workers.JoinAll();
  EXPECT_EQ(watched.most, 1) << "two joins wrote one .partial file at once";
  EXPECT_EQ(workers.Finished(), 2);
  EXPECT_EQ(workers.Threads(), 0u);
  size_t partials = 0;
  const auto listed = real.ListFolder(dir.Path("joined"));
  for (const auto& name : *listed) partials += name.find(".partial") != std::string::npos;
  // What they left is the joined record a single join writes.
  ConcatenationJob job = PlanConcatenation(real, prompt, r);
  const std::string path = dir.Path("joined/" + JoinedName(1584259200000, 1, 3));
  const auto left = ReadWholeFile(real, path);
  ASSERT_TRUE(left.ok());
  ASSERT_EQ(RunConcatenation(real, prompt, job), 1);
  EXPECT_EQ(job.strResultPath, path);
  EXPECT_TRUE(*left == *ReadWholeFile(real, path));
  EXPECT_EQ(partials, 0u);
}

TEST(ConcatenationModes, AJoinedRecordIsReadableByNoOneWhoMayNotReadItsRecords) {
  testing::ScopedTimeZone tz{"UTC"};
  testing::TempFolder dir;
  LinuxFileSystem real;
  ASSERT_TRUE(real.CreateFolder(dir.Path("hour")).ok());
  ASSERT_TRUE(real.CreateFolder(dir.Path("joined")).ok());
  const int modes[] = {0640, 0604};
  for (int k = 0; k < 2; ++k) {
    const std::string path = dir.Path("hour/a_" + std::to_string(k + 1) + ".dat");
    WriteRecordAt(real, path, 2, 2000, 1584259200000 + 2000 * k, [k](int f, int j) { return Wave(f, j + 2000 * k); });
    ASSERT_TRUE(real.SetMode(path, modes[k]).ok());
  }
  SilentPrompt prompt;
  ConcatenationRequest r;
  r.sourceFolder = dir.Path("hour");
  r.targetFolder = dir.Path("joined");
  r.presetLength = 2000;
  r.nameText = "S1";
  r.bThreaded = 0;
  ConcatenationJob job = PlanConcatenation(real, prompt, r);
  ASSERT_EQ(RunConcatenation(real, prompt, job), 1) << job.strWhyNot;
  const auto joined = real.Inspect(job.strResultPath);
  ASSERT_TRUE(joined.ok());
  EXPECT_EQ(joined->mode & ~0600, 0) << std::oct << joined->mode;  // only what both grant
}

}  // namespace
}  // namespace zentrova

// The join, checked byte for byte against the join of the records held
// whole in memory, as the description of the join reads.

#include "concat/concatenation.h"

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "concat/overlap_lag.h"
#include "platform/fault_file_system.h"
#include "platform/memory_file_system.h"
#include "records/record_file_name.h"
#include "records/seg2_append.h"
#include "records/seg2_reader.h"
#include "records/seg2_writer.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

// Writes a record of `traces` traces; trace f, sample j is value(f, j).
template <typename F>
void WriteRecord(FileSystem& fs, const std::string& path, int traces, int samples, int64_t time, F value) {
  std::vector<CHeader> headers(static_cast<size_t>(traces));
  std::vector<std::vector<float>> data(static_cast<size_t>(traces));
  for (int f = 0; f < traces; ++f) {
    headers[f].nSamples = samples;
    headers[f].fSampleInterval = 1000.0f;
    headers[f].nReceiverLoc = 250 * f + 100;
    headers[f].fDelay = -500000.0f;
    for (int j = 0; j < samples; ++j) data[f].push_back(value(f, j));
  }
  RecordTimeHeader t;
  t.tAcquisition = time;
  t.nAcquisitionMs = 250;
  ASSERT_TRUE(WriteSeg2File(fs, traces, path, data, headers, t).ok());
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
  headers.resize(traces);
  for (CHeaderXY& h : headers) {
    h.nSamples = static_cast<int32_t>(total);
    h.fDelay = 0.0f;
  }
  RecordTimeHeader time;
  time.tAcquisition = time.tFirstSample = first.tFirstSample;
  time.nAcquisitionMs = time.nFirstSampleMs = first.nFirstSampleMs;
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
  std::string JoinAndCompare(int length) {
    RecordingPrompt prompt;
    ConcatenationJob job = PlanConcatenation(fs, prompt, Request(length));
    const std::string expected = JoinInMemory(fs, job);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(RunConcatenation(fs, prompt, job), 1);
    EXPECT_FALSE(fs.Exists(job.strResultPath + ".partial"));
    const std::string joined = fs.Contents(job.strResultPath);
    EXPECT_EQ(joined.size(), expected.size());
    EXPECT_TRUE(joined == expected) << "the streamed file differs from the in-memory join";
    return job.strResultPath;
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
};

float Wave(int f, int j) { return static_cast<float>((j * 31 + f * 7) % 211) - 105.0f; }

TEST_F(Concatenation, PlainJoinInTheOrderOfTheRunningNumbers) {
  for (int number : {12, 10, 11}) {
    WriteRecord(fs, "/hour/20200315_0800" + std::to_string(number) + ".000_S1_" + std::to_string(number) + ".dat", 3,
                600, 1584259200 + number, [&](int f, int j) { return static_cast<float>(number * 1000 + f * 100) + static_cast<float>(j) * 0.01f; });
  }
  const auto before = Sources();
  const std::string path = JoinAndCompare(600);
  EXPECT_EQ(path, "/joined/" + JoinedRecordFileName(1584259210, 250, "S1_concatenated", 10, 12));
  SeismicRecord r;
  int status = 0;
  ASSERT_EQ(ReadSeg2File(fs, r, path, 1, 1, status), 3);
  EXPECT_EQ(r.pHeader[0].nSamples, 1800);
  EXPECT_FLOAT_EQ(r.ppData[1][0], 10100.0f);
  EXPECT_FLOAT_EQ(r.ppData[1][600], 11100.0f);
  EXPECT_FLOAT_EQ(r.ppData[1][1799], 12100.0f + 5.99f);
  EXPECT_EQ(r.pHeader[0].fDelay, 0.0f);
  EXPECT_EQ(Sources(), before);  // the records themselves are only read
  const std::string log = fs.Contents("/joined/ConcatenateSeg2.txt");
  EXPECT_LT(log.find("10 /hour/"), log.find("11 /hour/"));
  EXPECT_LT(log.find("11 /hour/"), log.find("12 /hour/"));
  EXPECT_NE(log.find(path + "\r\n"), std::string::npos);
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

TEST_F(Concatenation, ShortRecordsDifferentTraceCountsAndUncorrelatedOverlaps) {
  WriteRecord(fs, "/hour/a_1.dat", 3, 900, 1584259200, Wave);
  WriteRecord(fs, "/hour/a_2.dat", 2, 500, 1584259201, [](int f, int j) { return Wave(f + 3, j); });  // short
  WriteRecord(fs, "/hour/a_3.dat", 3, 1000, 1584259202, [](int f, int j) { return Wave(f, j * 3); });
  WriteRecord(fs, "/hour/a_4.dat", 1, 1000, 1584259203, [](int f, int j) { return Wave(f, j + 5); });
  JoinAndCompare(800);  // overlap n = 200, with correction
  JoinAndCompare(1000);  // plain: the short record leaves zeros up to the next one
  SeismicRecord r;
  int status = 0;
  const auto listing = fs.ListFolder("/joined");
  const auto& names = *listing;
  const auto joined = std::find_if(names.begin(), names.end(), [](const std::string& s) {
    return s.find("_concatenated_") != std::string::npos;
  });
  ASSERT_NE(joined, names.end());
  ASSERT_EQ(ReadSeg2File(fs, r, "/joined/" + *joined, 1, 1, status), 3);
  EXPECT_EQ(r.pHeader[0].nSamples, 4000);
  EXPECT_EQ(r.ppData[0][1700], 0.0f);  // after the short record, before the third
  EXPECT_EQ(r.ppData[2][3500], 0.0f);  // the fourth record has one trace
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
  fs.AddFile("/hour/a_2.dat", cut.substr(0, cut.size() - 100));  // cut short: read as 0 traces, the join goes on
  fs.AddFile("/hour/a_3.dat", "not a record at all");
  WriteRecord(fs, "/hour/a_4.dat", 2, 500, 1584259203, Wave);
  const auto before = Sources();
  JoinAndCompare(500);
  EXPECT_EQ(Sources(), before);
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

}  // namespace
}  // namespace zentrova

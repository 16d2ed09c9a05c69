// Real records from field instruments, checked against an independent
// reading of each (its .ref.json: trace strings, sample counts, first and
// last samples, sums) and against the instruments' own ASCII exports.

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "platform/local_time.h"
#include "records/seg2_reader.h"
#include "testing/json.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

using testing::Json;

const std::string kSeg2Folder = testing::SharedSeg2Folder();

std::vector<std::string> RecordsWithReference() {
  std::vector<std::string> names;
  if (!std::filesystem::is_directory(kSeg2Folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(kSeg2Folder)) {
    const std::string name = entry.path().filename().string();
    const std::string suffix = ".ref.json";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      names.push_back(name.substr(0, name.size() - suffix.size()));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// First number of a reference string such as "3.000000 0.000000 0.000000".
double FirstNumber(const Json& v, double absent) {
  return v.isNull() ? absent : std::strtod(v.string().c_str(), nullptr);
}

int32_t Encoded(double location) {
  const double l = static_cast<double>(static_cast<float>(location)) * 100.0;
  return static_cast<int32_t>(l >= 0 ? l + 0.1 : l);
}

// "2018-03-07T03:12:44.990000000Z" as seconds (UTC pinned) and milliseconds.
std::pair<int64_t, int> IsoTime(const std::string& iso) {
  CivilTime c;
  int ms = 0;
  std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d.%3d", &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second, &ms);
  return {*LocalToSeconds(c), ms};
}

void ExpectTheIndependentReading(const std::string& name) {
  const Json ref = Json::Parse(testing::ReadFileBytes(kSeg2Folder + "/" + name + ".ref.json"));
  LinuxFileSystem fs;
  SeismicRecord record;
  int status = -1;
  std::string why;
  const int n = ReadSeg2File(fs, record, kSeg2Folder + "/" + name, 1, 1, status, &why);
  const int expected = static_cast<int>(ref["trace_count"].number());
  ASSERT_EQ(n, expected) << why;
  ASSERT_EQ(status, 0);

  const Json& traces = ref["traces"];
  bool allZero = true;
  for (size_t i = 0; i < traces.size(); ++i) allZero = allZero && FirstNumber(traces[i]["receiver_location"], 1) == 0;
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE("trace " + std::to_string(i));
    const Json& t = traces[i];
    const CHeader& h = record.pHeader[i];
    ASSERT_EQ(h.nSamples, static_cast<int>(t["nsamples"].number()));
    EXPECT_NEAR(h.fSampleInterval, t["delta"].number() * 1e6, 1e-3);
    const double receiver = FirstNumber(t["receiver_location"], i);
    EXPECT_EQ(h.nReceiverLoc, allZero ? static_cast<int32_t>(i * 100.0 + 0.01) : Encoded(receiver));
    EXPECT_EQ(h.nSourceLoc, Encoded(FirstNumber(t["source_location"], 0)));
    EXPECT_NEAR(h.fDelay, FirstNumber(t["delay"], 0) * 1e6, 0.05);
    const auto& samples = record.ppData[i];
    const Json& first = t["first5"];
    const Json& last = t["last5"];
    for (size_t k = 0; k < first.size(); ++k) {
      EXPECT_EQ(samples[k], static_cast<float>(first[k].number())) << "first " << k;
      EXPECT_EQ(samples[samples.size() - last.size() + k], static_cast<float>(last[k].number())) << "last " << k;
    }
    double sum = 0;
    for (float x : samples) sum += std::fabs(static_cast<double>(x));
    EXPECT_NEAR(sum, t["sum_abs"].number(), 1e-6 * t["sum_abs"].number() + 1e-9);
  }

  const Json& strings = ref["file_strings"];
  if (strings.has("ACQUISITION_DATE")) {
    EXPECT_EQ(record.time.bTimeValid, 1);
    EXPECT_EQ(record.time.nGpsStatus, 2);
    auto [acq, acqMs] = IsoTime(ref["obspy_starttime"].string());
    EXPECT_EQ(record.time.tAcquisition, acq);
    EXPECT_EQ(record.time.nAcquisitionMs, acqMs);
    auto [first, firstMs] = IsoTime(traces[0]["first_sample_time"].string());
    EXPECT_EQ(record.time.tFirstSample, first);
    EXPECT_EQ(record.time.nFirstSampleMs, firstMs);
  } else {
    EXPECT_EQ(record.time.bTimeValid, 0);
    EXPECT_EQ(record.time.nGpsStatus, 3);
  }
}

// One test over every record found, so that the test's name does not
// depend on which records the data folder holds when the test is listed.
TEST(RealRecords, EachMatchesTheIndependentReading) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::ScopedTimeZone tz("UTC");
  const std::vector<std::string> names = RecordsWithReference();
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ExpectTheIndependentReading(name);
  }
  EXPECT_FALSE(names.empty());
}

TEST(RealRecords, AllOfThemAreThere) {
  ZENTROVA_NEEDS_SHARED_DATA();
  EXPECT_GE(RecordsWithReference().size(), 16u);
}

// Columns of an instrument's ASCII export, one row per sample.
std::vector<std::vector<double>> Columns(const std::string& path) {
  std::vector<std::vector<double>> columns;
  std::istringstream in(testing::ReadFileBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream row(line);
    double v;
    for (size_t c = 0; row >> v; ++c) {
      if (columns.size() <= c) columns.emplace_back();
      columns[c].push_back(v);
    }
  }
  return columns;
}

// Every sample times its trace's DESCALING_FACTOR (and the export's unit
// scale) gives the export: only samples unpacked right keep that ratio.
void ExpectProportional(const std::string& record, const std::string& exportFile, double unitScale) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const Json ref = Json::Parse(testing::ReadFileBytes(kSeg2Folder + "/" + record + ".ref.json"));
  LinuxFileSystem fs;
  SeismicRecord r;
  int status = -1;
  ASSERT_GT(ReadSeg2File(fs, r, kSeg2Folder + "/" + record, 1, 1, status), 0);
  auto columns = Columns(kSeg2Folder + "/" + exportFile);
  ASSERT_EQ(columns.size(), static_cast<size_t>(r.nTraces));
  for (int i = 0; i < r.nTraces; ++i) {
    ASSERT_EQ(columns[i].size(), r.ppData[i].size());
    const double factor =
        std::strtod(ref["traces"][i]["trace_strings"]["DESCALING_FACTOR"].string().c_str(), nullptr) * unitScale;
    size_t mismatches = 0;
    for (size_t j = 0; j < columns[i].size(); ++j) {
      if (std::fabs(r.ppData[i][j] * factor - columns[i][j]) > 1e-6 * (1 + std::fabs(columns[i][j]))) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0u) << "trace " << i;
  }
}

TEST(RealRecords, PackedTwentyBitSamplesMatchTheInstrumentExport) {
  ExpectProportional("obspy_20180307_031245000.0.seg2", "20180307_031245000.0.DAT.txt", 1.0);
}

TEST(RealRecords, IntegerSamplesMatchTheInstrumentExport) {
  ExpectProportional("obspy_20130107_103041000.CET.3c.cont.0.seg2", "20130107_103041000.CET.3c.cont.0.DAT.txt",
                     1000.0);  // exported in mm/s
}

}  // namespace
}  // namespace zentrova

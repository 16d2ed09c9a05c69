#include "records/seismic_record.h"

#include <sstream>

#include <gtest/gtest.h>

#include "testing/time_zone.h"

namespace zentrova {
namespace {

TEST(EncodeLocation, RoundsAsTheFilesExpect) {
  struct Case { float location; int32_t encoded; };
  const Case cases[] = {{1.15f, 115}, {-1.15f, -114}, {12.34f, 1234}, {-12.34f, -1234},
                        {0.0f, 0}, {1004.0f, 100400}, {-1.5f, -150}, {1e30f, INT32_MAX}, {-1e30f, INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(EncodeLocation(c.location), c.encoded) << c.location;
  EXPECT_EQ(EncodeAssignedLocation(3), 300);
}

TEST(SeismicRecord, SummaryNeedsAllocatedTraces) {
  SeismicRecord record;
  record.fMaxLength = 7.0f;
  EXPECT_EQ(record.ComputeSummary(), 0);
  EXPECT_EQ(record.fMaxLength, 7.0f);
}

TEST(SeismicRecord, SummaryOverTraces) {
  SeismicRecord record;
  record.AllocateTraces(3);
  record.nTraces = 3;
  record.bAllocated = 1;
  const int32_t receivers[] = {500, 100, 300};
  const std::vector<float> samples[] = {{1.0f, -4.0f}, {0.0f, 0.0f, 0.0f}, {2.5f}};
  for (int i = 0; i < 3; ++i) {
    record.pHeader[i].nReceiverLoc = receivers[i];
    record.pHeader[i].fSampleInterval = 1000.0f;
    record.pHeader[i].nSamples = static_cast<int32_t>(samples[i].size());
    record.ppData[i] = samples[i];
  }
  ASSERT_EQ(record.ComputeSummary(), 1);
  EXPECT_FLOAT_EQ(record.fMaxLength, 3.0f);
  EXPECT_FLOAT_EQ(record.fMinReceiver, 1.0f);
  EXPECT_FLOAT_EQ(record.fMaxReceiver, 5.0f);
  EXPECT_FLOAT_EQ(record.pHeader[0].fMaxAmplitude, 4.0f);
  EXPECT_FLOAT_EQ(record.pHeader[1].fMaxAmplitude, 0.0f);
  EXPECT_FLOAT_EQ(record.fMaxAmplitude, 4.0f);

  record.AllocateTraces(1);
  record.nTraces = 1;
  record.pHeader[0].nReceiverLoc = 1250;
  ASSERT_EQ(record.ComputeSummary(), 1);
  EXPECT_FLOAT_EQ(record.fMinReceiver, 12.5f);
  EXPECT_FLOAT_EQ(record.fMaxReceiver, 12.5f);
}

TEST(RecordTimeHeader, FirstSampleTimeFromDelay) {
  testing::ScopedTimeZone tz("UTC");
  struct Case { float delay; int64_t offset; int ms; };
  const Case cases[] = {
      {0.0f, 0, 0},       {-1.0f, -1, 0},    {-0.1f, -1, 900},  {0.0125f, 0, 12}, {-0.010f, -1, 990},
      {-0.050f, -1, 950}, {-0.5f, -1, 500},  {0.2f, 0, 200},    {1.5f, 1, 500},   {-0.0004f, 0, 0},
  };
  for (const Case& c : cases) {
    RecordTimeHeader t;
    t.tAcquisition = 1436099696;  // 2015-07-05 12:34:56
    t.nAcquisitionMs = 500;
    t.SetFirstSampleTime(c.delay);
    EXPECT_EQ(t.tFirstSample, t.tAcquisition + c.offset) << c.delay;
    EXPECT_EQ(t.nFirstSampleMs, c.ms) << c.delay;
  }
  RecordTimeHeader t;
  t.tAcquisition = 1436099696;
  t.SetFirstSampleTime(-0.25f);
  EXPECT_EQ(t.strFirstSample, "12:34:55.750 07/05/2015");
}

TEST(CHeader, WritesAndReadsItsValues) {
  CHeaderXY h;
  h.nTrace = 3;
  h.nReceiverLoc = -250;
  h.fDelay = -500.5f;
  h.nSamples = 12000;
  h.fLatitude = 35.5f;
  h.nSpare2 = 9;
  std::string bytes;
  EXPECT_EQ(h.Write(bytes), 1);
  ASSERT_EQ(bytes.size(), 48u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x03\0\0\0", 4));
  CHeaderXY back;
  EXPECT_EQ(back.Read(bytes), 48);
  EXPECT_EQ(back.nReceiverLoc, -250);
  EXPECT_EQ(back.fDelay, -500.5f);
  EXPECT_EQ(back.fLatitude, 35.5f);
  EXPECT_EQ(back.nSpare2, 9);
  EXPECT_EQ(back.Read(bytes.substr(0, 47)), 0);

  std::ostringstream out;
  EXPECT_EQ(back.Dump(&out), 1);
  EXPECT_EQ(out.str(), "3 -250 0 0 1 -500.500000 0.000000 12000 \n");
  EXPECT_EQ(back.Dump(nullptr), 0);
}

TEST(CHeaderXY, UnknownPositionAfterConstruction) {
  CHeaderXY h;
  EXPECT_EQ(h.fLatitude, -1000.0f);
  EXPECT_EQ(h.fLongitude, -1000.0f);
  EXPECT_EQ(h.nComponent, 1);
  RecordTimeHeader t;
  EXPECT_EQ(t.nGpsStatus, 3);
  EXPECT_EQ(t.bTimeValid, 0);
}

}  // namespace
}  // namespace zentrova

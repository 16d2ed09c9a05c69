// Onsets on labelled earthquakes (analysts' P picks, made by nobody here):
// the onset must lie nearer the P pick than the detector's event time.

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "detection/event_detector.h"
#include "platform/linux_file_system.h"
#include "platform/memory_file_system.h"
#include "records/seg2_reader.h"
#include "testing/shared_data.h"

namespace zentrova {
namespace {

TEST(QuakeOnsets, OnsetsLieNearerTheAnalystsPPickThanTheEventTimes) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const std::string folder = testing::SharedDataFolder() + "/quakes";
  std::ifstream labels(folder + "/labels.csv");
  if (!labels) GTEST_SKIP() << "no labelled earthquakes in " << folder;
  LinuxFileSystem fs;
  MemoryFileSystem scratch;
  std::string line;
  std::getline(labels, line);
  int found = 0, nearer = 0;
  double onsetError = 0, eventError = 0;
  while (std::getline(labels, line)) {
    std::stringstream fields(line);
    std::string file, p;
    std::getline(fields, file, ',');
    std::getline(fields, p, ',');
    SeismicRecord record;
    int status = 0;
    ASSERT_GT(ReadSeg2File(fs, record, folder + "/" + file, 1, 1, status), 0) << file;
    EventDetectionParameters d;
    d.nMethod = 0;
    d.SetChannels("0-2", 512);
    d.nMinimumChannels = 1;
    d.fTimeWindow1 = 500;
    d.fTimeWindow2 = 5000;
    d.fRmsRatio = 4;
    if (DetectEvents(d, record, scratch, "/events.txt", 0) < 1) continue;
    const double pick = std::stod(p) * record.pHeader[0].fSampleInterval / 1e6;
    const double onset = d.fEventOnset[0], event = d.fEventTime[0];
    if (std::fabs(onset - pick) > 5.0) continue;  // a trigger on something else
    ++found;
    nearer += std::fabs(onset - pick) <= std::fabs(event - pick) ? 1 : 0;
    onsetError += std::fabs(onset - pick);
    eventError += std::fabs(event - pick);
  }
  std::cout << "labelled earthquakes with an event near P: " << found << "; onset nearer P in " << nearer
            << "; mean |onset - P| " << onsetError / std::max(found, 1) << " s, mean |event time - P| "
            << eventError / std::max(found, 1) << " s\n";
  ASSERT_GT(found, 0);
  EXPECT_GE(nearer * 10, found * 8);
  EXPECT_LT(onsetError, eventError);
}

}  // namespace
}  // namespace zentrova

// Event images of real field records, with the detector's markers, left in
// the build folder (pictures/<record>/EventImage/Waveform_..._1.png) for a
// person to look at; each checked for a line on every channel's baseline.

#include <filesystem>
#include <iostream>

#include <gtest/gtest.h>

#include "detection/event_detection_parameters.h"
#include "detection/event_detector.h"
#include "display/cairo_surface.h"
#include "display/event_image.h"
#include "monitor/station_fixture.h"
#include "platform/printf.h"
#include "records/seg2_reader.h"
#include "testing/shared_data.h"

namespace zentrova {
namespace {

class RealRecordPicture : public ::testing::TestWithParam<const char*> {};

TEST_P(RealRecordPicture, EveryChannelOnItsBaselineInsideTheFrame) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const std::string name = GetParam();
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  int status = 0;
  std::string why;
  ASSERT_GT(ReadSeg2File(st.fs, doc.record, testing::SharedSeg2Folder() + "/" + name, 1, 1, status, &why), 0) << why;
  doc.record.strFileName = name;  // as the pipeline names it
  const int traces = doc.record.nTraces;

  // The detector over every channel, either rule: markers where the record is loud.
  doc.pDetectionParameters = std::make_shared<EventDetectionParameters>();
  EventDetectionParameters& p = *doc.pDetectionParameters;
  p.nMethod = 0;
  p.fTimeWindow1 = 50.0f;
  p.fTimeWindow2 = 20.0f;
  p.fRmsRatio = 10.0f;
  p.SetChannels(Printf("0-%d", traces - 1), 1024);
  DetectEvents(p, doc.record, st.fs, st.root.Path("events.txt"), st.clock.Now());
  doc.bEventDetection = 1;

  const std::string folder = std::string(ZENTROVA_BINARY_DIR) + "/pictures/" + name;
  std::filesystem::remove_all(folder + "/EventImage");  // the last run's picture, which would be kept
  std::filesystem::create_directories(folder);
  const std::string path = WriteEventImage(doc, folder, 1);
  std::cout << "picture of " << name << " (" << traces << " traces, " << p.nEvents << " events): " << path << "\n";
  const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(path));
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, 666);
  ASSERT_EQ(image->height, 333);

  // Every channel's baseline row holds something not white inside the frame.
  const double spacing = 416.0 / traces;
  for (int i = 0; i < traces; ++i) {
    const int row = static_cast<int>((static_cast<int>((i + 0.5) * spacing + 150)) * kImagePixelsPerUnit);
    int drawn = 0;
    for (int x = 80; x < 612; ++x) drawn += image->pixels[static_cast<size_t>(row) * 666 + x] != 0xFFFFFF;
    EXPECT_GT(drawn, 100) << name << " channel " << i << " row " << row;
  }
}

INSTANTIATE_TEST_SUITE_P(Records, RealRecordPicture,
                         ::testing::Values("swprocess_wghs_6.dat", "graphseg2_exampledata_102.dat",
                                           "ph5_test_data_seg2_1007.dat"));

}  // namespace
}  // namespace zentrova

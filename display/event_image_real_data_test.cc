// Event images of real field records, with the detector's markers, left in
// the build folder (pictures/<record>/EventImage/Waveform_..._1.png) for a
// person to look at; each checked for a line on every channel's baseline,
// for nothing of the traces outside the frame and for a caption within
// the picture's width.

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

  const auto marked = [](const RgbImage& picture, int x0, int x1, int y0, int y1) {
    int count = 0;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) count += picture.pixels[static_cast<size_t>(y) * 666 + x] != 0xFFFFFF;
    }
    return count;
  };
  // The caption ends inside the picture: its last columns are white.
  EXPECT_EQ(marked(*image, 656, 665, 0, 30), 0) << name << ": the caption's end";

  // Without the markers (the onsets' discs sit on the frame's top edge on
  // purpose): outside the frame (150 to 1233 across, 150 to 566 down; 75
  // to 616 and 75 to 283 pixels, the frame's pen a pixel either side) the
  // traces leave no pixel. Right of the frame below the time labels nothing
  // is drawn; between the frame and the labels above it or the title below
  // it the rows are white.
  doc.bEventDetection = 0;
  const auto bare = CairoSurface::DecodePng(testing::ReadFileBytes(WriteEventImage(doc, folder, 2)));
  ASSERT_TRUE(bare);
  EXPECT_EQ(marked(*bare, 620, 665, 72, 332), 0) << name << ": right of the frame";
  EXPECT_EQ(marked(*bare, 78, 613, 69, 72), 0) << name << ": above the frame";
  EXPECT_EQ(marked(*bare, 78, 613, 287, 290), 0) << name << ": below the frame";
}

INSTANTIATE_TEST_SUITE_P(Records, RealRecordPicture,
                         ::testing::Values("swprocess_wghs_6.dat", "graphseg2_exampledata_102.dat",
                                           "ph5_test_data_seg2_1007.dat",
                                           "obspy_20130107_103041000.CET.3c.cont.0.seg2"));

}  // namespace
}  // namespace zentrova

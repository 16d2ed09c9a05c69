// The event image as a file: where it goes, its size, its colours, its
// permission bits, and what is left when it cannot be written.

#include "display/event_image.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "detection/event_detection_parameters.h"
#include "display/cairo_surface.h"
#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRedPixel = 0xFF0000;

class EventImage : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(st.destination);
    // Four traces of one second at 1 ms, a spike on each; a trigger on
    // trace 1 and an event at 0.5 s.
    SeismicRecord& r = doc.record;
    r.strFileName = "1234.sg2";
    r.AllocateTraces(4);
    r.nTraces = 4;
    r.bAllocated = 1;
    for (int i = 0; i < 4; ++i) {
      r.pHeader[i].nSamples = 1000;
      r.pHeader[i].fSampleInterval = 1000.0f;
      r.pHeader[i].nComponent = 1;
      r.ppData[i].assign(1000, 0.0f);
      r.ppData[i][800] = 1.0f;
    }
    r.ComputeSummary();
    doc.pDetectionParameters = std::make_shared<EventDetectionParameters>();
    EventDetectionParameters& p = *doc.pDetectionParameters;
    p.nTraceTriggers.assign(p.nMaxChannels, 0);
    p.fTraceTriggerTime.assign(p.nMaxChannels, {});
    p.nTraceTriggers[1] = 1;
    p.fTraceTriggerTime[1] = {0.25f};
    p.nEvents = 1;
    p.fEventTime = {0.5f};
    doc.bEventDetection = 1;
  }

  std::string Path(int n) const { return st.destination + "/EventImage/Waveform_" + std::to_string(n) + ".png"; }

  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
};

TEST_F(EventImage, AWaveformPngInTheEventImageFolder) {
  ASSERT_FALSE(std::filesystem::exists(st.destination + "/EventImage"));
  const std::string path = WriteEventImage(doc, st.destination, 7);
  EXPECT_EQ(path, Path(7));
  const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(path));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 666);
  EXPECT_EQ(image->height, 333);
  auto at = [&](int x, int y) { return image->pixels[static_cast<size_t>(y) * 666 + x]; };
  // The window's background where nothing is drawn.
  EXPECT_EQ(at(2, 330), kWhite);
  EXPECT_EQ(at(663, 330), kWhite);
  // The frame: black, from page (150, -150) to (1233, -566), at 0.5 pixel a unit.
  EXPECT_EQ(at(75, 200), 0u);
  EXPECT_EQ(at(400, 75), 0u);
  EXPECT_EQ(at(400, 283), 0u);
  // The trigger disc on trace 1 at 0.25 s: 1083 units a second, trace 1 at 1.5 x 104 + 150.
  const int discX = (150 + 270) / 2, discY = (156 + 150) / 2;
  EXPECT_EQ(at(discX, discY), kRedPixel);
  // The event line at 0.5 s, across the frame.
  const int lineX = (150 + 541) / 2;
  for (int y : {100, 150, 200, 260}) EXPECT_EQ(at(lineX, y), kRedPixel) << y;
}

TEST_F(EventImage, AnOlderPictureOfTheNameIsReplacedWhole) {
  std::filesystem::create_directories(st.destination + "/EventImage");
  st.root.Write("dest/EventImage/Waveform_7.png", "an older picture");
  const std::string path = WriteEventImage(doc, st.destination, 7);
  EXPECT_TRUE(CairoSurface::DecodePng(testing::ReadFileBytes(path)));
  EXPECT_EQ(std::filesystem::directory_iterator(st.destination + "/EventImage")->path().filename(), "Waveform_7.png");
}

TEST_F(EventImage, NoWiderModeThanAsked) {
  const std::string path = WriteEventImage(doc, st.destination, 3, 0640);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777 & ~0640, 0u);
}

TEST_F(EventImage, OnAFullDiskNoPictureOfTheNameIsLeft) {
  std::filesystem::create_directories(st.destination + "/EventImage");
  st.root.Write("dest/EventImage/Waveform_7.png", "the picture of another record");
  st.fs.SetWriteBudget(100);
  const std::string path = WriteEventImage(doc, st.destination, 7);
  st.fs.ClearWriteBudget();
  EXPECT_EQ(path, Path(7));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(std::filesystem::is_empty(st.destination + "/EventImage"));
}

TEST_F(EventImage, AFolderThatCannotBeMadeGivesThePathAndNoFile) {
  const std::string base = st.root.Path("no/such");
  const std::string path = WriteEventImage(doc, base, 5);
  EXPECT_EQ(path, base + "/EventImage/Waveform_5.png");
  EXPECT_FALSE(std::filesystem::exists(path));
}

// "EventImage" that is a link to another folder: the picture is not
// written through it (nor an older one there removed), and no path is
// given, so that nothing of that folder goes out with the mail.
TEST_F(EventImage, NoPictureThroughALinkedFolder) {
  std::filesystem::create_directories(st.root.Path("elsewhere"));
  st.root.Write("elsewhere/Waveform_7.png", "someone's file");
  std::filesystem::create_symlink(st.root.Path("elsewhere"), st.destination + "/EventImage");
  EXPECT_EQ(WriteEventImage(doc, st.destination, 7), "");
  EXPECT_EQ(WriteEventImage(doc, st.destination, 8), "");
  EXPECT_EQ(st.root.Read("elsewhere/Waveform_7.png"), "someone's file");
  EXPECT_FALSE(std::filesystem::exists(st.root.Path("elsewhere/Waveform_8.png")));
  EXPECT_TRUE(std::filesystem::is_symlink(st.destination + "/EventImage"));
}

TEST_F(EventImage, ConnectedToTheDetectionWithTheDestinationFolder) {
  ConnectEventImage(doc);
  ASSERT_TRUE(doc.services.drawEventImage);
  const std::string path = doc.services.drawEventImage(9, 0600);
  EXPECT_EQ(path, doc.settingsBlock.strDestinationFolder + "/EventImage/Waveform_9.png");
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace zentrova

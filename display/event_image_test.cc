// The event image as a file: where it goes and under which name, its size,
// its colours and caption, its permission bits, the pictures of other
// records it leaves alone, and what is left when it cannot be written.

#include "display/event_image.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "detection/event_detection_parameters.h"
#include "display/cairo_surface.h"
#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRedPixel = 0xFF0000;
constexpr uint32_t kOnsetPixel = 0x00AA00;

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
    p.fEventOnset = {0.75f};
    doc.bEventDetection = 1;
    // The record's own time, as the pipeline takes it from the file.
    doc.settingsBlock.sMyName = "SITE";
    doc.settingsBlock.bRecordTimeValid = 1;
    doc.settingsBlock.tRecordTime = 1584259445;  // 2020-03-15 08:04:05 UTC
    doc.settingsBlock.nRecordTimeMs = 123;
  }

  // The picture of the record numbered n, taking the numbered name `suffix`.
  std::string Path(int n, const std::string& suffix = "") const {
    return st.destination + "/EventImage/Waveform_20200315_080405.123_SITE_" + std::to_string(n) + suffix + ".png";
  }
  std::vector<std::string> Pictures() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(st.destination + "/EventImage"))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

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
  // The onset at 0.75 s, a green line across the frame.
  const int onsetX = (150 + 812) / 2;
  for (int y : {100, 150, 200, 260}) EXPECT_EQ(at(onsetX, y), kOnsetPixel) << y;
}

TEST_F(EventImage, TheCaptionNamesTheSiteTheRecordsTimeAndTheOnset) {
  const RecordMoment moment = doc.settingsBlock.NamingMoment(0);
  EXPECT_EQ(EventImageCaption(doc, moment), "SITE 2020/03/15 08:04:05.123 1234.sg2");
  EXPECT_EQ(EventImageOnsetCaption(doc), "Onset = 0.750 s (event time 0.500 s)");
  EventDetectionParameters& p = *doc.pDetectionParameters;
  p.nEvents = 3;
  p.fEventTime = {0.5f, 0.7f, 0.9f};
  p.fEventOnset = {0.75f, 0.8f, 0.95f};
  EXPECT_EQ(EventImageOnsetCaption(doc), "Onset = 0.750 s (event time 0.500 s), the first of 3 events");
  // A site name that cannot stand in a file name is shown as entered.
  doc.settingsBlock.sMyName = "North/2";
  EXPECT_EQ(EventImageCaption(doc, moment), "North/2 2020/03/15 08:04:05.123 1234.sg2");
  EXPECT_EQ(EventImageName(doc, moment, 9), "Waveform_20200315_080405.123_North_2_9.png");
}

// A record's name and a site's name in another encoding than UTF-8: the
// picture is drawn whole, its caption included.
TEST_F(EventImage, NamesThatAreNotUtf8AreDrawnToo) {
  doc.record.strFileName = "lat\xe9in1.sg2";
  doc.settingsBlock.sMyName = "Gr\xfcnwald";
  const std::string path = WriteEventImage(doc, st.destination, 7);
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(path));
  ASSERT_TRUE(image);
  int caption = 0;
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 300; ++x) caption += (image->pixels[static_cast<size_t>(y) * 666 + x] & 0xFF) < 128;
  }
  EXPECT_GT(caption, 200);
  EXPECT_EQ(image->pixels[200 * 666 + 75], 0u);  // the frame
}

// After the counter was reset, numbers come again: the records of one
// number at other times keep their pictures apart.
TEST_F(EventImage, RecordsOfOneNumberAtOtherTimesKeepTheirPictures) {
  const std::string first = WriteEventImage(doc, st.destination, 1001);
  EXPECT_EQ(first, Path(1001));
  const std::string firstBytes = testing::ReadFileBytes(first);
  doc.settingsBlock.tRecordTime += 4290;  // 09:15:35, after the counter was reset
  doc.settingsBlock.nRecordTimeMs = 0;
  const std::string second = WriteEventImage(doc, st.destination, 1001);
  EXPECT_EQ(second, st.destination + "/EventImage/Waveform_20200315_091535.000_SITE_1001.png");
  EXPECT_EQ(testing::ReadFileBytes(first), firstBytes);
  EXPECT_EQ(Pictures().size(), 2u);
}

// A name already held (a record of the same time, site and number, or any
// other file) is never replaced: the picture takes the next free name.
TEST_F(EventImage, APictureOfTheNameIsNeverReplaced) {
  std::filesystem::create_directories(st.destination + "/EventImage");
  st.root.Write("dest/EventImage/" + std::filesystem::path(Path(7)).filename().string(), "an older picture");
  const std::string path = WriteEventImage(doc, st.destination, 7);
  EXPECT_EQ(path, Path(7, "-2"));
  EXPECT_TRUE(CairoSurface::DecodePng(testing::ReadFileBytes(path)));
  EXPECT_EQ(testing::ReadFileBytes(Path(7)), "an older picture");
  EXPECT_EQ(WriteEventImage(doc, st.destination, 7), Path(7, "-3"));
  EXPECT_EQ(Pictures().size(), 3u);  // nothing else beside them
}

TEST_F(EventImage, NoWiderModeThanAsked) {
  const std::string path = WriteEventImage(doc, st.destination, 3, 0640);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777 & ~0640, 0u);
}

// The path given is one where nothing lies, so that no other record's
// picture goes out with the mail.
TEST_F(EventImage, OnAFullDiskNothingIsLeftAndTheOtherPictureStays) {
  std::filesystem::create_directories(st.destination + "/EventImage");
  st.root.Write("dest/EventImage/" + std::filesystem::path(Path(7)).filename().string(), "the picture of another record");
  st.fs.SetWriteBudget(100);
  const std::string path = WriteEventImage(doc, st.destination, 7);
  st.fs.ClearWriteBudget();
  EXPECT_EQ(path, Path(7, "-2"));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(testing::ReadFileBytes(Path(7)), "the picture of another record");
  EXPECT_EQ(Pictures().size(), 1u);
}

TEST_F(EventImage, AFolderThatCannotBeMadeGivesThePathAndNoFile) {
  const std::string base = st.root.Path("no/such");
  const std::string path = WriteEventImage(doc, base, 5);
  EXPECT_EQ(path, base + "/EventImage/Waveform_20200315_080405.123_SITE_5.png");
  EXPECT_FALSE(std::filesystem::exists(path));
}

// "EventImage" that is a link to another folder: the picture is not
// written through it (nor an older one there removed), and no path is
// given, so that nothing of that folder goes out with the mail.
TEST_F(EventImage, NoPictureThroughALinkedFolder) {
  std::filesystem::create_directories(st.root.Path("elsewhere"));
  const std::string taken = std::filesystem::path(Path(7)).filename().string();
  st.root.Write("elsewhere/" + taken, "someone's file");
  std::filesystem::create_symlink(st.root.Path("elsewhere"), st.destination + "/EventImage");
  EXPECT_EQ(WriteEventImage(doc, st.destination, 7), "");
  EXPECT_EQ(WriteEventImage(doc, st.destination, 8), "");
  EXPECT_EQ(st.root.Read("elsewhere/" + taken), "someone's file");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(st.root.Path("elsewhere")), {}), 1);
  EXPECT_TRUE(std::filesystem::is_symlink(st.destination + "/EventImage"));
}

TEST_F(EventImage, ConnectedToTheDetectionWithTheDestinationFolder) {
  ConnectEventImage(doc);
  ASSERT_TRUE(doc.services.drawEventImage);
  const std::string path = doc.services.drawEventImage(9, 0600);
  EXPECT_EQ(path, doc.settingsBlock.strDestinationFolder + "/EventImage/Waveform_20200315_080405.123_SITE_9.png");
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace zentrova

// The event e-mail as the operator gets it: zentrova-station finds an event
// in a record the controller wrote, draws the record's picture, and the
// sender delivers both to the mail server.

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "display/cairo_surface.h"
#include "testing/child_process.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RunProcess;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;
const std::string kTc = ZENTROVA_TC;

TEST(EventImageStation, TheEventMailCarriesThePictureOfTheRecordWithItsMarkers) {
  TempFolder dir;
  testing::LocalSmtpServer smtp(dir);
  ASSERT_FALSE(smtp.port.empty());
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nsMyName=SITE\nbMoveToFolder=1\niInterval=0\nbSnedReport=1\n"
                                    "bEventDetection=1\nbSendMail=1\n");
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=" + smtp.port +
                                   "\nSenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\n"
                                   "SMTPUsername=\nEVENT_DETECTION_MINIMUM_N_CHANNEL=2\n");
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "5"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  ::usleep(800000);
  // Two records; the second holds an event on every trace.
  auto tc = RunProcess({kTc, "--out", dir.Path("watched"), "--count", "2", "--interval-ms", "150", "--traces", "4",
                        "--samples", "3000", "--sample-interval-us", "500", "--events", "2"});
  ASSERT_EQ(tc.exitCode, 0) << tc.err;
  EXPECT_EQ(station.Wait(), 0);
  const std::string out = dir.Read("station.out");
  EXPECT_NE(out.find("1 events were detected.\n"), std::string::npos) << out;

  std::string picture;
  std::string message;
  for (int wait = 0; wait < 200 && picture.empty(); ++wait) {
    for (int i = 1; std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".eml")); ++i) {
      const std::string attached = dir.Path("message-" + std::to_string(i) + "-Waveform_1001.png");
      if (std::filesystem::exists(attached) &&
          std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".rcpt"))) {
        picture = testing::ReadFileBytes(attached);
        message = dir.Read("message-" + std::to_string(i) + ".eml");
      }
    }
    if (picture.empty()) ::usleep(50000);
  }
  ASSERT_FALSE(picture.empty()) << "no event message with its picture arrived\n" << out;
  // For a person to look at.
  std::filesystem::create_directories(std::string(ZENTROVA_BINARY_DIR) + "/pictures");
  std::filesystem::copy_file(dir.Path("dest/EventImage/Waveform_1001.png"),
                             std::string(ZENTROVA_BINARY_DIR) + "/pictures/event_mail_Waveform_1001.png",
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_NE(message.find("1 events were detected in 1001"), std::string::npos);
  // The picture the station filed, as it was sent.
  EXPECT_EQ(picture, testing::ReadFileBytes(dir.Path("dest/EventImage/Waveform_1001.png")));

  ASSERT_EQ(picture.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)), 0);
  const auto image = CairoSurface::DecodePng(picture);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 666);
  EXPECT_EQ(image->height, 333);
  // The event line runs across the frame (page 150 to 566 down: pixels 75 to 283),
  // and the trigger discs are red too.
  int redAll = 0, redColumn = 0;
  for (int x = 0; x < image->width; ++x) {
    int column = 0;
    for (int y = 0; y < image->height; ++y)
      column += image->pixels[static_cast<size_t>(y) * image->width + x] == 0xFF0000;
    redColumn = std::max(redColumn, column);
    redAll += column;
  }
  EXPECT_GE(redColumn, 180);
  EXPECT_GT(redAll, redColumn + 4 * 20);
}

}  // namespace
}  // namespace zentrova

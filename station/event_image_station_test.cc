// The event e-mail as the operator gets it: zentrova-station finds an event
// in a record the controller wrote, draws the record's picture, named and
// captioned by the record's time and site, and the sender delivers both to
// the mail server with the event's onset in the text.

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

struct Mail {
  std::string text;
  std::string pictureName;  // as attached
  std::string picture;
};

class EventImageStation : public ::testing::Test {
 protected:
  void SetUp() override {
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
  }

  // One run of the station while the controller writes two records from
  // `startTime` on (numbers 1000 and 1001); the second holds an event on
  // every trace, its burst 0.75 s after its first sample.
  void RunStation(const std::string& startTime) {
    BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "5"},
                              dir.Path("station.out"));
    ASSERT_TRUE(station.started());
    ::usleep(800000);
    auto tc = RunProcess({kTc, "--out", dir.Path("watched"), "--count", "2", "--interval-ms", "150", "--traces", "4",
                          "--samples", "3000", "--sample-interval-us", "500", "--events", "2", "--start-time",
                          startTime});
    ASSERT_EQ(tc.exitCode, 0) << tc.err;
    EXPECT_EQ(station.Wait(), 0);
    out = dir.Read("station.out");
    EXPECT_NE(out.find("1 events were detected.\n"), std::string::npos) << out;
  }

  // The delivered messages with a picture, in their order.
  std::vector<Mail> Mails(size_t expected) {
    std::vector<Mail> mails;
    for (int wait = 0; wait < 200 && mails.size() < expected; ++wait) {
      mails.clear();
      for (int i = 1; std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".eml")); ++i) {
        const std::string prefix = "message-" + std::to_string(i) + "-";
        if (!std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".rcpt"))) continue;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path(""))) {
          const std::string name = e.path().filename().string();
          if (!name.starts_with(prefix + "Waveform_")) continue;
          mails.push_back({dir.Read("message-" + std::to_string(i) + ".eml"), name.substr(prefix.size()),
                           testing::ReadFileBytes(e.path().string())});
        }
      }
      if (mails.size() < expected) ::usleep(50000);
    }
    return mails;
  }

  // The filed record numbered `number`, without ".dat".
  std::string FiledStem(const std::string& number) {
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.Path("dest/WaveformFiles"))) {
      const std::string name = e.path().filename().string();
      if (name.ends_with("_SITE_" + number + ".dat")) return name.substr(0, name.size() - 4);
    }
    return "";
  }

  TempFolder dir;
  testing::LocalSmtpServer smtp{dir};
  std::string out;
};

TEST_F(EventImageStation, TheEventMailCarriesThePictureOfTheRecordWithItsMarkers) {
  RunStation("2020-03-15 12:58:37");
  const std::vector<Mail> mails = Mails(1);
  ASSERT_EQ(mails.size(), 1u) << "no event message with its picture arrived\n" << out;
  const Mail& mail = mails[0];
  // Named as the record is filed: its time (1.5 s after the first record's,
  // in the whole seconds the file gives), the site, its number.
  EXPECT_EQ(mail.pictureName, "Waveform_20200315_125838.000_SITE_1001.png");
  EXPECT_EQ(mail.pictureName, "Waveform_" + FiledStem("1001") + ".png");
  const std::string filedPicture = dir.Path("dest/EventImage/" + mail.pictureName);
  // For a person to look at.
  std::filesystem::create_directories(std::string(ZENTROVA_BINARY_DIR) + "/pictures");
  std::filesystem::copy_file(filedPicture, std::string(ZENTROVA_BINARY_DIR) + "/pictures/event_mail_" + mail.pictureName,
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_NE(mail.text.find("1 events were detected in 1001"), std::string::npos);
  // The burst begins 0.750 s into the record; the event time is where its W2 first holds enough of it.
  EXPECT_NE(mail.text.find("Event 1: Onset = 0.751 s (event time 0.252 s)"), std::string::npos) << mail.text;
  // The picture the station filed, as it was sent.
  EXPECT_EQ(mail.picture, testing::ReadFileBytes(filedPicture));

  ASSERT_EQ(mail.picture.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)), 0);
  const auto image = CairoSurface::DecodePng(mail.picture);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 666);
  EXPECT_EQ(image->height, 333);
  // The event line runs across the frame (page 150 to 566 down: pixels 75 to 283),
  // and the trigger discs are red too; the onset line is green.
  int redAll = 0, redColumn = 0, greenColumn = 0;
  for (int x = 0; x < image->width; ++x) {
    int column = 0, green = 0;
    for (int y = 0; y < image->height; ++y) {
      const uint32_t pixel = image->pixels[static_cast<size_t>(y) * image->width + x];
      column += pixel == 0xFF0000;
      green += pixel == 0x00AA00;
    }
    redColumn = std::max(redColumn, column);
    greenColumn = std::max(greenColumn, green);
    redAll += column;
  }
  EXPECT_GE(redColumn, 180);
  EXPECT_GT(redAll, redColumn + 4 * 20);
  EXPECT_GE(greenColumn, 180);
}

// The controller's counter was reset between two runs: record 1001 comes
// again an hour later. Its picture does not replace the first one's.
TEST_F(EventImageStation, ARecordOfTheSameNumberLaterKeepsTheEarlierPicture) {
  RunStation("2020-03-15 12:58:37");
  const std::vector<Mail> first = Mails(1);
  ASSERT_EQ(first.size(), 1u) << out;
  RunStation("2020-03-15 14:00:07");
  const std::vector<Mail> both = Mails(2);
  ASSERT_EQ(both.size(), 2u) << out;
  EXPECT_EQ(both[0].pictureName, "Waveform_20200315_125838.000_SITE_1001.png");
  EXPECT_EQ(both[1].pictureName, "Waveform_20200315_140008.000_SITE_1001.png");
  EXPECT_EQ(testing::ReadFileBytes(dir.Path("dest/EventImage/" + both[0].pictureName)), first[0].picture);
  EXPECT_TRUE(std::filesystem::exists(dir.Path("dest/EventImage/" + both[1].pictureName)));
}

}  // namespace
}  // namespace zentrova

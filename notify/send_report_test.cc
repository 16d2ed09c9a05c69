#include "notify/send_report.h"

#include <filesystem>
#include <mutex>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"
#include "notify/form_post.h"
#include "notify/mail_subject.h"
#include "platform/linux_file_system.h"

namespace zentrova {
namespace {

class RecordingHttp : public HttpClient {
 public:
  HttpResult Post(const std::string& url, const std::string&, const std::string& body, const std::string&) override {
    posts.push_back({url, body});
    return {true, "ok", 0, ""};
  }
  std::vector<std::pair<std::string, std::string>> posts;
};

class SendReportTest : public ::testing::Test {
 protected:
  SendReportTest() {
    st.services.sendReport = nullptr;
    st.product.values["ReceiverEMailAddress"] = "operator@example.org";
    channels.battery = [] { return BatteryReading{12.34f, "2020/03/15 08:00:00", "", 0}; };
    channels.freeFraction = [](char) { return 0.25; };
  }
  testing::StationFixture st;
  RecordingLauncher launcher;
  RecordingHttp http;
  ReportChannels channels{launcher, http, nullptr, nullptr, nullptr, nullptr, nullptr};
};

TEST_F(SendReportTest, MailThroughTheSenderProgramWithItsAttachments) {
  CZentrovaDoc& doc = st.Doc();
  const std::vector<std::string> files = {"/data/a b;c.sg2", "/data/EventImage/Waveform_7.png"};
  EXPECT_EQ(SendReport(doc, channels, "3 events were detected in 7", 0, files), 1);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].program, "/opt/zentrova/ZuveRadeRI.exe");
  EXPECT_EQ(launcher.calls[0].arguments, files);  // each path one argument, blanks and ';' intact
  EXPECT_EQ(st.product.values["stMessaggeTitle"], "Message from Zentrova at S1: 3 events in record 7");
  EXPECT_EQ(st.product.values["MessageToBeSent"],
            "S1\n3 events were detected in 7\nDrive = C: 25.000% is free\nBattery voltage = 12.3 V updated at "
            "2020/03/15 08:00:00");
  EXPECT_TRUE(http.posts.empty());
}

// An event without its image: the empty path is not named to the sender.
TEST_F(SendReportTest, AnEmptyAttachmentIsNotPassedOn) {
  CZentrovaDoc& doc = st.Doc();
  EXPECT_EQ(SendReport(doc, channels, "1 events were detected in 7", 0, {"/data/a.sg2", ""}), 1);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].arguments, std::vector<std::string>{"/data/a.sg2"});
}

// With an outbox, a sender this user cannot start hands nothing on.
TEST_F(SendReportTest, ASenderThatCannotStartIsNotHandedOn) {
  CZentrovaDoc& doc = st.Doc();
  MailOutbox mailbox(st.product, launcher);
  channels.mailbox = &mailbox;
  EXPECT_EQ(SendReport(doc, channels, "Report", 0, {}), 1);
  launcher.succeed = false;
  EXPECT_EQ(SendReport(doc, channels, "Report", 0, {}), 0);
  mailbox.Close(0);
}

TEST_F(SendReportTest, DeliveryChoicesAndResults) {
  st.profile.values["bReportEMail"] = "0";
  CZentrovaDoc& doc = st.Doc();
  EXPECT_EQ(SendReport(doc, channels, "quiet", 0, {}), 0);
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_NE(st.product.values["MessageToBeSent"].find("quiet"), std::string::npos);  // written all the same
  EXPECT_EQ(SendReport(doc, channels, "forced", 1, {}), 1);
  EXPECT_EQ(launcher.calls.size(), 1u);
  launcher.succeed = false;
  EXPECT_EQ(SendReport(doc, channels, "forced", 1, {}), 0);  // the sender could not start

  doc.settingsBlock.bReportWebServer = 1;
  doc.settingsBlock.nFileId = 1234;
  doc.settingsBlock.sServerURL = "http://127.0.0.1:1/report_registration.php";
  EXPECT_EQ(SendReport(doc, channels, "Mail was sent", 0, {}), 1);
  ASSERT_EQ(http.posts.size(), 1u);
  EXPECT_EQ(http.posts[0].second.rfind("pc_name=S1&message=Mail+was+sent&battery_voltage=12.3&file_id=1234"
                                       "&drive_name=C&disk_space=25.000&date_time=2020-03-15+08%3A04%3A05",
                                       0),
            0u)
      << http.posts[0].second;
  EXPECT_EQ(doc.settingsBlock.nFileId, -1);
}

// The drive manager moves the destination while the station runs: the
// record and image filed on the new drive go with their mail.
TEST_F(SendReportTest, AttachmentsGoFromTheDestinationOfTheMoment) {
  CZentrovaDoc& doc = st.Doc();
  LinuxFileSystem fs;
  MailOutbox mailbox(st.product, launcher, 30000, 8, {}, &fs);
  channels.mailbox = &mailbox;
  mailbox.AllowAttachmentsBelow(doc.settingsBlock.strDestinationFolder);  // as the station does at its start
  const std::string moved = st.root.Path("disk2/ZentrovaData");
  std::filesystem::create_directories(moved + "/EventImage");
  st.root.Write("disk2/ZentrovaData/EventImage/Waveform_7.png", "picture");
  doc.settingsBlock.strDestinationFolder = moved;
  EXPECT_EQ(SendReport(doc, channels, "1 events were detected in 7", 0, {moved + "/EventImage/Waveform_7.png"}), 1);
  ASSERT_TRUE(mailbox.WaitIdle(5000));
  std::lock_guard<std::mutex> lock(launcher.mutex);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].arguments, std::vector<std::string>{moved + "/EventImage/Waveform_7.png"});
}

// Every message of the station says in its subject what happened, after
// the words that filters match.
TEST_F(SendReportTest, TheSubjectSaysWhatHappened) {
  CZentrovaDoc& doc = st.Doc();
  channels.battery = [] { return BatteryReading{10.24f, "10:15:07.25 12/31/2020", "", 0}; };
  const struct {
    std::string text, summary, subject;
  } cases[] = {
      {"Zentrova started.", "", "started"},
      {"Zentrova started.\nTarnlink Controller did not start.", "", "started, the controller did not start"},
      {"Zentrova was closed.", "", "closed"},
      {"Report from Zentrova.\nThe last file name is 1234.sg2", "", "report"},
      {"1 events were detected in 1234\nEvent 1: Onset = 1.501 s", "event 12:58:39, 7 channels",
       "event 12:58:39, 7 channels"},
      {"2 events were detected in 1234", "", "2 events in record 1234"},
      {"Warnig ! There was no new file more than 5 minutes.", "", "no new file for 5 minutes"},
      {"Warning ! Battery voltage is less than 11.0 V", "", "battery 10.2 V"},
      {"Warning ! Battery voltage is less than 10.5 V. PC will be shoutdown.", "", "battery 10.2 V, shutting down"},
      {"System shutdown.", "", "system shutdown"},
      {"Destination folder was changed to /mnt/d/Data", "", "destination moved to /mnt/d/Data"},
      {"Warnig! No drive is available.\nD: 2.000% free", "", "no drive available"},
      {"hello\rthere\nsecond line", "", "hello there"},
      {std::string(100, 'x'), "", std::string(69, 'x') + "..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SendReport(doc, channels, c.text, 1, {}, false, c.summary), 1);
    EXPECT_EQ(st.product.values["stMessaggeTitle"], "Message from Zentrova at S1: " + c.subject);
  }
  // A cut never splits a character: 35 two-byte letters fill 70 bytes.
  std::string letters;
  for (int i = 0; i < 40; ++i) letters += "\xc3\x98";
  const std::string cut = MessageSummary(letters, {});
  EXPECT_EQ(cut, letters.substr(0, 68) + "...");
}

// No survey file, no battery line, a reading without its time, a stale one:
// the body's battery line says which.
TEST_F(SendReportTest, TheBatteryLineSaysAMissingOrStaleReading) {
  CZentrovaDoc& doc = st.Doc();
  const int64_t now = st.clock.Now();
  const struct {
    BatteryReading reading;
    std::string line;
  } cases[] = {
      {{0.0f, "", "no survey file is named", 0}, "Battery voltage: no reading (no survey file is named)"},
      {{-1.0f, "", "no battery line in the survey file S.svy", now}, "Battery voltage: no reading (no battery line in the survey file S.svy)"},
      {{12.6f, "", "", now}, "Battery voltage = 12.6 V updated at an unknown time (no save line after the battery line)"},
      {{12.6f, "10:15:07.25 12/31/2020", "", now - 3600}, "Battery voltage = 12.6 V updated at 10:15:07.25 12/31/2020"},
      {{10.0f, "13:22:20.00 03/15/2020", "", now - 5 * 3600 - 60},
       "Battery voltage = 10.0 V updated at 13:22:20.00 03/15/2020, stale: the survey file has not changed for 5 h 1 min"},
      {{10.0f, "13:22:20.00 03/15/2020", "", now - 50 * 3600}, "Battery voltage = 10.0 V updated at 13:22:20.00 03/15/2020, stale: the survey file has not changed for 2 d 2 h"},
  };
  for (const auto& c : cases) {
    channels.battery = [&c] { return c.reading; };
    EXPECT_EQ(SendReport(doc, channels, "Report", 0, {}), 1);
    const std::string body = st.product.values["MessageToBeSent"];
    EXPECT_EQ(body.substr(body.rfind('\n') + 1), c.line);
  }
}

TEST_F(SendReportTest, AMissingRecipientIsAskedFor) {
  st.product.values.erase("ReceiverEMailAddress");
  CZentrovaDoc& doc = st.Doc();
  st.product.values["ReceiverEMailAddress"] = "";
  EXPECT_EQ(SendReport(doc, channels, "x", 1, {}), 0);  // no dialog here: cancelled
  EXPECT_TRUE(launcher.calls.empty());
  channels.askText = [](const std::string& caption, const std::string&) -> std::optional<std::string> {
    EXPECT_EQ(caption, "Set E-mail address");
    return std::string("new@example.org");
  };
  EXPECT_EQ(SendReport(doc, channels, "x", 1, {}), 1);
  EXPECT_EQ(st.product.values["ReceiverEMailAddress"], "new@example.org");
}

TEST_F(SendReportTest, TheEmailValuesAreInTheProductKeyAfterTheStart) {
  st.product.values.clear();
  CZentrovaDoc& doc = st.Doc();
  WriteEmailSettings(doc);
  for (const char* name : {"ReceiverEMailAddress", "SenderEMailAddress", "SMTPServer", "iPortNumber", "SMTPUsername",
                           "SMTPPassword"}) {
    EXPECT_EQ(st.product.values.count(name), 1u) << name;
  }
  EXPECT_EQ(st.product.values["iPortNumber"], "587");
  EXPECT_EQ(st.product.values["SMTPPassword"], "");  // no password is built in
}

}  // namespace
}  // namespace zentrova

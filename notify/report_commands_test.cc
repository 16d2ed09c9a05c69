#include "notify/report_commands.h"

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

class ReportCommands : public ::testing::Test {
 protected:
  ReportCommands() { st.product.values["ReceiverEMailAddress"] = "op@example.org"; }
  std::string Last() { return st.Doc().activityLog.GetAt(st.Doc().activityLog.Count() - 1); }
  testing::StationFixture st;
  RecordingLauncher launcher;
  CurlHttpClient http;
  ReportChannels channels{launcher, http, nullptr, nullptr, nullptr, nullptr, nullptr};
};

TEST_F(ReportCommands, StartAndStopSendingReports) {
  CZentrovaDoc& doc = st.Doc();
  EventLoop loop(st.clock);
  CZentrovaControlForm form(doc, loop);
  ReportDialogs cancel;
  cancel.reportType = [](ReportTypeDialog&) { return false; };
  OnSendReport(doc, form, cancel);
  EXPECT_EQ(doc.bSnedReport, 0);
  EXPECT_FALSE(form.ReportTimerRunning());

  ReportDialogs ok;
  ok.reportType = [](ReportTypeDialog& d) {
    d.bReportWebServer = 1;
    return true;
  };
  ok.interval = [](IntervalDialog& d) {
    EXPECT_EQ(d.nMinutes, 60);
    d.nMinutes = 30;
    return true;
  };
  OnSendReport(doc, form, ok);
  EXPECT_EQ(Last(), "Sending report started by timer. Report interval is = 30 minutes");
  EXPECT_TRUE(form.ReportTimerRunning());
  EXPECT_EQ(st.profile.values["bSnedReport"], "1");
  EXPECT_EQ(st.profile.values["bReportWebServer"], "1");
  EXPECT_EQ(st.product.values["iReportInterval"], "30");

  ReportDialogs again;
  again.interval = [](IntervalDialog& d) {
    d.nMinutes = 0;  // accepted
    return true;
  };
  OnMessageInterval(doc, form, again);
  EXPECT_EQ(Last(), "Sending report started by timer. Report interval is = 0 minutes");
  OnSendReport(doc, form, ok);
  EXPECT_EQ(Last(), "Sending report stopped");
  EXPECT_EQ(doc.bSnedReport, 0);
  EXPECT_FALSE(form.ReportTimerRunning());
}

TEST_F(ReportCommands, StoppingWithoutARunningTimerChangesNothing) {
  st.profile.values["bSnedReport"] = "1";
  CZentrovaDoc& doc = st.Doc();
  EventLoop loop(st.clock);
  CZentrovaControlForm form(doc, loop);  // no OnInitialUpdate: the timer is not running
  const int lines = doc.activityLog.Count();
  OnSendReport(doc, form, {});
  EXPECT_EQ(doc.bSnedReport, 1);
  EXPECT_EQ(doc.activityLog.Count(), lines);
}

TEST_F(ReportCommands, TheTestMessage) {
  CZentrovaDoc& doc = st.Doc();
  ReportDialogs dialogs;
  std::string offered;
  dialogs.askText = [&](const std::string& caption, const std::string& text) -> std::optional<std::string> {
    EXPECT_EQ(caption, "Message to be sent");
    offered = text;
    return text;
  };
  OnTestMessage(doc, channels, dialogs);
  EXPECT_EQ(st.prompt.shown, std::vector<std::string>{"Turn on sending report."});
  doc.bSnedReport = 1;
  doc.settingsBlock.bReportEMail = 0;  // the test is forced
  OnTestMessage(doc, channels, dialogs);
  EXPECT_EQ(offered, "Message from Zentrova on S1");
  EXPECT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(Last(), "Test message was successfully sent.");
}

TEST_F(ReportCommands, SenderRecipientAndServerSettings) {
  CZentrovaDoc& doc = st.Doc();
  st.product.values["SMTPServer"] = "mail.example.org";
  EmailSenderDialog sender(doc);
  EXPECT_EQ(sender.sServer, "mail.example.org");
  EXPECT_EQ(sender.nPort, 587);
  sender.nPort = 465;
  sender.sPassword = "secret";
  sender.OnOK();
  EXPECT_EQ(st.product.values["iPortNumber"], "465");
  EXPECT_EQ(st.product.values["SMTPPassword"], "secret");

  ReportDialogs dialogs;
  std::vector<std::pair<std::string, std::string>> asked;
  dialogs.askText = [&](const std::string& caption, const std::string& text) -> std::optional<std::string> {
    asked.emplace_back(caption, text);
    return caption == "Server's URL" ? std::string("http://127.0.0.1:9/r.php") : std::string("new@example.org");
  };
  OnRecipient(doc, dialogs);
  EXPECT_EQ(asked.back(), (std::pair<std::string, std::string>{"Set E-mail address", "op@example.org"}));
  EXPECT_EQ(st.product.values["ReceiverEMailAddress"], "new@example.org");
  OnServerUrl(doc, dialogs);
  EXPECT_EQ(st.profile.values["sServerURL"], "http://127.0.0.1:9/r.php");
  CurlHttpClient quick(2, 2);
  OnConnectToServer(doc, quick);
  ASSERT_FALSE(st.prompt.shown.empty());
  EXPECT_EQ(st.prompt.shown.back().rfind("Could not connect to a server. \r\nError : 7\r\n", 0), 0u);
}

}  // namespace
}  // namespace zentrova

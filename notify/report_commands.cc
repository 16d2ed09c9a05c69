#include "notify/report_commands.h"

#include <mutex>

#include "notify/form_post.h"
#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

void StopSending(CZentrovaDoc& doc, CZentrovaControlForm& form) {
  if (!form.ReportTimerRunning()) return;  // nothing changes, not even bSnedReport
  form.StopReportTimer();
  doc.activityLog.Add("Sending report stopped");
  doc.bSnedReport = 0;
  doc.settings.SaveInt("bSnedReport", 0);
}

void StartSending(CZentrovaDoc& doc, CZentrovaControlForm& form) {
  if (form.ReportTimerRunning()) return;
  doc.iReportInterval = 60;
  doc.settings.LoadInt("iReportInterval", doc.iReportInterval);
  form.StartReportTimer();
  doc.activityLog.Add(Printf("Sending report started by timer. Report interval is = %d minutes", doc.iReportInterval));
  doc.bSnedReport = 1;
  doc.settings.SaveInt("bSnedReport", 1);
}

using Lock = std::lock_guard<std::recursive_mutex>;

}  // namespace

// The models read the document when made and write it back in OnOK, each
// under the document's lock; the dialog between them runs without it, so
// the monitor goes on while the operator thinks.

ReportTypeDialog::ReportTypeDialog(CZentrovaDoc& d) : doc(d) {
  Lock lock(doc.mutex);
  bReportEMail = doc.settingsBlock.bReportEMail;
  bReportWebServer = doc.settingsBlock.bReportWebServer;
}

void ReportTypeDialog::OnOK() {
  Lock lock(doc.mutex);
  doc.settingsBlock.bReportEMail = bReportEMail;
  doc.settingsBlock.bReportWebServer = bReportWebServer;
  doc.settings.SaveInt("bReportEMail", bReportEMail);
  doc.settings.SaveInt("bReportWebServer", bReportWebServer);
}

IntervalDialog::IntervalDialog(CZentrovaDoc& d) : doc(d) {
  Lock lock(doc.mutex);
  doc.settings.LoadInt("iReportInterval", nMinutes);
}

void IntervalDialog::OnOK() {
  Lock lock(doc.mutex);
  doc.iReportInterval = nMinutes;
  doc.settings.SaveInt("iReportInterval", nMinutes);
  doc.settings.WriteProductInt("iReportInterval", nMinutes);  // the product key carries it too
}

EmailSenderDialog::EmailSenderDialog(CZentrovaDoc& d) : doc(d) {
  Lock lock(doc.mutex);
  doc.settings.ReadProductText("SenderEMailAddress", sSender);
  doc.settings.ReadProductText("SMTPServer", sServer);
  doc.settings.ReadProductInt(nPort, "iPortNumber");
  doc.settings.ReadProductText("SMTPUsername", sUsername);
  doc.settings.ReadProductText("SMTPPassword", sPassword);
}

void EmailSenderDialog::OnOK() {
  Lock lock(doc.mutex);
  doc.settings.WriteProductText("SenderEMailAddress", sSender);
  doc.settings.WriteProductText("SMTPServer", sServer);
  doc.settings.WriteProductInt("iPortNumber", nPort);
  doc.settings.WriteProductText("SMTPUsername", sUsername);
  doc.settings.WriteProductText("SMTPPassword", sPassword);
}

void OnRecipient(CZentrovaDoc& doc, const ReportDialogs& dialogs) {
  std::string address;
  {
    Lock lock(doc.mutex);
    doc.settings.ReadProductText("ReceiverEMailAddress", address);
  }
  auto entered = dialogs.askText ? dialogs.askText("Set E-mail address", address) : std::nullopt;
  if (!entered) return;
  Lock lock(doc.mutex);
  doc.settings.WriteProductText("ReceiverEMailAddress", *entered);
}

void OnServerUrl(CZentrovaDoc& doc, const ReportDialogs& dialogs) {
  std::string url;
  {
    Lock lock(doc.mutex);
    url = doc.settingsBlock.sServerURL;
  }
  auto entered = dialogs.askText ? dialogs.askText("Server's URL", url) : std::nullopt;
  if (!entered) return;
  Lock lock(doc.mutex);
  doc.settingsBlock.sServerURL = *entered;
  doc.settings.SaveText("sServerURL", *entered);
}

void OnConnectToServer(CZentrovaDoc& doc, HttpClient& http) {
  std::string url;
  int64_t now = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(doc.mutex);
    url = doc.settingsBlock.sServerURL;
    now = doc.platform.clock.Now();
  }
  const CivilTime c = SecondsToLocal(now).value_or(CivilTime{});
  doc.platform.prompt.Show(ConnectionTest(
      http, url, Printf("%d-%.2d-%.2d %.2d:%.2d:%.2d", c.year, c.month, c.day, c.hour, c.minute, c.second)));
}

void OnSendReport(CZentrovaDoc& doc, CZentrovaControlForm& form, const ReportDialogs& dialogs) {
  {
    Lock lock(doc.mutex);
    if (doc.bSnedReport == 1) {
      StopSending(doc, form);
      return;
    }
  }
  ReportTypeDialog type(doc);
  if (!dialogs.reportType || !dialogs.reportType(type)) return;
  type.OnOK();
  IntervalDialog interval(doc);
  if (!dialogs.interval || !dialogs.interval(interval)) return;
  interval.OnOK();
  Lock lock(doc.mutex);
  StartSending(doc, form);
}

void OnMessageInterval(CZentrovaDoc& doc, CZentrovaControlForm& form, const ReportDialogs& dialogs) {
  IntervalDialog interval(doc);
  if (dialogs.interval && dialogs.interval(interval)) interval.OnOK();
  Lock lock(doc.mutex);
  if (doc.bSnedReport == 1) {
    StopSending(doc, form);
    StartSending(doc, form);
  }
}

void OnTestMessage(CZentrovaDoc& doc, ReportChannels& channels, const ReportDialogs& dialogs) {
  bool sending = false;
  std::string preset;
  {
    Lock lock(doc.mutex);
    sending = doc.bSnedReport == 1;
    preset = "Message from Zentrova on " + doc.settingsBlock.sMyName;
  }
  if (!sending) {
    doc.platform.prompt.Show("Turn on sending report.");
    return;
  }
  auto text = dialogs.askText ? dialogs.askText("Message to be sent", preset) : std::nullopt;
  if (!text) return;
  Lock lock(doc.mutex);
  if (SendReport(doc, channels, *text, 1, {}) == 1) doc.activityLog.Add("Test message was successfully sent.");
}

}  // namespace zentrova

#include "notify/report_commands.h"

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

}  // namespace

ReportTypeDialog::ReportTypeDialog(CZentrovaDoc& d)
    : doc(d), bReportEMail(d.settingsBlock.bReportEMail), bReportWebServer(d.settingsBlock.bReportWebServer) {}

void ReportTypeDialog::OnOK() {
  doc.settingsBlock.bReportEMail = bReportEMail;
  doc.settingsBlock.bReportWebServer = bReportWebServer;
  doc.settings.SaveInt("bReportEMail", bReportEMail);
  doc.settings.SaveInt("bReportWebServer", bReportWebServer);
}

IntervalDialog::IntervalDialog(CZentrovaDoc& d) : doc(d) { doc.settings.LoadInt("iReportInterval", nMinutes); }

void IntervalDialog::OnOK() {
  doc.iReportInterval = nMinutes;
  doc.settings.SaveInt("iReportInterval", nMinutes);
  doc.settings.WriteProductInt("iReportInterval", nMinutes);  // the product key carries it too
}

void OnSendReport(CZentrovaDoc& doc, CZentrovaControlForm& form, const ReportDialogs& dialogs) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  if (doc.bSnedReport == 1) {
    StopSending(doc, form);
    return;
  }
  ReportTypeDialog type(doc);
  if (!dialogs.reportType || !dialogs.reportType(type)) return;
  type.OnOK();
  IntervalDialog interval(doc);
  if (!dialogs.interval || !dialogs.interval(interval)) return;
  interval.OnOK();
  StartSending(doc, form);
}

void OnMessageInterval(CZentrovaDoc& doc, CZentrovaControlForm& form, const ReportDialogs& dialogs) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  IntervalDialog interval(doc);
  if (dialogs.interval && dialogs.interval(interval)) interval.OnOK();
  if (doc.bSnedReport == 1) {
    StopSending(doc, form);
    StartSending(doc, form);
  }
}

void OnTestMessage(CZentrovaDoc& doc, ReportChannels& channels, const ReportDialogs& dialogs) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  if (doc.bSnedReport != 1) {
    doc.platform.prompt.Show("Turn on sending report.");
    return;
  }
  auto text = dialogs.askText ? dialogs.askText("Message to be sent", "Message from Zentrova on " + doc.settingsBlock.sMyName)
                              : std::nullopt;
  if (!text) return;
  if (SendReport(doc, channels, *text, 1, {}) == 1) doc.activityLog.Add("Test message was successfully sent.");
}

}  // namespace zentrova

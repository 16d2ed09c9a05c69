#pragma once
// The report commands of the control panel as document operations: "Send
// report" (start and stop), "Message interval", the test message and the
// report-type and interval dialogs as models the GUI draws.

#include <functional>
#include <optional>
#include <string>

#include "monitor/control_form.h"
#include "notify/send_report.h"

namespace zentrova {

// "Report": check boxes E-mail and Web server.
struct ReportTypeDialog {
  explicit ReportTypeDialog(CZentrovaDoc& doc);
  void OnOK();  // stores both
  CZentrovaDoc& doc;
  int bReportEMail = 1;
  int bReportWebServer = 0;
};

// "Integer data": "Set message interval", "Minutes"; no range check.
struct IntervalDialog {
  explicit IntervalDialog(CZentrovaDoc& doc);
  void OnOK();  // stores iReportInterval
  CZentrovaDoc& doc;
  int nMinutes = 60;
};

// "E-mail setting (sender)": the five sender values of the product key.
struct EmailSenderDialog {
  explicit EmailSenderDialog(CZentrovaDoc& doc);
  void OnOK();  // writes all five back
  CZentrovaDoc& doc;
  std::string sSender, sServer, sUsername, sPassword;
  int nPort = 587;
};

// The operator's answers: each returns false for "Cancel" (after editing its dialog).
struct ReportDialogs {
  std::function<bool(ReportTypeDialog&)> reportType;
  std::function<bool(IntervalDialog&)> interval;
  std::function<std::optional<std::string>(const std::string& caption, const std::string& text)> askText;
};

// "Send report": stops sending when it is on; otherwise asks the report type
// and the interval and, when both end with OK, starts the report timer.
void OnSendReport(CZentrovaDoc& doc, CZentrovaControlForm& form, const ReportDialogs& dialogs);
// "Message interval": the interval dialog, then (when sending is on) the
// timer restarted, also after "Cancel".
void OnMessageInterval(CZentrovaDoc& doc, CZentrovaControlForm& form, const ReportDialogs& dialogs);
// "E-mail address (recipient)": the string dialog with the stored address.
void OnRecipient(CZentrovaDoc& doc, const ReportDialogs& dialogs);
// "Server's URL": the string dialog; stored in the settings and the profile.
void OnServerUrl(CZentrovaDoc& doc, const ReportDialogs& dialogs);
// "Connect to server": posts the test form and shows the answer.
void OnConnectToServer(CZentrovaDoc& doc, HttpClient& http);
// "Send e-mail" under "Test".
void OnTestMessage(CZentrovaDoc& doc, ReportChannels& channels, const ReportDialogs& dialogs);

}  // namespace zentrova

#pragma once
// The one way a message leaves the station: an e-mail through the sender
// program ZuveRadeRI.exe (title and body in the product key, attachments
// on its command line) and/or the report form posted to the web server.

#include <functional>
#include <string>
#include <vector>

#include "monitor/zentrova_doc.h"
#include "notify/battery_reading.h"
#include "notify/form_outbox.h"
#include "notify/mail_outbox.h"
#include "platform/http_client.h"
#include "platform/process_launcher.h"

namespace zentrova {

// What SendReport needs besides the document.
struct ReportChannels {
  ProcessLauncher& launcher;
  HttpClient& http;
  std::function<BatteryReading()> battery;     // Part of the station's health; 0 V until wired
  std::function<double(char letter)> freeFraction;  // of the destination drive; 0 until wired
  // The string dialog for a missing recipient; nothing = cancelled.
  std::function<std::optional<std::string>(const std::string& caption, const std::string& text)> askText;
  // Where the report form goes; without one it is posted on the caller's thread.
  FormOutbox* outbox = nullptr;
  // Where the e-mail goes; without one the product key is written and the
  // sender started on the caller's thread.
  MailOutbox* mailbox = nullptr;
};

inline constexpr const char* kSenderProgram = "ZuveRadeRI.exe";

// 1 when the message was handed on, 0 otherwise. Handed on: the sender was
// started, or (with an outbox) the message is kept in it and the sender is
// a program this user may start; or the form was posted or queued.
// Whether it then reached its server the outbox tells in the activity log;
// with `announce` the mail outbox also tells when the e-mail was delivered
// ("Mail was sent"). Without an outbox no delivery is told.
// The subject is "Message from Zentrova at SITE: " and `summary`, or,
// without one, what MessageSummary makes of the text.
int SendReport(CZentrovaDoc& doc, ReportChannels& channels, const std::string& text, int force,
               const std::vector<std::string>& attachments, bool announce = false, const std::string& summary = "");

// The six e-mail values of the product key, read with their defaults and
// written back, so the sender program finds all of them.
void WriteEmailSettings(CZentrovaDoc& doc);

// Wires SendReport and the e-mail values into the document's seams.
void ConnectReports(CZentrovaDoc& doc, ReportChannels& channels);

}  // namespace zentrova

#include "notify/send_report.h"

#include "notify/form_post.h"
#include "notify/mail_subject.h"
#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {

void WriteEmailSettings(CZentrovaDoc& doc) {
  Settings& s = doc.settings;
  // No recipient and no password are built in: the operator sets them.
  const std::pair<const char*, std::string> texts[] = {{"ReceiverEMailAddress", ""},
                                                       {"SenderEMailAddress", "zentrova@localhost"},
                                                       {"SMTPServer", "localhost"},
                                                       {"SMTPUsername", "zentrova@localhost"},
                                                       {"SMTPPassword", ""}};
  for (const auto& [name, fallback] : texts) {
    std::string value = fallback;
    s.ReadProductText(name, value);
    s.WriteProductText(name, value);
  }
  int port = 587;
  s.ReadProductInt(port, "iPortNumber");
  s.WriteProductInt("iPortNumber", port);
}

int SendReport(CZentrovaDoc& doc, ReportChannels& ch, const std::string& text, int force,
               const std::vector<std::string>& attachments, bool announce, const std::string& summary) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  MonitorSettings& m = doc.settingsBlock;
  const BatteryReading battery = ch.battery ? ch.battery() : BatteryReading{};
  const std::string batteryLine = BatteryLine(battery, doc.platform.clock.Now());
  const std::string version = doc.platform.system.Version();
  const int drive = std::max(0, std::min(m.iCurrentDrive, 9));
  const std::string letter = m.drives[drive].sDriveLetter.empty() ? "C" : m.drives[drive].sDriveLetter.substr(0, 1);
  const double free = ch.freeFraction ? ch.freeFraction(letter[0]) : 0.0;
  const std::string driveLine = Printf("Drive = %s: %.3f%% is free", letter.c_str(), 100.0 * free);
  const std::string& site = m.sMyName;

  const bool mail = m.bReportEMail == 1 || force == 1;
  if (mail) {
    std::string recipient;
    if (!doc.settings.ReadProductText("ReceiverEMailAddress", recipient)) {
      auto entered = ch.askText ? ch.askText("Set E-mail address", "") : std::nullopt;
      if (!entered) return 0;
      doc.settings.WriteProductText("ReceiverEMailAddress", *entered);
    }
  }
  const std::string title = MailSubject(site, summary.empty() ? MessageSummary(text, battery) : summary);
  const std::string body = site + "\n" + text + "\n" + driveLine + "\n" + batteryLine;
  const std::string program = JoinPath(doc.platform.fs, m.strProgramFolder, kSenderProgram);
  // An attachment that is not there (an event without its image) is not
  // named to the sender at all.
  std::vector<std::string> files;
  for (const auto& path : attachments) {
    if (!path.empty()) files.push_back(path);
  }
  int r = 0;
  if (ch.mailbox) {
    // The outbox keeps the message until the sender took it, and writes the
    // product key when this message's turn comes. What the station attaches
    // lies below its destination folder, wherever that is now.
    ch.mailbox->AllowAttachmentsBelow(m.strDestinationFolder);
    ch.mailbox->Submit({title, body, mail, program, files, text, announce && mail});
    if (mail) r = ch.launcher.CanStart(program) ? 1 : 0;
  } else {
    doc.settings.WriteProductText("MessageToBeSent", body);
    doc.settings.WriteProductText("stMessaggeTitle", title);
    if (mail) r = ch.launcher.Start(program, files) ? 1 : 0;
  }
  if (m.bReportWebServer == 1) {
    const CivilTime c = SecondsToLocal(doc.platform.clock.Now()).value_or(CivilTime{});
    const FormFields values = {site,
                               text,
                               Printf("%.1f", static_cast<double>(battery.voltage)),
                               Printf("%d", m.nFileId),
                               letter,
                               Printf("%.3f", 100.0 * free),
                               Printf("%d-%.2d-%.2d %.2d:%.2d:%.2d", c.year, c.month, c.day, c.hour, c.minute, c.second),
                               version};
    if (ch.outbox) {
      ch.outbox->Submit(m.sServerURL, values);
    } else {
      PostForm(ch.http, m.sServerURL, kFormNames, values);  // the answer does not change the result
    }
    m.nFileId = -1;
    return 1;
  }
  return r;
}

void ConnectReports(CZentrovaDoc& doc, ReportChannels& channels) {
  doc.services.sendReport = [&doc, &channels](const std::string& text, int force,
                                              const std::vector<std::string>& attachments, bool announce,
                                              const std::string& summary) {
    return SendReport(doc, channels, text, force, attachments, announce, summary);
  };
  doc.services.writeEmailSettings = [&doc] { WriteEmailSettings(doc); };
}

}  // namespace zentrova

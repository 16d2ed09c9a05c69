#include "detection/event_run.h"

#include "detection/event_detector.h"
#include "detection/event_message.h"
#include "platform/local_time.h"
#include "platform/narrow_mode.h"
#include "platform/printf.h"

namespace zentrova {

namespace {

void Say(CZentrovaDoc& doc, const std::string& line) {
  doc.activityLog.Add(line);
  doc.activityLog.AppendToLogFile(line);
}

}  // namespace

EventDetectionParameters& DetectionParameters(CZentrovaDoc& doc) {
  if (!doc.pDetectionParameters) {
    doc.pDetectionParameters = std::make_shared<EventDetectionParameters>();
    // Once, as the stored values out of range are said at the start.
    for (const std::string& note : doc.pDetectionParameters->LoadDetectionParameters(doc.platform.product)) {
      Say(doc, "product.ini: " + note);
    }
  }
  return *doc.pDetectionParameters;
}

int RunEventDetection(CZentrovaDoc& doc) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  const int64_t now = doc.platform.clock.Now();
  const CivilTime c = SecondsToLocal(now).value_or(CivilTime{});
  EventDetectionParameters& p = DetectionParameters(doc);
  DetectEvents(p, doc.record, doc.platform.fs, doc.activityLog.EventFile(), doc.platform.clock.Now());
  // Records sampled alike give the same note: said with the first of them.
  if (p.sBandPassNote != p.sBandPassNoteSaid) {
    if (!p.sBandPassNote.empty()) Say(doc, p.sBandPassNote);
    p.sBandPassNoteSaid = p.sBandPassNote;
  }
  doc.activityLog.AppendToLogFile(Printf("%d/%.2d/%.2d  %.2d:%.2d:%.2d", c.year, c.month, c.day, c.hour, c.minute,
                                         c.second));
  doc.activityLog.AppendToLogFile(Printf("Event detection was conducted to %s (Number of traces = %d)",
                                         doc.record.strFileName.c_str(), doc.record.nTraces));
  const std::string found = Printf("%d events were detected.", p.nEvents);
  doc.activityLog.Add(found);
  doc.activityLog.AppendToLogFile(found);
  return p.nEvents;
}

int DetectAndNotify(CZentrovaDoc& doc, const std::string& filedPath, int fileNumber) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  const int n = RunEventDetection(doc);
  // The event file and the image tell of the record: no one who may not
  // read the record reads them.
  const int recordMode = CommonMode(doc.platform.fs, {filedPath});
  NarrowMode(doc.platform.fs, doc.activityLog.EventFile(), recordMode);
  if (n > 0 && doc.bSendMail == 1) {
    std::string image = doc.services.drawEventImage ? doc.services.drawEventImage(fileNumber, recordMode) : "";
    // A picture that could not be written is not attached, nor whatever
    // else holds its name (a folder, a link to another file).
    if (!image.empty()) {
      const auto entry = doc.platform.fs.Inspect(image);
      if (!entry.ok() || entry->type != EntryType::kRegular) image.clear();
    }
    const std::string message = EventMessage(DetectionParameters(doc), fileNumber);
    // Handed on is not yet sent: the mail outbox says "Mail was sent" once
    // the sender delivered it.
    const std::string summary = EventSummary(DetectionParameters(doc), doc.record);
    if (doc.bSnedReport == 1 && doc.SendReport(message, 0, {filedPath, image}, true, summary) == 1) {
      doc.activityLog.Add("Mail was queued");
      doc.activityLog.AppendToLogFile("Mail was queued");
    }
  }
  return n;
}

void ToggleEventDetection(CZentrovaDoc& doc) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  if (doc.bEventDetection == 1) {
    doc.bEventDetection = 0;
    doc.bSendMail = 0;  // in memory only
    doc.activityLog.Add("Event detection inactive");
  } else {
    doc.bEventDetection = 1;
    doc.activityLog.Add(doc.bSendMail == 1 ? "Event detection active (E-mail will be sent)" : "Event detection active");
  }
  doc.settings.SaveInt("bEventDetection", doc.bEventDetection);
}

void ToggleSendMail(CZentrovaDoc& doc) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  doc.bSendMail = 1 - doc.bSendMail;
  doc.settings.SaveInt("bSendMail", doc.bSendMail);
  doc.activityLog.Add(doc.bSendMail == 1 ? "Detected event will be sent by e-mail" : "Detected event will not be sent");
}

void ConnectEventDetection(CZentrovaDoc& doc) {
  doc.services.detectAndNotify = [&doc](const std::string& path, int number) { return DetectAndNotify(doc, path, number); };
}

}  // namespace zentrova

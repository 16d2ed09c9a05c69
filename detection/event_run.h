#pragma once
// Event detection as the station runs it: on the document's record, with
// its log lines, the event file and the event message; and the "Active" and
// "Send e-mail" switches.

#include <string>

#include "detection/event_detection_parameters.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

// The document's parameters, created and loaded from the product key on first use.
EventDetectionParameters& DetectionParameters(CZentrovaDoc& doc);

int RunEventDetection(CZentrovaDoc& doc);
// The pipeline's step: detection, then the message with the filed record
// and its waveform image when bSendMail and report sending are on.
int DetectAndNotify(CZentrovaDoc& doc, const std::string& filedPath, int fileNumber);

// "Active": switches detection on or off, stored as bEventDetection.
void ToggleEventDetection(CZentrovaDoc& doc);
// "Send e-mail": switches bSendMail, stored.
void ToggleSendMail(CZentrovaDoc& doc);

// Wires DetectAndNotify into the document's pipeline.
void ConnectEventDetection(CZentrovaDoc& doc);

}  // namespace zentrova

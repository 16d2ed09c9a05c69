#include "app/shell/status_buttons.h"

#include <mutex>

#include "app/shell/command_ids.h"
#include "monitor/control_form.h"
#include "platform/printf.h"

namespace zentrova {

StatusFace StatusFaceOf(int slot, CZentrovaDoc& doc, const CZentrovaControlForm& form) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  StatusFace f;
  switch (slot) {
    case 0:
      f = {1012, form.bRunning == 1, ""};
      f.caption = f.on ? "Monitor : ON" : "Start monitor";
      break;
    case 1:
      f = {1013, doc.bSnedReport == 1, ""};
      f.caption = f.on ? Printf("Report : ON (%d min)", doc.iReportInterval) : "Start sending report";
      break;
    case 2:
      f = {1014, doc.bAutoStart == 1, ""};
      f.caption = f.on ? "Auto start : ON" : "Set auto start";
      break;
    case 3:
      f = {1015, doc.bAutoStartTC == 1, ""};
      f.caption = f.on ? "Auto start TC : ON" : "Set auto start TC";
      break;
    case 4:
      f = {1016, doc.bMoveToFolder == 1, ""};
      f.caption = f.on ? "Move to folder : ON" : "Start moving to folder";
      break;
    case 5:
      f = {1017, doc.bConcatenate == 1, ""};
      f.caption = f.on ? Printf("Concatenation : ON (%d)", doc.nDataConcatenate) : "Start concatenating";
      break;
    case 6:
      f = {1700, doc.bWarning == 1, ""};
      f.caption = f.on ? Printf("Warning : ON (%d min, %.1f V, %.1fV)", doc.settingsBlock.nMinNoFile,
                                static_cast<double>(doc.settingsBlock.fBatteryWarning),
                                static_cast<double>(doc.settingsBlock.fBatteryShutdown))
                       : "Start warning";
      break;
    case 7:
      f = {1021, doc.bDatabaseUploadOrbel == 1, ""};
      f.caption = f.on ? "Upload : ON" : "Start upload";
      break;
    default:
      break;
  }
  return f;
}

int StatusButtonCommand(int slot, const CZentrovaControlForm& form) {
  switch (slot) {
    case 0: return form.bRunning == 1 ? kCmdStop : kCmdStart;
    case 1: return kCmdSendReport;
    case 2: return kCmdAutoStart;
    case 3: return kCmdAutoStartTC;
    case 4: return kCmdMoveToFolder;
    case 5: return kCmdConcatenate;
    case 6: return kCmdSendWarning;
    case 7: return kCmdUploadWaveformFile;
    default: return 0;
  }
}

}  // namespace zentrova

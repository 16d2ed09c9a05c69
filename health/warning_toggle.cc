#include "health/warning_toggle.h"

#include <cmath>

#include "platform/printf.h"

namespace zentrova {

CDlgBatteryWarning::CDlgBatteryWarning(CZentrovaDoc& doc) : doc_(doc) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  sWarning = Printf("%g", static_cast<double>(doc.settingsBlock.fBatteryWarning));
  sShutdown = Printf("%g", static_cast<double>(doc.settingsBlock.fBatteryShutdown));
}

CDlgBatteryWarning::Outcome CDlgBatteryWarning::OnOK() {
  double warning = 0.0, shutdown = 0.0;
  if (!ParseStoredFloat(sWarning, warning) || std::fabs(warning) > 3.0e38) return {false, "Enter a number.", kWarning};
  if (!ParseStoredFloat(sShutdown, shutdown) || std::fabs(shutdown) > 3.0e38) {
    return {false, "Enter a number.", kShutdown};
  }
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  MonitorSettings& m = doc_.settingsBlock;
  m.fBatteryWarning = static_cast<float>(warning);
  m.fBatteryShutdown = static_cast<float>(shutdown);
  doc_.settings.SaveFloat("fBatteryWarning", m.fBatteryWarning);
  doc_.settings.SaveFloat("fBatteryShutdown", m.fBatteryShutdown);
  return {true, "", kNone};
}

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// The two dialogs run without the document's lock: the monitor goes on
// while they are open.
void SwitchOn(CZentrovaDoc& doc, CZentrovaControlForm& form, const WarningDialogs& dialogs) {
  MonitorSettings& m = doc.settingsBlock;
  int shown = 0;
  {
    Lock lock(doc.mutex);
    shown = m.nMinNoFile;
  }
  const auto minutes =
      dialogs.integer ? dialogs.integer("Enter file absence time to send warning", "minutes", shown) : std::nullopt;
  if (!minutes) return;
  {
    Lock lock(doc.mutex);
    m.nMinNoFile = *minutes;
    doc.settings.SaveInt("nMinNoFile", m.nMinNoFile);
  }
  CDlgBatteryWarning thresholds(doc);
  if (!dialogs.thresholds || !dialogs.thresholds(thresholds)) return;
  Lock lock(doc.mutex);
  form.StartBatteryTimer();
  doc.activityLog.Add(Printf("Warning will be sent if there was no file more than %d minutes", m.nMinNoFile));
  doc.activityLog.Add(
      Printf("Warning will be sent if battery voltage is less than %.1f V", static_cast<double>(m.fBatteryWarning)));
  doc.activityLog.Add(
      Printf("PC will be shutdown if battery voltage is less than %.1f V", static_cast<double>(m.fBatteryShutdown)));
  doc.bWarning = 1;
}

}  // namespace

void ToggleWarning(CZentrovaDoc& doc, CZentrovaControlForm& form, const WarningDialogs& dialogs) {
  bool on = false;
  {
    Lock lock(doc.mutex);
    on = doc.bWarning != 0;
    if (on) {
      form.StopBatteryTimer();
      doc.activityLog.Add("Warning will not be sent");
      doc.bWarning = 0;
    }
  }
  if (!on) SwitchOn(doc, form, dialogs);
  Lock lock(doc.mutex);
  doc.settings.SaveInt("bWarning", doc.bWarning);
}

}  // namespace zentrova

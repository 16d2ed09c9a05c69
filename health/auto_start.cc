#include "health/auto_start.h"

namespace zentrova {

void ToggleAutoStartController(CZentrovaDoc& doc) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  if (doc.bAutoStartTC == 1) {
    doc.bAutoStartTC = 0;
    doc.activityLog.Add("Auto start of Tarnlink Controller was canceled");
  } else {
    doc.bAutoStartTC = 1;
    doc.activityLog.Add("Tarnlink Controller will be launched automatically");
  }
  doc.settings.SaveInt("bAutoStartTC", doc.bAutoStartTC);
}

void ToggleAutoStart(CZentrovaDoc& doc, LogonStart& logon) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  if (doc.bAutoStart == 1) {
    doc.activityLog.Add("Auto start was canceled");
    logon.Remove();
    doc.bAutoStart = 0;
  } else {
    doc.activityLog.Add("Zentrova will be launched and start to monitor automatically");
    logon.Register(doc.platform.system.ProgramPath());
    doc.bAutoStart = 1;
  }
  doc.settings.SaveInt("bAutoStart", doc.bAutoStart);
}

void OnControllerLocation(CZentrovaDoc& doc,
                          const std::function<std::optional<std::string>(const std::string& preset)>& choose) {
  const auto chosen = choose ? choose("TC.exe") : std::nullopt;
  if (!chosen) return;
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  doc.strControllerPath = *chosen;
}

}  // namespace zentrova

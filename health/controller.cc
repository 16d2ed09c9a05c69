#include "health/controller.h"

namespace zentrova {

int IsProcessRunning(ProcessTable& processes, const std::string& name) {
  const auto names = processes.ProgramNames();
  if (!names) return 1;
  for (const std::string& program : *names) {
    if (program.find(name) != std::string::npos) return 1;
  }
  return 0;
}

int CloseWindowByTitle(WindowTree& windows, const std::string& text) {
  const std::vector<ScreenWindow> all = windows.Walk();
  const ScreenWindow* candidate = nullptr;
  for (const ScreenWindow& w : all) {
    if (w.title.find(text) != std::string::npos) candidate = &w;
  }
  if (!candidate) return 0;
  for (const ScreenWindow& w : all) {
    if (w.topLevel && w.title == candidate->title) return windows.PostClose(w.id) ? 1 : 0;
  }
  return 0;
}

int LaunchController(CZentrovaDoc& doc, HealthChannels& ch) {
  if (IsProcessRunning(ch.processes, ch.controllerProcess) == 1) return 2;
  ch.controllerProgram.Set("IgnoreCrash", "1");  // a store that refuses the write is ignored
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  const std::string fallbacks[] = {ch.fallbacks.first, ch.fallbacks.second};
  std::string tried = doc.strControllerPath;
  if (ch.launcher.Start(doc.strControllerPath, {})) return 0;
  for (const std::string& path : fallbacks) {
    doc.strControllerPath = path;
    if (ch.launcher.Start(doc.strControllerPath, {})) return 0;
    tried += ", " + path;
  }
  // Otherwise only the start message would tell, and only with reports on.
  const std::string line = "Tarnlink Controller did not start (tried " + tried + ")";
  doc.activityLog.Add(line);
  doc.activityLog.AppendToLogFile(line);
  return 1;
}

}  // namespace zentrova

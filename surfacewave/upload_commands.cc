#include "surfacewave/upload_commands.h"

namespace zentrova {

UploadSwitches::UploadSwitches(Settings& settings) : hosts(LoadUploadHosts(settings)) {
  settings.LoadInt("bUseLocalServer", bUseLocalServer);
}

void OnUploadWaveformFile(UploadSwitches& s, Settings& settings, ActivityLog& log,
                          const std::function<void()>& refreshPanel) {
  s.bDatabaseUploadOrbel = s.bDatabaseUploadOrbel == 1 ? 0 : 1;
  log.Add(s.bDatabaseUploadOrbel == 1 ? "File upload is on" : "File upload is off");
  settings.SaveInt("bDatabaseUploadOrbel", s.bDatabaseUploadOrbel);
  if (refreshPanel) refreshPanel();
}

void OnUseLocalServer(UploadSwitches& s, Settings& settings) {
  s.bUseLocalServer = s.bUseLocalServer == 1 ? 0 : 1;
  settings.SaveInt("bUseLocalServer", s.bUseLocalServer);
}

void OnUploadToDatabase(UploadSwitches& s, Settings& settings, ActivityLog& log,
                        const std::function<void(int)>& sendToViews) {
  s.bDatabaseUpload = s.bDatabaseUpload == 1 ? 0 : 1;
  if (s.bDatabaseUpload == 1 && !s.databaseServer) {
    s.databaseServer = std::make_unique<DatabaseServer>(settings, s.hosts.database);
  }
  log.Add(s.bDatabaseUpload == 1 ? "Uploading data started" : "Uploading data stopped");
  if (sendToViews) sendToViews(kCommandRefreshButtons);
}

bool UploadCommandChecked(const UploadSwitches& s, int command) {
  switch (command) {
    case kCommandUploadWaveformFile:
      return s.bDatabaseUploadOrbel == 1;
    case kCommandUseLocalServer:
      return s.bUseLocalServer == 1;
    case kCommandUploadToDatabase:
      return s.bDatabaseUpload == 1;
    default:
      return false;
  }
}

}  // namespace zentrova

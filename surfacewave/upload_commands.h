#pragma once
// The three upload switches of the document and their commands: "Upload
// waveform file" (32843), "Use local server" (32845) and "Upload data to
// database (MASW)" (32841), with the check marks of their menu rows.

#include <functional>
#include <memory>

#include "monitor/activity_log.h"
#include "monitor/settings.h"
#include "surfacewave/upload_server.h"

namespace zentrova {

constexpr int kCommandUploadToDatabase = 32841;
constexpr int kCommandRefreshButtons = 32842;  // sent to the views after 32841
constexpr int kCommandUploadWaveformFile = 32843;
constexpr int kCommandUseLocalServer = 32845;

struct UploadSwitches {
  // "bUseLocalServer" and the host names are read; "bDatabaseUploadOrbel"
  // is not: the file upload starts switched off whatever it holds.
  explicit UploadSwitches(Settings& settings);

  int bDatabaseUploadOrbel = 0;
  int bUseLocalServer = 0;
  int bDatabaseUpload = 0;
  UploadHosts hosts;
  std::unique_ptr<DatabaseServer> databaseServer;  // made by the first switching-on
};

// 32843: toggles the file upload, logs "File upload is on"/"File upload is
// off", stores "bDatabaseUploadOrbel", refreshes the control panel.
void OnUploadWaveformFile(UploadSwitches& s, Settings& settings, ActivityLog& log,
                          const std::function<void()>& refreshPanel);
// 32845: toggles the local server and stores "bUseLocalServer".
void OnUseLocalServer(UploadSwitches& s, Settings& settings);
// 32841: toggles the database upload (making the DatabaseServer when it is
// first switched on), logs "Uploading data started"/"Uploading data
// stopped", then sends 32842 to the views.
void OnUploadToDatabase(UploadSwitches& s, Settings& settings, ActivityLog& log,
                        const std::function<void(int)>& sendToViews);
// The check mark of a command's menu row.
bool UploadCommandChecked(const UploadSwitches& s, int command);

}  // namespace zentrova

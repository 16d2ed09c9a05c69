#include "surfacewave/station_uploads.h"

#include "surfacewave/xml_document.h"

namespace zentrova {

StationUploads::StationUploads(CZentrovaDoc& doc, HttpClient& http)
    : switches(doc.settings), doc_(doc), queue_(http, doc.platform.fs, doc.activityLog, switches.hosts) {
  CopySwitchesToDocument();
}

StationUploads::~StationUploads() { queue_.Close(2000); }

void StationUploads::CopySwitchesToDocument() {
  doc_.bDatabaseUploadOrbel = switches.bDatabaseUploadOrbel;
  doc_.bUseLocalServer = switches.bUseLocalServer;
  doc_.bDatabaseUpload = switches.bDatabaseUpload;
}

void StationUploads::OnCommand(int command) {
  switch (command) {
    case kCommandUploadWaveformFile:
      OnUploadWaveformFile(switches, doc_.settings, doc_.activityLog, nullptr);
      break;
    case kCommandUseLocalServer:
      OnUseLocalServer(switches, doc_.settings);
      break;
    case kCommandUploadToDatabase:
      OnUploadToDatabase(switches, doc_.settings, doc_.activityLog, nullptr);
      break;
    default:
      return;
  }
  CopySwitchesToDocument();
}

int StationUploads::QueueFile(const std::string& path, int useLocalServer) {
  queue_.UploadFile(path, useLocalServer == 1 ? 0 : 1);
  return kUploadQueued;
}

void StationUploads::AfterAnalysis(SurfaceWaveResult& result, bool imageStepsRan) {
  const bool upload = switches.bDatabaseUpload == 1;
  // Without the image steps the result has layer slots but no model built
  // in them: registering it would put an all-zero profile on the database.
  if (!imageStepsRan) {
    if (upload) doc_.platform.prompt.Show("No surface wave data.");
    return;
  }
  if (!xmlData) xmlData = std::make_unique<XmlSurveyData>(doc_.settings);
  // "test.xml" goes where the text files of the analysis go.
  const int filled =
      FillXmlFromResult(result, doc_.record, *xmlData, doc_.platform.fs, doc_.settingsBlock.strWatchedFolder);
  if (!upload) return;
  if (filled != 1) {
    doc_.platform.prompt.Show("No surface wave data.");
    return;
  }
  queue_.Register(switches.databaseServer ? *switches.databaseServer : DatabaseServer{}, StandardXmlText(*xmlData));
  xmlData->ReleaseSurfaceWaveData();
}

void ConnectUploads(CZentrovaDoc& doc, SurfaceWaveFollowUp& followUp, StationUploads& uploads) {
  // Queued, not made here: the queue logs each upload's line when it ends.
  doc.services.uploadWaveformFile = [&uploads](const std::string& path, int useLocalServer) {
    return uploads.QueueFile(path, useLocalServer);
  };
  followUp.onResult = [&uploads, &doc](SurfaceWaveResult& result) {
    uploads.AfterAnalysis(result, doc.bPhaseViewDrawn == 1);
  };
}

void UseStoredUploadSwitches(CZentrovaDoc& doc, StationUploads& uploads) {
  int orbel = 0;
  int database = 0;
  doc.settings.LoadInt("bDatabaseUploadOrbel", orbel);
  doc.settings.LoadInt("bDatabaseUpload", database);
  if (orbel == 1 && uploads.switches.bDatabaseUploadOrbel != 1) uploads.OnCommand(kCommandUploadWaveformFile);
  if (database == 1 && uploads.switches.bDatabaseUpload != 1) uploads.OnCommand(kCommandUploadToDatabase);
}

}  // namespace zentrova

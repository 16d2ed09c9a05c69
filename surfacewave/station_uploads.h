#pragma once
// The uploads of a station's monitor cycle: the record files the cycle
// found new, and, after each surface-wave analysis, the standard XML
// document ("test.xml" in the watched folder) and its registration at the
// geophysical database. The station owns this object as it owns the
// follow-up; the uploads run on the queue's thread and each one's line is
// logged when it ends.

#include <memory>

#include "monitor/zentrova_doc.h"
#include "platform/http_client.h"
#include "surfacewave/surface_wave_follow_up.h"
#include "surfacewave/upload_commands.h"
#include "surfacewave/upload_queue.h"
#include "surfacewave/xml_survey_data.h"

namespace zentrova {

class StationUploads {
 public:
  // Reads the host names and "bUseLocalServer" from the document's profile.
  StationUploads(CZentrovaDoc& doc, HttpClient& http);
  // What is still queued is given a short while, then cut off.
  ~StationUploads();
  StationUploads(const StationUploads&) = delete;
  StationUploads& operator=(const StationUploads&) = delete;

  // The three commands; each copies the switches into the document, whose
  // cycle reads them. (The caller holds the document's lock.)
  void OnCommand(int command);

  // After an analysis: fills the XML data from the result and writes
  // "test.xml" into the watched folder; when the database upload is on,
  // queues the document's registration.
  void AfterAnalysis(SurfaceWaveResult& result, bool imageStepsRan);

  // Queues the upload of a new record file; kUploadQueued.
  int QueueFile(const std::string& path, int useLocalServer);

  bool WaitIdle(int ms) { return queue_.WaitIdle(ms); }

  UploadSwitches switches;
  std::unique_ptr<XmlSurveyData> xmlData;  // made by the first analysis that writes it

 private:
  void CopySwitchesToDocument();

  CZentrovaDoc& doc_;
  UploadQueue queue_;
};

// Makes the document's cycle queue its file uploads here and the
// follow-up hand its results here.
void ConnectUploads(CZentrovaDoc& doc, SurfaceWaveFollowUp& followUp, StationUploads& uploads);

// The headless station's stand-in for the operator's menu: the stored
// "bDatabaseUploadOrbel" = 1 runs "Upload waveform file" once at start,
// and the stored "bDatabaseUpload" = 1 (read here only, never written)
// runs "Upload data to database (MASW)".
void UseStoredUploadSwitches(CZentrovaDoc& doc, StationUploads& uploads);

}  // namespace zentrova

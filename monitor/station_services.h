#pragma once
// What the monitor hands to other subsystems: event detection, reports,
// the drive manager, the concatenation, uploads, the surface-wave analysis
// and the acquisition controller. Each is a seam that does nothing until its
// subsystem is wired in.

#include <functional>
#include <string>
#include <vector>

namespace zentrova {

constexpr int kUploadQueued = -1;

class SeismicRecord;

// A record the pipeline has just taken in, as the watchers of the
// station's health see it.
struct TakenRecord {
  const SeismicRecord* record = nullptr;
  bool samplesRead = false;  // the traces hold this file's samples (else only its headers were read)
  std::string name;          // the file's name in the watched folder
  int64_t arrivedAt = 0;     // when the file last changed in the watched folder, seconds since 1970 (0 unknown)
  int events = -1;           // found by the event detection; -1 when it did not run
};

struct ConcatenationRequest {
  std::string sourceFolder;
  std::string targetFolder;
  int presetLength = 0;
  std::string nameText;
  int bInteractive = 0;
  int bThreaded = 1;
};

struct StationServices {
  // SendReport(text, force, attachments, announce, summary) -> 1 when
  // handed on. With `announce` the e-mail's delivery is told in the log
  // when it happens ("Mail was sent"), which may be long after. `summary`:
  // what happened, for the mail's subject (empty: taken from the text).
  std::function<int(const std::string&, int, const std::vector<std::string>&, bool, const std::string&)> sendReport;
  // DetectAndNotify(event path, file number) -> the events found.
  std::function<int(const std::string&, int)> detectAndNotify;
  // CheckDestinationDrive() -> 1 moved, 2 no drive available, 0 unchanged.
  std::function<int()> checkDestinationDrive;
  // After a check that found no drive: why, in one line (empty when unknown).
  std::function<std::string()> noDriveReason;
  // ConcatenateRecords(request) -> 1 when the join was started.
  std::function<int(const ConcatenationRequest&)> concatenateRecords;
  // UploadWaveformFile(path, use the local server) -> 1 when uploaded, or
  // kUploadQueued when it runs later and logs its own line when it ends.
  std::function<int(const std::string&, int)> uploadWaveformFile;
  // DrawEventImage(file number, widest permission bits) -> path of the
  // waveform image of the record.
  std::function<std::string(int, int)> drawEventImage;
  // The surface-wave follow-up of a cycle that read samples.
  std::function<void()> surfaceWaveFollowUp;
  // Drive table and destination placement at start-up.
  std::function<void()> placeDestination;
  // Writes the e-mail values into the product key at start-up.
  std::function<void()> writeEmailSettings;
  // Starts the acquisition controller: 0 started, 1 did not start, 2 already running.
  std::function<int()> startController;
  // The filing step of an accepted record: its path now and its kind.
  std::function<void(const std::string&, int)> archiveRecord;
  // At the end of every cycle.
  std::function<void()> endOfCycle;
  // Whether every record is to be read with its samples, as for the event
  // detection (the data-quality figures are taken from them).
  std::function<bool()> wantSamples;
  // After each record taken in, once it is filed and its events found.
  std::function<void(const TakenRecord&)> recordTaken;
  // At the end of every cycle: the new files it took and how long it ran,
  // in ms of the steady clock (its pauses included).
  std::function<void(int, int64_t)> cycleEnded;
};

}  // namespace zentrova

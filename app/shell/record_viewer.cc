#include "app/shell/record_viewer.h"

#include <mutex>

#include "concat/seg2_identifier.h"
#include "detection/event_detection_parameters.h"
#include "detection/event_detector.h"
#include "detection/event_run.h"
#include "platform/memory_file_system.h"
#include "platform/printf.h"
#include "platform/prompt.h"
#include "platform/read_only_file_system.h"
#include "records/data_file_kind.h"
#include "records/mtneo_import.h"
#include "records/seg2_reader.h"
#include "surfacewave/surface_wave_analysis.h"

namespace zentrova {
namespace {

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The importer's notes are not wanted here.
class QuietPrompt : public Prompt {
 public:
  void Show(const std::string&) override {}
};

// Empty when the record was read whole; otherwise why not, in the words
// of the record tool, with the file's name.
std::string Read(FileSystem& fs, SeismicRecord& record, const std::string& path) {
  if (!fs.Exists(path)) return "cannot open " + path;
  if (DataFileKind(FileName(path)) == DataKindMtNeo) {
    QuietPrompt prompt;
    return ImportMtNeoFile(fs, prompt, record, path, 1, 1) > 0
               ? ""
               : path + " rejected: not a usable DaZEZIROZev or Orbel record (rejected, or shorter than 59 s)";
  }
  const Seg2Identity identity = IdentifySeg2File(fs, path);
  if (identity == Seg2Identity::kCannotOpen) return "cannot open " + path;
  if (identity == Seg2Identity::kNotSeg2) {
    return path + ": not a SEG-2 record (it does not begin with the SEG-2 identifier)";
  }
  int status = 0;
  std::string why;
  const int read = ReadSeg2File(fs, record, path, 1, 1, status, &why);
  if (read >= 0 && status == kSeg2AllRead) return "";
  return path + " rejected: " + (why.empty() ? "not a SEG-2 record" : why);
}

}  // namespace

ViewedRecord OpenRecordForViewing(CZentrovaDoc& doc, SurfaceWaveFollowUp* surfaceWaves, const std::string& path) {
  ViewedRecord v;
  v.name = FileName(path);
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  ReadOnlyFileSystem fs(doc.platform.fs);
  // Read beside the shown record: a record rejected halfway leaves the
  // shown one whole.
  SeismicRecord read(doc.record.strWorkFolder);
  v.why = Read(fs, read, path);
  if (!v.why.empty()) return v;
  doc.record.TakeTracesOf(read);
  doc.record.strFileName = v.name;
  if (doc.bEventDetection == 1) {
    // The stored parameters, loaded on first use as for the monitor's records.
    DetectEvents(DetectionParameters(doc), doc.record, fs, "", doc.platform.clock.Now());
  }
  if (surfaceWaves != nullptr && doc.record.nTraces > 0) {
    // A copy of the settings: the stored-only values stay as they are.
    DispersionSettings settings = surfaceWaves->settings;
    MemoryFileSystem textFiles;
    SurfaceWaveResult result;
    AnalyseSurfaceWaves(doc.record, settings, nullptr, textFiles, "/", true, result, &surfaceWaves->profiles);
    // A record opened to look at joins the profile whether or not its view
    // is open now: it is there when the view opens.
    surfaceWaves->profiles.AppendResult(result);
  }
  v.ok = true;
  return v;
}

std::string RecordStatusLine(CZentrovaDoc& doc, bool viewing) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  const SeismicRecord& r = doc.record;
  if (r.strFileName.empty()) return "No record yet";
  std::string line = (viewing ? "Viewing " : "Last record ") + FileName(r.strFileName);
  line += r.time.bTimeValid == 1 && !r.time.strFirstSample.empty() ? ", first sample " + r.time.strFirstSample
                                                                    : ", no time";
  const EventDetectionParameters* p = doc.pDetectionParameters.get();
  if (doc.bEventDetection == 1 && p) {
    line += p->nEvents == 1 ? ", 1 event" : Printf(", %d events", p->nEvents);
  } else {
    line += ", event detection off";
  }
  return line;
}

}  // namespace zentrova

// Every new file once: read it into the record, check it against the run,
// register and report it, file it, and hand it to the event detection.

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "monitor/zentrova_doc.h"
#include "platform/printf.h"
#include "records/data_file_kind.h"
#include "records/seg2_reader.h"

namespace zentrova {
namespace {

// The number a file name begins with (1234 of 1234.sg2), the web report's
// file id; nothing for a name that does not begin with digits.
std::optional<int> LeadingNumber(const std::string& name) {
  size_t i = 0;
  int64_t v = 0;
  while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])) && v < 1000000000) {
    v = v * 10 + (name[i++] - '0');
  }
  if (i == 0 || v > INT32_MAX) return std::nullopt;
  return static_cast<int>(v);
}

constexpr const char* kNoTraceRead = "not a readable SEG-2 record: no trace could be read";

}  // namespace

void CZentrovaDoc::ReportRecord(const NewFileInput& in) {
  MonitorSettings& s = settingsBlock;
  const std::string& name = in.name;
  if (auto id = LeadingNumber(name)) s.nFileId = *id;
  // After a header-only read the record's traces are still the last file's:
  // the counts of this file are taken from the file.
  const bool headersOnly = in.kind == DataKindSeg2 && in.bReadData == 0;
  const int traces = headersOnly ? record.nTracesInFile : record.nTraces;
  const RecordTimeHeader& t = record.time;
  std::string text;
  if (t.bTimeValid == 1) {
    const char* status = t.nGpsStatus == 0 ? "OK" : t.nGpsStatus == 1 ? "Lost" : t.nGpsStatus == 2 ? "No GPS"
                                                                                                     : "No date and time";
    text = Printf(" (Number of traces = %d GPS=%s %s )", traces, status, t.strFirstSample.c_str());
    s.bRecordTimeValid = 1;
    s.tRecordTime = t.tFirstSample;
    s.nRecordTimeMs = t.nFirstSampleMs;
  } else {
    int samples = record.nTraces > 0 ? record.pHeader[0].nSamples : 0;
    if (headersOnly) samples = ReadSeg2FirstTraceSamples(platform.fs, in.path);
    text = Printf(" (Number of traces = %d : Number of samples = %d)", traces, samples);
    s.bRecordTimeValid = 0;
  }
  activityLog.Add(name + text);
}

PipelineResult CZentrovaDoc::ProcessNewFile(const NewFileInput& in) {
  MonitorSettings& s = settingsBlock;
  // A rejected record whose move to the error folder failed is not read and
  // logged again: only the move is tried once more.
  // One already copied there from a read-only folder is left alone.
  int64_t arrivedAt = 0;
  if (auto entry = platform.fs.Inspect(in.path); entry.ok()) {
    arrivedAt = entry->mtimeNs / 1000000000;
    if (rejectedRecords.Copied(in.path, *entry)) return {};
    if (rejectedRecords.Holds(in.path, *entry)) {
      MoveToErrorFolder(in.path, in.name, rejectedRecords.Reason(in.path));
      return {};
    }
  }
  const bool seg2 = in.kind == DataKindSeg2;
  // No reference yet (files registered at "Start" kept the known list from
  // ever being empty): this file sets it, as the run's first file would.
  const bool first = in.first == 1 || s.nReferenceTraces == 0;
  int n = 0;
  if (seg2) {
    int status = 0;
    n = ReadSeg2File(platform.fs, record, in.path, first ? 1 : s.bVariableFileSize, in.bReadData, status);
  } else {
    n = ImportMtNeoFile(platform.fs, platform.prompt, record, in.path, 1, in.bReadData, orbelChannels);
  }
  if (first) {
    activityLog.AppendToLogFile(Printf("Found file : %s : Numer of traces = %d bReadData=%d", in.name.c_str(), n, in.bReadData));
    if (n == 0 && seg2) {
      MoveToErrorFolder(in.path, in.name, kNoTraceRead);
      return {};
    }
    if (n <= 0) return {};
    s.nReferenceTraces = n;
  } else {
    activityLog.AppendToLogFile(Printf("Found file: %s : Numer of traces = %d", in.name.c_str(), n));
    if (n == 0 && seg2) {
      activityLog.AppendToLogFile(Printf("Caiution: Number of traces = 0. %s", in.name.c_str()));
      MoveToErrorFolder(in.path, in.name, kNoTraceRead);
      return {};
    }
    if (n != s.nReferenceTraces && seg2) {
      activityLog.AppendToLogFile(Printf("Caiution: Number of traces = %d and not consistent. %s", n, in.name.c_str()));
      activityLog.Add(Printf("Caiution: Number of traces = %d and not consistent. %s", n, in.name.c_str()) +
                      Printf(" (the first record of the run has %d); it goes to the error folder.", s.nReferenceTraces));
      MoveToErrorFolder(in.path, in.name,
                        Printf("%d traces where the first record of the run has %d", n, s.nReferenceTraces));
      return {};
    }
    if (n <= 0) return {};
  }

  record.strFileName = in.name;
  s.KnownFiles.Append(in.path);
  if (in.first == 0) s.strLastFileName = in.name;
  ReportRecord(in);
  // A record dated ahead of the clock (an acquisition clock gone wrong)
  // counts as taken now: its time would make every record of the next
  // outage look old.
  const int64_t now = platform.clock.Now();
  const RecordMoment moment = s.NamingMoment(now);
  runState.Took(std::min(moment.time * 1000 + moment.ms, now * 1000));

  PipelineResult result;
  result.accepted = true;
  std::string eventPath;
  if (bMoveToFolder == 1) {
    result.filedPath = FileRecord(in.path, in.fileNumber);
    eventPath = result.filedPath;
  } else {
    result.filedPath = in.path;
  }
  if (services.archiveRecord) services.archiveRecord(result.filedPath, in.kind);
  int events = -1;
  if (bEventDetection == 1 && services.detectAndNotify) events = services.detectAndNotify(eventPath, in.fileNumber);
  if (services.recordTaken) {
    // With headers only the traces are still an earlier file's.
    services.recordTaken({&record, in.bReadData == 1, in.name, arrivedAt, events});
  }
  return result;
}

}  // namespace zentrova

#include "tools/seg2_tool/detect_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <set>

#include "detection/event_detector.h"
#include "platform/local_time.h"
#include "platform/memory_file_system.h"
#include "platform/number_text.h"
#include "platform/printf.h"
#include "records/data_file_kind.h"
#include "tools/seg2_tool/detection_options.h"
#include "platform/json_text.h"
#include "tools/seg2_tool/record_reading.h"

namespace zentrova {
namespace {

constexpr const char* kDetectUsage =
    "usage: zentrova-seg2 detect FILE|FOLDER... [--json] [--sweep ratio|window1|window2=FROM:TO:STEP]\n       ";
constexpr size_t kMaxSweepValues = 1000;

struct DetectRequest {
  std::vector<std::string> named;
  DetectionSource source;
  bool json = false;
  bool sweeping = false;
  Sweep sweep;
};

int Usage(const std::string& why) {
  std::cerr << "zentrova-seg2: " << why << "\n" << kDetectUsage << kDetectionOptionsUsage << "\n";
  return 2;
}

std::string ParseDetectRequest(const std::vector<std::string>& args, DetectRequest& r) {
  for (size_t i = 1; i < args.size(); ++i) {
    std::string why;
    if (TakeDetectionOption(args, i, r.source, why)) {
      if (!why.empty()) return why;
    } else if (args[i] == "--json") {
      r.json = true;
    } else if (args[i] == "--sweep") {
      if (i + 1 >= args.size()) return "--sweep wants NAME=FROM:TO:STEP";
      const std::string bad = ParseSweep(args[++i], r.sweep);
      if (!bad.empty()) return bad;
      r.sweeping = true;
    } else if (args[i].rfind("--", 0) == 0) {
      return "detect does not know \"" + args[i] + "\"";
    } else {
      r.named.push_back(args[i]);
    }
  }
  return r.named.empty() ? "detect wants at least one FILE or FOLDER" : "";
}

void CollectUnder(FileSystem& fs, const std::string& folder, std::vector<std::string>& out, int depth) {
  auto names = fs.ListFolder(folder);
  if (!names.ok() || depth > 16) return;  // deeper than any hour tree
  for (const std::string& name : *names) {
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    const auto entry = fs.Inspect(path);  // links are not followed
    if (!entry.ok()) continue;
    if (entry->type == EntryType::kFolder) {
      CollectUnder(fs, path, out, depth + 1);
    } else if (entry->type == EntryType::kRegular &&
               (DataFileKind(name) == DataKindSeg2 || DataFileKind(name) == DataKindMtNeo)) {
      out.push_back(path);
    }
  }
}

// The clock time of a moment `seconds` after the record's first sample,
// to the millisecond: the acquisition time with its milliseconds, the first
// trace's delay, the moment. Empty for a record without a time, and for a
// moment that no calendar can tell (a delay of 1e18 s lies far beyond any).
std::string ClockTime(const SeismicRecord& r, double seconds) {
  // 10^15 s, some 30 million years either way, holds every calendar date
  // and keeps the sums below in range.
  constexpr double kFarthestS = 1e15;
  const double delayUs = r.pHeader.empty() ? 0.0 : static_cast<double>(r.pHeader[0].fDelay);
  if (r.time.bTimeValid == 0) return "";
  const double fromAcquisitionMs = static_cast<double>(r.time.nAcquisitionMs) + delayUs / 1000.0 + seconds * 1000.0;
  const double acquisitionS = static_cast<double>(r.time.tAcquisition);
  if (!(std::fabs(fromAcquisitionMs) < kFarthestS * 1000.0) || !(std::fabs(acquisitionS) < kFarthestS)) return "";
  const int64_t ms = std::llround(fromAcquisitionMs);
  const int64_t whole = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
  const int64_t at = r.time.tAcquisition + whole;
  if (!SecondsToLocal(at)) return "";
  return FormatFirstSampleText(at, static_cast<int>(ms - whole * 1000));
}

std::string EventsText(const std::string& path, const SeismicRecord& r, const EventDetectionParameters& p) {
  std::string text = path + ": " + Printf("%d events were detected.", p.nEvents) + "\n";
  for (int e = 0; e < p.nEvents; ++e) {
    const std::string clock = ClockTime(r, p.fEventTime[e]);
    text += Printf("  event %d: %.3f s", e + 1, static_cast<double>(p.fEventTime[e])) +
            (clock.empty() ? "" : " (" + clock + ")") +
            Printf(", onset %.3f s, %d channels, ", static_cast<double>(p.fEventOnset[e]), p.nEventChannels[e]) +
            (p.nEventMaxRatioChannel[e] >= 0 ? Printf("largest RMS ratio %.2f on channel %d, ",
                                                      static_cast<double>(p.fEventMaxRatio[e]), p.nEventMaxRatioChannel[e])
                                             : std::string("no channel triggered, ")) +
            Printf("%.3f s long\n", static_cast<double>(p.fEventDuration[e]));
  }
  return text;
}

std::string EventsJson(const std::string& path, const SeismicRecord& r, const EventDetectionParameters& p) {
  std::string text = "{\"file\": " + JsonText(path) + ", \"events\": [";
  for (int e = 0; e < p.nEvents; ++e) {
    const std::string clock = ClockTime(r, p.fEventTime[e]);
    text += std::string(e ? ", " : "") + "{\"time\": " + JsonNumber(p.fEventTime[e]) +
            ", \"clock_time\": " + (clock.empty() ? "null" : JsonText(clock)) +
            ", \"onset\": " + JsonNumber(p.fEventOnset[e]) + ", \"channels\": " + std::to_string(p.nEventChannels[e]) +
            ", \"max_ratio\": " + JsonNumber(p.fEventMaxRatio[e]) +
            ", \"max_ratio_channel\": " + std::to_string(p.nEventMaxRatioChannel[e]) +
            ", \"duration\": " + JsonNumber(p.fEventDuration[e]) + "}";
  }
  return text + "]}";
}

const char* SweptName(SweptParameter s) {
  return s == SweptParameter::kRatio ? "ratio" : s == SweptParameter::kWindow1 ? "window1" : "window2";
}

std::string SweepText(const Sweep& sweep, const std::vector<SweepRow>& rows, int records) {
  std::string text = Printf("%s over %d records: records with events, events\n", SweptName(sweep.parameter), records);
  for (const SweepRow& row : rows) text += Printf("%10g %8d %8d\n", row.value, row.records, row.events);
  return text;
}

std::string SweepJson(const Sweep& sweep, const std::vector<SweepRow>& rows, int records) {
  std::string text = std::string("{\"sweep\": {\"parameter\": \"") + SweptName(sweep.parameter) +
                     "\", \"records\": " + std::to_string(records) + ", \"rows\": [";
  for (size_t i = 0; i < rows.size(); ++i) {
    text += std::string(i ? ", " : "") + "{\"value\": " + JsonNumber(rows[i].value) +
            ", \"records\": " + std::to_string(rows[i].records) + ", \"events\": " + std::to_string(rows[i].events) +
            "}";
  }
  return text + "]}}\n";
}

}  // namespace

std::vector<std::string> RecordPaths(FileSystem& fs, const std::vector<std::string>& named) {
  std::vector<std::string> out;
  for (const std::string& n : named) {
    if (!fs.IsDirectory(n)) {
      out.push_back(n);
      continue;
    }
    std::vector<std::string> under;
    CollectUnder(fs, n, under, 0);
    std::sort(under.begin(), under.end());
    out.insert(out.end(), under.begin(), under.end());
  }
  return out;
}

std::string ParseSweep(const std::string& text, Sweep& sweep) {
  const std::string wanted = "--sweep wants ratio, window1 or window2 = FROM:TO:STEP (windows in seconds), not \"" +
                             text + "\"";
  const size_t eq = text.find('=');
  if (eq == std::string::npos) return wanted;
  const std::string name = text.substr(0, eq);
  if (name == "ratio") {
    sweep.parameter = SweptParameter::kRatio;
  } else if (name == "window1" || name == "window2") {
    sweep.parameter = name == "window1" ? SweptParameter::kWindow1 : SweptParameter::kWindow2;
  } else {
    return wanted;
  }
  const std::string range = text.substr(eq + 1);
  const size_t a = range.find(':'), b = a == std::string::npos ? a : range.find(':', a + 1);
  if (b == std::string::npos) return wanted;
  const auto from = WholeNumber(range.substr(0, a)), to = WholeNumber(range.substr(a + 1, b - a - 1)),
             step = WholeNumber(range.substr(b + 1));
  if (!from || !to || !step || !(*step > 0) || *to < *from || !(*from > 0)) return wanted;
  // The values the option of the same name takes.
  const NumberRange allowed = DetectionOptionRange("--" + name);
  if (*from < allowed.lowest || *to > allowed.highest) {
    return Printf("--sweep %s wants values from %g to %g, not \"%s\"", name.c_str(), allowed.lowest, allowed.highest,
                  text.c_str());
  }
  const double n = std::floor((*to - *from) / *step + 1e-9) + 1;
  if (n > static_cast<double>(kMaxSweepValues)) return Printf("--sweep of more than %zu values", kMaxSweepValues);
  sweep.values.clear();
  for (int i = 0; i < static_cast<int>(n); ++i) sweep.values.push_back(*from + i * *step);
  return "";
}

std::vector<SweepRow> SweepRows(const Sweep& sweep) {
  std::vector<SweepRow> rows;
  for (double v : sweep.values) rows.push_back({v, 0, 0});
  return rows;
}

void SetSwept(EventDetectionParameters& p, SweptParameter parameter, double value) {
  if (parameter == SweptParameter::kRatio) p.fRmsRatio = static_cast<float>(value);
  if (parameter == SweptParameter::kWindow1) p.fTimeWindow1 = static_cast<float>(value * 1000.0);
  if (parameter == SweptParameter::kWindow2) p.fTimeWindow2 = static_cast<float>(value * 1000.0);
}

void SweepRecord(const SeismicRecord& record, const EventDetectionParameters& p, const Sweep& sweep,
                 std::vector<SweepRow>& rows, std::string* bandPassNote) {
  if (rows.empty()) rows = SweepRows(sweep);
  EventDetectionParameters q = p;
  MemoryFileSystem none;  // no event file is written: this only keeps the signature
  for (SweepRow& row : rows) {
    SetSwept(q, sweep.parameter, row.value);
    const int n = DetectEvents(q, record, none, "", 0);
    if (bandPassNote != nullptr && !q.sBandPassNote.empty()) *bandPassNote = q.sBandPassNote;
    row.records += n > 0 ? 1 : 0;
    row.events += n;
  }
}

int DetectCommand(FileSystem& fs, const std::vector<std::string>& args) {
  DetectRequest r;
  const std::string bad = ParseDetectRequest(args, r);
  if (!bad.empty()) return Usage(bad);
  EventDetectionParameters p;
  const LoadedDetection loaded = LoadDetection(fs, r.source, p);
  if (!loaded.error.empty()) {
    std::cerr << "zentrova-seg2: " << loaded.error << "\n";
    return 1;
  }
  for (const std::string& note : loaded.notes) std::cerr << "zentrova-seg2: " << note << "\n";
  std::cerr << "zentrova-seg2: " << DescribeDetection(p) << "\n";
  const std::vector<std::string> paths = RecordPaths(fs, r.named);
  int failed = 0, read = 0;
  std::vector<SweepRow> rows = SweepRows(r.sweep);
  std::string json;
  std::set<std::string> said;  // band-pass notes: once each, with the first record that gives it
  for (const std::string& path : paths) {
    SeismicRecord record(fs.CurrentFolder());
    const Outcome o = ReadRecord(fs, record, path);
    if (!o.read) {
      std::cerr << "zentrova-seg2: " << (o.result == -1 ? o.why : path + " rejected: " + o.why) << "\n";
      ++failed;
      continue;
    }
    record.strFileName = BaseName(path);
    ++read;
    std::string note;
    if (r.sweeping) {
      SweepRecord(record, p, r.sweep, rows, &note);
    } else {
      MemoryFileSystem none;  // no event file
      DetectEvents(p, record, none, "", 0);
      note = p.sBandPassNote;
    }
    if (!note.empty() && said.insert(note).second) std::cerr << "zentrova-seg2: " << path << ": " << note << "\n";
    if (r.sweeping) continue;
    if (r.json) {
      json += (json.empty() ? "" : ", ") + EventsJson(path, record, p);
    } else {
      std::cout << EventsText(path, record, p);
    }
  }
  if (r.sweeping) {
    std::cout << (r.json ? SweepJson(r.sweep, rows, read) : SweepText(r.sweep, rows, read));
  } else if (r.json) {
    std::cout << "{\"records\": [" << json << "]}\n";
  }
  if (paths.empty()) std::cerr << "zentrova-seg2: no record found\n";
  return failed > 0 || paths.empty() ? 1 : 0;
}

}  // namespace zentrova

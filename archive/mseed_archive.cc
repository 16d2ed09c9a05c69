#include "archive/mseed_archive.h"

#include "archive/archive_span.h"
#include "archive/day_split.h"
#include "archive/sds_path.h"
#include "archive/stream_codes.h"
#include "platform/folder_lock.h"
#include "platform/printf.h"
#include "platform/replace_contents.h"
#include "records/data_file_kind.h"

namespace zentrova {
namespace {

std::string Where(const ArchiveTrace& t) {
  return Printf("Receiver at %g along the line (trace %d of the record)", t.receiverLocation, t.index + 1);
}

}  // namespace

std::string MiniSeedArchive::StationXmlPath(const std::string& sdsRoot) const {
  return JoinPath(fs_, sdsRoot, id_.network + "." + id_.station + ".xml");
}

ArchiveResult MiniSeedArchive::ArchiveFile(const std::string& sdsRoot, const std::string& path, int kind,
                                           int64_t nowUs) {
  auto record = kind == DataKindMtNeo ? ReadMtNeoForArchive(fs_, path) : ReadSeg2ForArchive(fs_, path);
  if (!record.ok()) {
    ArchiveResult r;
    r.lines.push_back("Not archived as miniSEED: " + record.status().message());
    return r;
  }
  const size_t slash = path.find_last_of(fs_.Separator());
  return Archive(sdsRoot, *record, slash == std::string::npos ? path : path.substr(slash + 1), nowUs);
}

ArchiveResult MiniSeedArchive::Archive(const std::string& sdsRoot, const ArchiveRecord& record,
                                       const std::string& name, int64_t nowUs) {
  ArchiveResult result;
  if (const std::string problem = ArchiveTimeProblem(record); !problem.empty()) {
    result.lines.push_back("Not archived as miniSEED: " + name + ": " + problem);
    return result;
  }
  // Another process (a conversion, the station) may write into the same
  // tree: one record at a time, and what it wrote is read anew.
  CreateFolders(fs_, sdsRoot);
  const std::unique_ptr<FolderLock> lock = FolderLock::Wait(sdsRoot);
  if (lock) {
    days_.ForgetAll();
    xmlRoot_.clear();
  }
  std::vector<ChannelEntry> seen;
  bool late = false;
  std::string failure;
  for (const ArchiveTrace& trace : record.traces) {
    if (trace.index >= kMostArchivedTraces) continue;
    const double rate = 1e6 / trace.intervalUs;
    StreamId id{id_.network, id_.station, LocationCode(trace.index), ChannelCode(rate, trace.orientation)};
    for (const DayPiece& part : SplitAtMidnights(trace, record.startUs)) {
      CreateFolders(fs_, SdsDayFolder(fs_, sdsRoot, id, part.day.year));
      const std::string path = SdsDayPath(fs_, sdsRoot, id, part.day);
      auto outcome = days_.Write(path, id, part.piece);
      if (!outcome.ok()) {
        if (failure.empty()) failure = outcome.status().message();
        continue;
      }
      if (!outcome->repaired.empty()) result.lines.push_back(outcome->repaired);
      late = late || outcome->inOrder;
      result.written += outcome->written;
      result.held += outcome->held;
    }
    if (trace.Count() > 0) seen.push_back({id.location, id.channel, rate, record.startUs, Where(trace)});
  }
  if (record.traces.size() > static_cast<size_t>(kMostArchivedTraces)) {
    result.lines.push_back(Printf("%s has %zu traces: the first %d are archived as miniSEED (locations 00 to 99), "
                                  "the rest is not",
                                  name.c_str(), record.traces.size(), kMostArchivedTraces));
  }
  if (late) result.lines.push_back(name + " came late: its samples were put in time order in the miniSEED day files");
  if (!failure.empty()) result.lines.push_back("Unable to archive " + name + " as miniSEED: " + failure);
  UpdateStationXml(sdsRoot, seen, nowUs, result.lines);
  return result;
}

bool MiniSeedArchive::UpdateStationXml(const std::string& sdsRoot, const std::vector<ChannelEntry>& seen,
                                       int64_t nowUs, std::vector<std::string>& lines) {
  const std::string path = StationXmlPath(sdsRoot);
  bool changed = false;
  if (xmlRoot_ != sdsRoot) {
    xmlRoot_ = sdsRoot;
    auto text = ReadWholeFile(fs_, path);
    channels_ = text.ok() ? ChannelsOfStationXml(*text) : std::vector<ChannelEntry>{};
    changed = !text.ok();
  }
  for (const ChannelEntry& c : seen) changed = NoteChannel(channels_, c) || changed;
  if (!changed || channels_.empty()) return true;
  StationDocument doc{id_.network, id_.station, id_.siteName, id_.place, channels_};
  CreateFolders(fs_, sdsRoot);
  const Status st = ReplaceContents(fs_, path, StationXmlText(doc, nowUs), 0644, false);
  if (!st.ok()) {
    lines.push_back("Unable to write " + path + ": " + st.message());
    xmlRoot_.clear();  // read again and written at the next record
    return false;
  }
  return true;
}

int MiniSeedArchive::RemoveOldDays(const std::string& sdsRoot, int days, int64_t nowUs,
                                   std::vector<std::string>& failures) {
  if (days <= 0) return 0;
  const int64_t keepFrom = nowUs - int64_t{days} * 86400 * 1000000;
  int removed = 0;
  // SDS/YEAR/NET/STA/CHAN.D/files
  std::vector<std::string> level{sdsRoot};
  for (int depth = 0; depth < 4; ++depth) {
    std::vector<std::string> next;
    for (const std::string& folder : level) {
      auto names = fs_.ListFolder(folder);
      if (!names.ok()) continue;
      for (const std::string& n : *names) {
        if (n == "." || n == "..") continue;
        const std::string p = JoinPath(fs_, folder, n);
        if (fs_.IsDirectory(p)) next.push_back(p);
      }
    }
    level = std::move(next);
  }
  for (const std::string& folder : level) {
    auto names = fs_.ListFolder(folder);
    if (!names.ok()) continue;
    for (const std::string& n : *names) {
      const auto day = DayOfSdsName(n);
      if (!day || day->EndUs() > keepFrom) continue;
      const std::string p = JoinPath(fs_, folder, n);
      auto entry = fs_.Inspect(p);
      if (!entry.ok() || entry->type != EntryType::kRegular) continue;
      const Status st = fs_.Remove(p);
      days_.Forget(p);
      if (st.ok()) {
        ++removed;
      } else {
        failures.push_back(st.message());
      }
    }
  }
  return removed;
}

}  // namespace zentrova

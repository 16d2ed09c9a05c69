#include "archive/day_file.h"

#include <algorithm>
#include <cmath>

#include "platform/replace_contents.h"

namespace zentrova {
namespace {

constexpr uint64_t kRecord = kMiniSeedRecordBytes;

int64_t SampleTime(const SamplePiece& p, size_t i) {
  return p.startUs + static_cast<int64_t>(std::llround(static_cast<double>(i) * p.trace->intervalUs));
}

int64_t HalfSample(const SamplePiece& p) { return static_cast<int64_t>(std::llround(p.trace->intervalUs / 2)); }

int64_t PieceEnd(const SamplePiece& p) { return SampleTime(p, p.count); }

// A record of the file with its bytes.
struct FileRecord {
  int64_t startUs = 0;
  int64_t endUs = 0;
  std::string bytes;
};

std::vector<FileRecord> SplitRecords(const std::string& data) {
  std::vector<FileRecord> records;
  for (uint64_t at = 0; at + kRecord <= data.size(); at += kRecord) {
    FileRecord r;
    r.bytes = data.substr(at, kRecord);
    if (auto span = ReadRecordSpan(r.bytes)) {
      r.startUs = span->startUs;
      r.endUs = span->EndUs();
    }
    records.push_back(std::move(r));
  }
  return records;
}

// Runs [first, last) of the piece's samples that no record covers; a record
// covers the samples from half a sample before its first to half a sample
// before its end.
std::vector<std::pair<size_t, size_t>> UncoveredRuns(const SamplePiece& p, std::vector<std::pair<int64_t, int64_t>> spans) {
  std::sort(spans.begin(), spans.end());
  const int64_t half = HalfSample(p);
  std::vector<std::pair<size_t, size_t>> runs;
  size_t k = 0;
  for (size_t i = 0; i < p.count; ++i) {
    const int64_t t = SampleTime(p, i);
    while (k < spans.size() && spans[k].second - half <= t) ++k;
    bool covered = false;
    for (size_t j = k; j < spans.size() && spans[j].first - half <= t; ++j) {
      if (t < spans[j].second - half) {
        covered = true;
        break;
      }
    }
    if (covered) continue;
    if (!runs.empty() && runs.back().second == i) {
      runs.back().second = i + 1;
    } else {
      runs.push_back({i, i + 1});
    }
  }
  return runs;
}

// A piece of the samples [first, last) of `p`, its start put on a record's
// end when it lies within half a sample of one.
SamplePiece SubPiece(const SamplePiece& p, size_t first, size_t last, const std::vector<int64_t>& ends) {
  SamplePiece s = p;
  s.first = p.first + first;
  s.count = last - first;
  s.startUs = SampleTime(p, first);
  const int64_t half = HalfSample(p);
  for (int64_t end : ends) {
    if (std::llabs(end - s.startUs) <= half) {
      s.startUs = end;
      break;
    }
  }
  return s;
}

}  // namespace

StatusOr<DayFiles::Tail> DayFiles::TailOf(const std::string& path, std::string& repaired) {
  if (auto it = tails_.find(path); it != tails_.end()) return it->second;
  Tail tail;
  auto size = fs_.FileSize(path);
  if (!size.ok()) {
    if (fs_.Exists(path)) return size.status();
    return tail;  // a new file
  }
  tail.size = *size - *size % kRecord;
  if (tail.size != *size) {
    auto file = fs_.OpenForAppend(path);
    if (!file.ok()) return file.status();
    if (Status st = (*file)->Truncate(tail.size); !st.ok()) return st;
    (*file)->Close();
    repaired = path + " ended in a part record (" + std::to_string(*size % kRecord) + " bytes); it was cut back";
  }
  if (tail.size > 0) {
    auto file = fs_.OpenEntryForRead(path);
    if (!file.ok()) return file.status();
    std::string last(kRecord, '\0');
    if (Status st = ReadExactly(**file, tail.size - kRecord, kRecord, last.data()); !st.ok()) return st;
    auto span = ReadRecordSpan(last);
    if (!span) return Status::Invalid(path + " does not end in a miniSEED record");
    tail.endUs = span->EndUs();
  }
  tails_[path] = tail;
  return tail;
}

Status DayFiles::Append(const std::string& path, Tail& tail, const std::string& records, int64_t endUs) {
  auto file = fs_.OpenForAppend(path);
  if (!file.ok()) return file.status();
  Status st = (*file)->Append(records);
  if (!st.ok()) {
    // Whole records only: what went in of this append goes again.
    const Status cut = (*file)->Truncate(tail.size);
    (*file)->Close();
    if (!cut.ok()) tails_.erase(path);  // looked at again before the next append
    return st;
  }
  if (Status closed = (*file)->Close(); !closed.ok()) {
    tails_.erase(path);
    return closed;
  }
  tail.size += records.size();
  tail.endUs = endUs;
  tails_[path] = tail;
  return Status::Ok();
}

StatusOr<DayFileOutcome> DayFiles::Write(const std::string& path, const StreamId& id, const SamplePiece& piece) {
  DayFileOutcome outcome;
  auto tail = TailOf(path, outcome.repaired);
  if (!tail.ok()) return tail.status();
  const int64_t half = HalfSample(piece);
  if (tail->size > 0 && piece.startUs < tail->endUs - half) {
    auto inOrder = WriteInOrder(path, id, piece);
    if (inOrder.ok()) inOrder->repaired = outcome.repaired;
    return inOrder;
  }
  const SamplePiece placed = tail->size > 0 ? SubPiece(piece, 0, piece.count, {tail->endUs}) : piece;
  const std::string records = PackRecords(id, placed);
  if (records.empty()) return Status::Invalid("the samples of " + path + " cannot be packed as miniSEED");
  if (Status st = Append(path, *tail, records, PieceEnd(placed)); !st.ok()) return st;
  outcome.written = piece.count;
  return outcome;
}

StatusOr<DayFileOutcome> DayFiles::WriteInOrder(const std::string& path, const StreamId& id, const SamplePiece& piece) {
  DayFileOutcome outcome;
  auto data = ReadWholeFile(fs_, path);
  if (!data.ok()) return data.status();
  std::vector<FileRecord> records = SplitRecords(*data);
  std::vector<std::pair<int64_t, int64_t>> spans;
  std::vector<int64_t> ends;
  for (const FileRecord& r : records) {
    if (r.endUs <= r.startUs) continue;
    spans.push_back({r.startUs, r.endUs});
    ends.push_back(r.endUs);
  }
  const auto runs = UncoveredRuns(piece, spans);
  for (const auto& run : runs) outcome.written += run.second - run.first;
  outcome.held = piece.count - outcome.written;
  if (runs.empty()) return outcome;
  int64_t lastEnd = 0;
  for (const FileRecord& r : records) lastEnd = std::max(lastEnd, r.endUs);
  for (const auto& run : runs) {
    const SamplePiece sub = SubPiece(piece, run.first, run.second, ends);
    const std::string packed = PackRecords(id, sub);
    if (packed.empty()) return Status::Invalid("the samples of " + path + " cannot be packed as miniSEED");
    std::vector<FileRecord> added = SplitRecords(packed);
    records.insert(records.end(), added.begin(), added.end());
    lastEnd = std::max(lastEnd, PieceEnd(sub));
  }
  std::stable_sort(records.begin(), records.end(),
                   [](const FileRecord& a, const FileRecord& b) { return a.startUs < b.startUs; });
  std::string bytes;
  bytes.reserve(records.size() * kRecord);
  for (const FileRecord& r : records) bytes += r.bytes;
  if (Status st = ReplaceContents(fs_, path, bytes, 0644, true); !st.ok()) return st;
  tails_[path] = Tail{bytes.size(), lastEnd};
  outcome.inOrder = true;
  return outcome;
}

}  // namespace zentrova

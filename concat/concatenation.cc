#include "concat/concatenation.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "concat/first_sample_time.h"
#include "concat/join_selection.h"
#include "concat/joined_name.h"
#include "concat/overlap_lag.h"
#include "concat/running_number.h"
#include "concat/seg2_identifier.h"
#include "platform/narrow_mode.h"
#include "platform/printf.h"
#include "records/data_file_kind.h"
#include "records/record_file_name.h"
#include "records/seg2_append.h"
#include "records/seg2_header_scan.h"
#include "records/seg2_writer.h"

namespace zentrova {
namespace {

// A text report opened once for the job; lines that cannot be written are lost.
class Report {
 public:
  Report(FileSystem& fs, const std::string& path, bool append) {
    auto f = append ? fs.OpenForAppend(path) : fs.OpenForWrite(path);
    if (f.ok()) file_ = std::move(*f);
  }
  ~Report() {
    if (file_) file_->Close();
  }
  void Write(const std::string& text) {
    if (file_) file_->Append(text);
  }

 private:
  std::unique_ptr<WritableFile> file_;
};

// One trace of the joined file: the positions that a later record may still
// overwrite are held here; everything before `base` is in the file.
class TraceWriter {
 public:
  TraceWriter(UpdatableFile& file, uint64_t dataOffset, int64_t total)
      : file_(file), offset_(dataOffset), total_(total) {}

  // Puts count values from position p on (p at `base` or later).
  void PutRun(int64_t p, const float* v, size_t count) {
    if (count == 0) return;
    const size_t at = static_cast<size_t>(p - base_);
    if (at + count > pending_.size()) pending_.resize(at + count, 0.0f);
    std::copy(v, v + count, pending_.begin() + static_cast<std::ptrdiff_t>(at));
  }
  // Writes every position below `bound` (zeros where nothing was put).
  Status FlushBelow(int64_t bound) {
    bound = std::min(bound, total_);
    if (bound <= base_) return Status::Ok();
    const size_t count = static_cast<size_t>(bound - base_);
    if (pending_.size() < count) pending_.resize(count, 0.0f);
    Status st = file_.WriteAt(offset_ + 4 * static_cast<uint64_t>(base_),
                              std::string_view(reinterpret_cast<const char*>(pending_.data()), 4 * count));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
    base_ = bound;
    return st;
  }
  int64_t furthest = -1;

 private:
  UpdatableFile& file_;
  uint64_t offset_;
  int64_t total_;
  int64_t base_ = 0;
  std::vector<float> pending_;
};

int64_t Headroom(int64_t furthest) { return furthest - 17; }

// The name of a file in its folder (a backslash is part of a name where the
// file system's separator is '/').
std::string BaseName(const FileSystem& fs, const std::string& path) {
  const size_t slash = path.find_last_of(fs.Separator());
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The report of a job: "ConcatenateSeg2.txt", and the lines that tell the
// operator what became of the records.
class JobReport {
 public:
  JobReport(FileSystem& fs, ConcatenationJob& job)
      : file_(fs, JoinPath(fs, job.strTargetFolder, "ConcatenateSeg2.txt"), true), job_(job) {}
  void Write(const std::string& text) { file_.Write(text); }
  void Say(const std::string& text) {
    file_.Write(text + "\r\n");
    if (job_.tell) job_.tell(text);
  }
  int Abandon(const std::string& why) {
    job_.strWhyNot = why;
    Say("No joined record written for " + job_.strSourceFolder + ": " + why);
    return 0;
  }

 private:
  Report file_;
  ConcatenationJob& job_;
};

// Whether a joined record written earlier in this job has the path.
bool TakenByEarlierPart(const ConcatenationJob& job, const std::string& path) {
  return std::any_of(job.parts.begin(), job.parts.end(), [&](const JoinedPart& p) { return p.path == path; });
}

// What the join settles for the whole job before it writes.
struct JoinSettings {
  int t = 0;  // the largest sample count of the records joined
  int L = 0;  // the data length of one record
  int n = 0;  // the overlap, t - L
  bool correct = false;
  int traces = 0;
};

// Joins one run of records into one joined record, streamed into place.
// Returns 1 when written.
int JoinPart(FileSystem& fs, Prompt& prompt, ConcatenationJob& job, const JoinSettings& js, JoinedPart& part,
             JobReport& log) {
  const std::string& target = job.strTargetFolder;
  const int t = js.t, L = js.L, n = js.n;
  const bool overlap = n > 0, correct = js.correct;
  const int nFiles = static_cast<int>(part.files.size());
  std::unique_ptr<Report> lagReport, correctionReport;
  if (overlap) {
    const int a = part.numbers.front(), b = part.numbers.back();
    lagReport = std::make_unique<Report>(fs, JoinPath(fs, target, Printf("ConcatenateSeg2_overlap_%d_%d.txt.", a, b)), false);
    correctionReport =
        std::make_unique<Report>(fs, JoinPath(fs, target, Printf("ConcatenateSeg2_correction_%d_%d.txt.", a, b)), false);
  }

  // The joined record takes the first record's acquisition time and the
  // DELAY of each of its traces, so that it begins at the first record's
  // first sample (the time its name gives), and the other trace header
  // values the last record read leaves.
  SilentPrompt silent;
  std::vector<CHeaderXY> planned(static_cast<size_t>(js.traces));
  RecordTimeHeader first, last;
  const bool frontRead = AppendSeg2Headers(fs, silent, part.files.front(), t, 0, 1, planned, first) >= 0;
  const std::vector<CHeaderXY> firstHeaders = planned;
  if (!frontRead || AppendSeg2Headers(fs, silent, part.files.back(), t, 0, 1, planned, last) < 0) {
    return log.Abandon("cannot read " + part.files.front() + " again");
  }
  planned.resize(static_cast<size_t>(js.traces));
  const int64_t total = static_cast<int64_t>(L) * nFiles;
  std::vector<CHeader> outHeaders(planned.begin(), planned.end());
  for (size_t f = 0; f < outHeaders.size(); ++f) {
    outHeaders[f].nSamples = static_cast<int32_t>(total);
    outHeaders[f].fDelay = firstHeaders[f].fDelay;
  }
  const SecondsAndMs start = SplitMs(FirstSampleMs(first, firstHeaders));
  RecordTimeHeader outTime;
  outTime.tAcquisition = first.tAcquisition;
  outTime.nAcquisitionMs = first.nAcquisitionMs;
  outTime.tFirstSample = start.seconds;
  outTime.nFirstSampleMs = start.ms;
  const Seg2Layout layout(outHeaders, outTime);

  const std::string name = JoinedRecordFileName(start.seconds, start.ms,
                                                job.strNameText + "_concatenated", part.numbers.front(),
                                                part.numbers.back());
  part.path = JoinPath(fs, target, name);
  // Runs with the same first time and running numbers (a counter and clock
  // set back) must not replace each other's joined record.
  for (int k = 2; TakenByEarlierPart(job, part.path); ++k) {
    part.path = JoinPath(fs, target, Printf("%s_%d.dat", name.substr(0, name.size() - 4).c_str(), k));
  }
  if (part.path != JoinPath(fs, target, name)) {
    log.Say("Same name: the joined record of " + BaseName(fs, part.files.front()) + " is written as " +
            BaseName(fs, part.path));
  }
  if (std::find(job.pFiles.begin(), job.pFiles.end(), part.path) != job.pFiles.end()) {
    const std::string refused = part.path;
    part.path.clear();
    return log.Abandon(refused + " would replace one of the records joined");
  }
  const std::string partial = part.path + ".partial";
  auto opened = fs.OpenForUpdate(partial);
  if (!opened.ok()) {
    const std::string why = "cannot write " + partial + " (" + opened.status().message() + ")";
    part.path.clear();
    return log.Abandon(why);
  }
  UpdatableFile& out = **opened;
  Status st = out.WriteAt(0, layout.Head());
  for (size_t f = 0; st.ok() && f < outHeaders.size(); ++f) st = out.WriteAt(layout.DescriptorOffset(f), layout.TraceDescriptor(f));

  const size_t traces = static_cast<size_t>(js.traces);
  std::vector<TraceWriter> writers;
  for (size_t f = 0; f < traces; ++f) writers.emplace_back(out, layout.DataOffset(f), total);
  std::vector<std::vector<float>> tails(traces, std::vector<float>(static_cast<size_t>(n), 0.0f));
  std::vector<float> head(static_cast<size_t>(n), 0.0f);
  std::vector<CHeaderXY> headers;
  std::vector<std::vector<float>> data;
  int64_t offset = 0;
  int maxH = 0;
  for (int k = 0; st.ok() && k < nFiles; ++k) {
    RecordTimeHeader time;
    const int count = AppendSeg2File(fs, prompt, part.files[k], t, 0, 1, headers, data, time);
    // A record gone or unreadable since the join began keeps its place, in
    // zeros, so that the records after it stay at their times.
    const bool gone = count < 0;
    if (gone) maxH = std::max(maxH, L);
    const size_t read = gone ? 0 : std::min(static_cast<size_t>(count), traces);
    for (size_t f = 0; f < read; ++f) {
      const CHeaderXY& h = headers[f];
      log.Write(Printf("%d %zu %d %f %f\r\n", k, f, h.nReceiverLoc, static_cast<double>(h.fDelay),
                       static_cast<double>(h.fSampleInterval)));
    }
    if (lagReport && k >= 1) lagReport->Write(Printf("%d %d :", part.numbers[k - 1], part.numbers[k]));
    int recordH = 0;
    for (size_t f = 0; f < read; ++f) {
      const std::vector<float>& x = data[f];
      const int64_t samples = std::min<int64_t>(headers[f].nSamples, static_cast<int64_t>(x.size()));
      const int H = static_cast<int>(std::min<int64_t>(samples, L));
      maxH = std::max(maxH, H);
      recordH = std::max(recordH, H);
      int s = 0;
      if (overlap && k >= 1) {
        for (int j = 0; j < n; ++j) head[j] = j < samples ? x[j] : 0.0f;
        s = BestOverlapLag(n, tails[f].data(), head.data());
        lagReport->Write(Printf(" %d ", s));
      }
      TraceWriter& w = writers[f];
      if (correct) {
        // Sample j goes to p = offset + s + j when p lies in the record and
        // at or after the headroom before the furthest position written;
        // p grows with j, so those j are one run.
        const int64_t shift = offset + s;
        int64_t j0 = std::max<int64_t>(0, -shift);
        if (w.furthest >= 0) j0 = std::max(j0, Headroom(w.furthest) - shift);
        const int64_t j1 = std::min<int64_t>(samples, total - shift);
        int64_t firstWritten = -1;
        if (j0 < j1) {
          w.PutRun(shift + j0, x.data() + j0, static_cast<size_t>(j1 - j0));
          firstWritten = shift + j0;
          w.furthest = std::max(w.furthest, shift + j1 - 1);
        }
        correctionReport->Write(Printf(" kk=%lld", static_cast<long long>(firstWritten)));
      } else {
        const int64_t end = std::min<int64_t>(H, total - offset);
        if (end > 0) w.PutRun(offset, x.data(), static_cast<size_t>(end));
      }
      if (k + 1 < nFiles) {
        for (int q = 0; q < n; ++q) tails[f][q] = L + q < samples ? x[L + q] : 0.0f;
      }
    }
    if (k + 1 < nFiles) {
      for (size_t f = read; f < traces; ++f) std::fill(tails[f].begin(), tails[f].end(), 0.0f);
    }
    if (lagReport && k >= 1) lagReport->Write("\r\n");
    if (correctionReport && correct) correctionReport->Write("\r\n");
    if (gone) {
      log.Say("Short record: " + BaseName(fs, part.files[k]) + " cannot be read any more; zeros fill its place");
    } else if (recordH < maxH) {
      log.Say(Printf("Short record: %s holds %d samples of %d; zeros fill the rest of its place",
                     BaseName(fs, part.files[k]).c_str(), recordH, maxH));
    }
    offset += maxH;
    // What no later record can change goes to the file.
    for (size_t f = 0; st.ok() && f < traces; ++f) {
      st = writers[f].FlushBelow(correct ? Headroom(writers[f].furthest) : offset);
    }
  }
  for (size_t f = 0; st.ok() && f < traces; ++f) st = writers[f].FlushBelow(total);
  if (st.ok()) st = out.Sync();
  const Status closed = out.Close();
  if (st.ok()) st = closed;
  // The joined record is readable by no one who may not read its records.
  if (st.ok()) st = NarrowMode(fs, partial, CommonMode(fs, part.files));
  if (st.ok()) st = fs.ReplaceFile(partial, part.path);
  if (!st.ok()) {
    fs.Remove(partial);
    const std::string why = "cannot write " + part.path + " (" + st.message() + ")";
    part.path.clear();
    return log.Abandon(why);
  }
  log.Write(part.path + "\r\n");
  if (job.bInteractive) prompt.Show("Concatenated data was saved in " + part.path);
  return 1;
}

}  // namespace

int RunConcatenation(FileSystem& fs, Prompt& prompt, ConcatenationJob& job) {
  JobReport log(fs, job);
  job.parts.clear();
  job.strResultPath.clear();
  job.strWhyNot.clear();
  job.nUsedLength = 0;

  std::vector<size_t> order(static_cast<size_t>(job.nFiles));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return job.pNumbers[a] < job.pNumbers[b]; });
  std::vector<std::string> files;
  std::vector<int> numbers;
  for (size_t i : order) {
    files.push_back(job.pFiles[i]);
    numbers.push_back(job.pNumbers[i]);
    log.Write(Printf("%d %s\r\n", job.pNumbers[i], job.pFiles[i].c_str()));
  }
  job.pFiles = files;
  job.pNumbers = numbers;
  for (const std::string& line : job.strNotJoined) log.Say("Not joined: " + line);
  if (job.nNotListed > 0) {
    log.Say(Printf("Not joined: %d further records of %s (at most %d are joined)", job.nNotListed,
                   job.strSourceFolder.c_str(), kMaxJoinedFiles));
  }

  // The records that belong together: those like the first joinable one.
  std::vector<RecordFacts> facts;
  std::vector<size_t> joined;
  for (int k = 0; k < job.nFiles; ++k) {
    const RecordFacts r = ReadRecordFacts(fs, job.pFiles[k], job.nNominalLength);
    const auto why = WhyNotJoinable(r, facts.empty() ? nullptr : &facts.front());
    if (why) {
      log.Say("Not joined: " + BaseName(fs, job.pFiles[k]) + " (" + *why + ")");
      continue;
    }
    facts.push_back(r);
    joined.push_back(static_cast<size_t>(k));
  }
  JoinSettings js;
  for (const RecordFacts& r : facts) js.t = std::max(js.t, std::min(r.nSamples, 100000));
  js.traces = facts.empty() ? 0 : facts.front().traces;
  job.nNominalLength = js.t;
  if (facts.empty()) return log.Abandon("no record to join");

  const int t = js.t;
  int L = job.nPresetLength;
  if (L == 0) {
    if (job.bInteractive) {
      auto entered = prompt.AskInteger("Enter data length in one file", t);
      if (!entered) return log.Abandon("the data length was not given");
      L = *entered;
    } else {
      L = t;
    }
  }
  if (L > t) {
    if (job.bInteractive) prompt.Show("Wrong data length.");
    return log.Abandon(Printf("the data length %d is longer than the records (%d samples)", L, t));
  }
  if (L <= 0) return log.Abandon(Printf("the data length %d is not a number of samples", L));
  js.L = L;
  js.n = t - L;
  job.nUsedLength = L;
  if (js.n > 0) {
    js.correct = job.bInteractive ? prompt.AskYesNo("Do you want to correct overlap ?") : true;
    log.Say(Printf("Overlap: the records hold up to %d samples and the data length is %d, so the last %d samples of "
                   "each record are taken as its overlap with the next record (the last record's are left out)",
                   t, L, js.n));
  }

  const JoinRuns runs = SplitAtTimeGaps(facts, L, js.n);
  for (const TimeGap& gap : runs.gaps) {
    const double s = gap.seconds;
    log.Say(Printf("Time gap: %s starts %.3f s %s its place in the joined record; it begins a new joined record",
                   BaseName(fs, job.pFiles[joined[gap.index]]).c_str(), std::fabs(s), s >= 0 ? "after" : "before"));
  }
  for (const auto& [a, b] : runs.runs) {
    JoinedPart part;
    for (size_t i = a; i <= b; ++i) {
      part.files.push_back(job.pFiles[joined[i]]);
      part.numbers.push_back(job.pNumbers[joined[i]]);
    }
    if (JoinPart(fs, prompt, job, js, part, log) != 1) return 0;
    job.parts.push_back(part);
    if (job.strResultPath.empty()) job.strResultPath = part.path;
  }
  return 1;
}

ConcatenationJob PlanConcatenation(FileSystem& fs, Prompt& prompt, const ConcatenationRequest& request) {
  ConcatenationJob job;
  job.strSourceFolder = request.sourceFolder;
  job.strTargetFolder = request.targetFolder;
  job.strNameText = request.nameText;
  job.nPresetLength = request.presetLength;
  job.bInteractive = request.bInteractive;
  SilentPrompt silent;
  Prompt& scanPrompt = request.bInteractive ? prompt : silent;
  auto names = fs.ListFolder(request.sourceFolder);
  if (names.ok()) {
    for (const std::string& name : *names) {
      const std::string path = JoinPath(fs, request.sourceFolder, name);
      if (name == "." || name == ".." || fs.IsDirectory(path)) continue;
      if (JoinFileKind(fs, path) != DataKindSeg2) continue;
      if (IsJoinedRecordName(name)) {
        job.strNotJoined.push_back(name + " (a joined record)");
        continue;
      }
      const auto number = RunningNumber(name);
      if (!number) {
        job.strNotJoined.push_back(name + " (no running number in its name)");
        continue;
      }
      if (IdentifySeg2File(fs, path) == Seg2Identity::kNotSeg2) {
        job.strNotJoined.push_back(name + " (not a SEG-2 record)");
        continue;
      }
      if (job.nFiles >= kMaxJoinedFiles) {
        ++job.nNotListed;
        continue;
      }
      std::vector<CHeaderXY> headers;
      const int scanned = ScanSeg2Headers(fs, scanPrompt, path, headers);
      if (scanned < 0) {  // gone or unreadable: the rest of the hour is joined
        job.strNotJoined.push_back(name + " (cannot be opened)");
        continue;
      }
      job.pFiles.push_back(path);
      job.pNumbers.push_back(*number);
      ++job.nFiles;
      job.nMaxTraces = std::max(job.nMaxTraces, scanned);
      for (int i = 0; i < scanned; ++i) {
        job.nNominalLength = std::max(job.nNominalLength, std::min(headers[i].nSamples, 100000));
      }
    }
  } else {
    job.strNotJoined.push_back(request.sourceFolder + " (the folder cannot be listed: " + names.status().message() +
                               ")");
  }
  if (job.bInteractive) {
    prompt.Show(Printf(" Number of files = %d \n Maximum number of traces = %d \n Maximum number of samples = %d",
                       job.nFiles, job.nMaxTraces, job.nNominalLength));
  }
  return job;
}

int ConcatenateRecords(FileSystem& fs, Prompt& prompt, const ConcatenationRequest& request,
                       ConcatenationWorkers* workers, JoinNotice tell) {
  ConcatenationJob job = PlanConcatenation(fs, prompt, request);
  job.tell = std::move(tell);
  if (request.bThreaded == 1 && workers) {
    workers->Start(fs, prompt, std::move(job));
    return 1;
  }
  return RunConcatenation(fs, prompt, job);
}

void ConcatenationWorkers::Start(FileSystem& fs, Prompt& prompt, ConcatenationJob job) {
  std::lock_guard<std::mutex> lock(mutex_);
  JoinEnded();
  const std::string lane = job.strTargetFolder;
  Pending pending{&fs, &prompt, std::move(job)};
  auto busy = lanes_.find(lane);
  if (busy != lanes_.end()) {
    busy->second.push_back(std::move(pending));
    return;
  }
  lanes_[lane];
  Worker& w = workers_.emplace_back();
  w.thread = std::thread([this, self = &w, pending = std::move(pending)]() mutable { Work(self, std::move(pending)); });
}

void ConcatenationWorkers::Work(Worker* self, Pending pending) {
  const std::string lane = pending.job.strTargetFolder;
  for (;;) {
    const int result = RunConcatenation(*pending.fs, *pending.prompt, pending.job);
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ += result;
    ++ended_;
    auto& waiting = lanes_[lane];
    if (waiting.empty()) {
      lanes_.erase(lane);
      self->done = true;
      return;
    }
    pending = std::move(waiting.front());
    waiting.pop_front();
  }
}

void ConcatenationWorkers::JoinEnded() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (it->done) {
      it->thread.join();  // it has only its return left
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void ConcatenationWorkers::JoinAll() {
  for (;;) {
    std::list<Worker> workers;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (workers_.empty()) return;
      workers.splice(workers.end(), workers_);
    }
    for (Worker& w : workers) w.thread.join();
  }
}

int ConcatenationWorkers::Finished() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return finished_;
}

int ConcatenationWorkers::Ended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

size_t ConcatenationWorkers::Threads() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return workers_.size();
}

}  // namespace zentrova

#include "concat/concatenation.h"

#include <algorithm>
#include <numeric>

#include "concat/overlap_lag.h"
#include "concat/running_number.h"
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

  void Put(int64_t p, float v) {
    const size_t at = static_cast<size_t>(p - base_);
    if (at >= pending_.size()) pending_.resize(at + 1, 0.0f);
    pending_[at] = v;
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

// The trace headers and first-sample time the joined file gets: those the
// sequence of reads leaves, read without the samples.
bool PlanHeaders(FileSystem& fs, ConcatenationJob& job, std::vector<CHeaderXY>& headers, RecordTimeHeader& first) {
  SilentPrompt silent;
  headers.assign(static_cast<size_t>(job.nMaxTraces), CHeaderXY());
  for (int k = 0; k < job.nFiles; ++k) {
    RecordTimeHeader time;
    if (AppendSeg2Headers(fs, silent, job.pFiles[k], job.nNominalLength, 0, 1, headers, time) < 0) return false;
    if (k == 0) first = time;
  }
  headers.resize(static_cast<size_t>(job.nMaxTraces));
  return true;
}

}  // namespace

int RunConcatenation(FileSystem& fs, Prompt& prompt, ConcatenationJob& job) {
  const std::string& target = job.strTargetFolder;
  Report log(fs, JoinPath(fs, target, "ConcatenateSeg2.txt"), true);

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

  const int t = job.nNominalLength;
  int L = job.nPresetLength;
  if (L == 0) {
    if (job.bInteractive) {
      auto entered = prompt.AskInteger("Enter data length in one file", t);
      if (!entered) return 0;
      L = *entered;
    } else {
      L = t;
    }
  }
  if (L > t || L <= 0 || job.nFiles == 0 || job.nMaxTraces <= 0) {
    if (L > t && job.bInteractive) prompt.Show("Wrong data length.");
    return 0;
  }
  const bool overlap = L < t;
  const int n = t - L;
  bool correct = false;
  std::unique_ptr<Report> lagReport, correctionReport;
  if (overlap) {
    const int a = job.pNumbers.front(), b = job.pNumbers.back();
    lagReport = std::make_unique<Report>(fs, JoinPath(fs, target, Printf("ConcatenateSeg2_overlap_%d_%d.txt.", a, b)), false);
    correctionReport =
        std::make_unique<Report>(fs, JoinPath(fs, target, Printf("ConcatenateSeg2_correction_%d_%d.txt.", a, b)), false);
    correct = job.bInteractive ? prompt.AskYesNo("Do you want to correct overlap ?") : true;
  }

  std::vector<CHeaderXY> planned;
  RecordTimeHeader first;
  if (!PlanHeaders(fs, job, planned, first)) return 0;
  const int64_t total = static_cast<int64_t>(L) * job.nFiles;
  std::vector<CHeader> outHeaders(planned.begin(), planned.end());
  for (CHeader& h : outHeaders) {
    h.nSamples = static_cast<int32_t>(total);
    h.fDelay = 0.0f;
  }
  RecordTimeHeader outTime;
  outTime.tAcquisition = outTime.tFirstSample = first.tFirstSample;
  outTime.nAcquisitionMs = outTime.nFirstSampleMs = first.nFirstSampleMs;
  const Seg2Layout layout(outHeaders, outTime);

  job.strResultPath = JoinPath(fs, target, JoinedRecordFileName(first.tFirstSample, first.nFirstSampleMs,
                                                                job.strNameText + "_concatenated",
                                                                job.pNumbers.front(), job.pNumbers.back()));
  const std::string partial = job.strResultPath + ".partial";
  auto opened = fs.OpenForUpdate(partial);
  if (!opened.ok()) return 0;
  UpdatableFile& out = **opened;
  Status st = out.WriteAt(0, layout.Head());
  for (size_t f = 0; st.ok() && f < outHeaders.size(); ++f) st = out.WriteAt(layout.DescriptorOffset(f), layout.TraceDescriptor(f));

  const size_t traces = static_cast<size_t>(job.nMaxTraces);
  std::vector<TraceWriter> writers;
  for (size_t f = 0; f < traces; ++f) writers.emplace_back(out, layout.DataOffset(f), total);
  std::vector<std::vector<float>> tails(traces, std::vector<float>(static_cast<size_t>(n), 0.0f));
  std::vector<float> head(static_cast<size_t>(n), 0.0f);
  std::vector<CHeaderXY> headers;
  std::vector<std::vector<float>> data;
  int64_t offset = 0;
  int maxH = 0;
  for (int k = 0; st.ok() && k < job.nFiles; ++k) {
    RecordTimeHeader time;
    const int count = AppendSeg2File(fs, prompt, job.pFiles[k], t, 0, 1, headers, data, time);
    if (count < 0) {
      st = Status::NotFound("cannot open " + job.pFiles[k]);
      break;
    }
    const size_t read = std::min(static_cast<size_t>(count), traces);
    for (size_t f = 0; f < read; ++f) {
      const CHeaderXY& h = headers[f];
      log.Write(Printf("%d %zu %d %f %f\r\n", k, f, h.nReceiverLoc, static_cast<double>(h.fDelay),
                       static_cast<double>(h.fSampleInterval)));
    }
    if (lagReport && k >= 1) lagReport->Write(Printf("%d %d :", job.pNumbers[k - 1], job.pNumbers[k]));
    for (size_t f = 0; f < read; ++f) {
      const std::vector<float>& x = data[f];
      const int64_t samples = std::min<int64_t>(headers[f].nSamples, static_cast<int64_t>(x.size()));
      const int H = static_cast<int>(std::min<int64_t>(samples, L));
      maxH = std::max(maxH, H);
      int s = 0;
      if (overlap && k >= 1) {
        for (int j = 0; j < n; ++j) head[j] = j < samples ? x[j] : 0.0f;
        s = BestOverlapLag(n, tails[f].data(), head.data());
        lagReport->Write(Printf(" %d ", s));
      }
      TraceWriter& w = writers[f];
      if (correct) {
        int64_t firstWritten = -1;
        for (int64_t j = 0; j < samples; ++j) {
          const int64_t p = offset + j + s;
          if (p < 0 || p >= total) continue;
          if (w.furthest >= 0 && p < Headroom(w.furthest)) continue;
          w.Put(p, x[j]);
          if (firstWritten < 0) firstWritten = p;
          w.furthest = std::max(w.furthest, p);
        }
        correctionReport->Write(Printf(" kk=%lld", static_cast<long long>(firstWritten)));
      } else {
        for (int64_t j = 0; j < H; ++j) {
          if (offset + j < total) w.Put(offset + j, x[j]);
        }
      }
      if (k + 1 < job.nFiles) {
        for (int q = 0; q < n; ++q) tails[f][q] = L + q < samples ? x[L + q] : 0.0f;
      }
    }
    if (k + 1 < job.nFiles) {
      for (size_t f = read; f < traces; ++f) std::fill(tails[f].begin(), tails[f].end(), 0.0f);
    }
    if (lagReport && k >= 1) lagReport->Write("\r\n");
    if (correctionReport && correct) correctionReport->Write("\r\n");
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
  if (st.ok()) st = fs.ReplaceFile(partial, job.strResultPath);
  if (!st.ok()) {
    fs.Remove(partial);
    job.strResultPath.clear();
    return 0;
  }
  log.Write(job.strResultPath + "\r\n");
  if (job.bInteractive) prompt.Show("Concatenated data was saved in " + job.strResultPath);
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
      if (job.nFiles >= kMaxJoinedFiles) break;
      const std::string path = JoinPath(fs, request.sourceFolder, name);
      if (name == "." || name == ".." || fs.IsDirectory(path)) continue;
      if (JoinFileKind(fs, path) != DataKindSeg2) continue;
      const auto number = RunningNumber(name);
      if (!number) continue;
      std::vector<CHeaderXY> headers;
      const int scanned = ScanSeg2Headers(fs, scanPrompt, path, headers);
      if (scanned < 0) continue;  // gone or unreadable: the rest of the hour is joined
      job.pFiles.push_back(path);
      job.pNumbers.push_back(*number);
      ++job.nFiles;
      job.nMaxTraces = std::max(job.nMaxTraces, scanned);
      for (int i = 0; i < scanned; ++i) {
        job.nNominalLength = std::max(job.nNominalLength, std::min(headers[i].nSamples, 100000));
      }
    }
  }
  if (job.bInteractive) {
    prompt.Show(Printf(" Number of files = %d \n Maximum number of traces = %d \n Maximum number of samples = %d",
                       job.nFiles, job.nMaxTraces, job.nNominalLength));
  }
  return job;
}

int ConcatenateRecords(FileSystem& fs, Prompt& prompt, const ConcatenationRequest& request,
                       ConcatenationWorkers* workers) {
  ConcatenationJob job = PlanConcatenation(fs, prompt, request);
  if (request.bThreaded == 1 && workers) {
    workers->Start(fs, prompt, std::move(job));
    return 1;
  }
  return RunConcatenation(fs, prompt, job);
}

void ConcatenationWorkers::Start(FileSystem& fs, Prompt& prompt, ConcatenationJob job) {
  std::lock_guard<std::mutex> lock(mutex_);
  threads_.emplace_back([this, &fs, &prompt, job = std::move(job)]() mutable {
    const int result = RunConcatenation(fs, prompt, job);
    std::lock_guard<std::mutex> done(mutex_);
    finished_ += result;
  });
}

void ConcatenationWorkers::JoinAll() {
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    threads.swap(threads_);
  }
  for (std::thread& t : threads) t.join();
}

int ConcatenationWorkers::Finished() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return finished_;
}

}  // namespace zentrova

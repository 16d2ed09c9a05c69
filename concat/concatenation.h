#pragma once
// Joining the records of a finished hour into one long SEG-2 record, in the
// order of their running numbers; with overlapping records (more samples
// than the nominal length L) each trace of the next record is placed where
// its beginning best matches the previous record's end.
//
// The joined file is written in place as it is assembled: its layout is
// known before the first sample (every trace holds L x nFiles samples), so
// each record's part of each trace goes straight to its place, and only the
// positions a later record may still overwrite stay in memory. It is written
// under a temporary name and renamed when complete.

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "monitor/station_services.h"
#include "platform/file_system.h"
#include "platform/prompt.h"

namespace zentrova {

struct ConcatenationJob {
  std::string strSourceFolder;
  std::string strTargetFolder;
  std::string strResultPath;
  std::string strNameText;
  std::vector<std::string> pFiles;
  std::vector<int> pNumbers;
  int nFiles = 0;
  int nMaxTraces = 0;
  int nNominalLength = 0;  // t
  int nPresetLength = 0;   // L
  int bInteractive = 0;
};

inline constexpr int kMaxJoinedFiles = 2001;

// Runs concatenation jobs on worker threads and waits for them at the end.
class ConcatenationWorkers {
 public:
  ~ConcatenationWorkers() { JoinAll(); }
  void Start(FileSystem& fs, Prompt& prompt, ConcatenationJob job);
  void JoinAll();
  int Finished() const;  // jobs that wrote a joined file

 private:
  mutable std::mutex mutex_;
  std::vector<std::thread> threads_;
  int finished_ = 0;
};

// The job for the source folder: its SEG-2 records with a running number
// (at most 2001), the largest trace count and sample count.
ConcatenationJob PlanConcatenation(FileSystem& fs, Prompt& prompt, const ConcatenationRequest& request);

// Plans the job from the source folder and runs it: on a worker of
// `workers` when request.bThreaded is 1 and workers are given (returns 1 at
// once), else on the calling thread (returns RunConcatenation's result).
int ConcatenateRecords(FileSystem& fs, Prompt& prompt, const ConcatenationRequest& request,
                       ConcatenationWorkers* workers = nullptr);

// 1 when the joined file was written (its path in job.strResultPath), 0
// when the job was abandoned. Source records are only read.
int RunConcatenation(FileSystem& fs, Prompt& prompt, ConcatenationJob& job);

}  // namespace zentrova

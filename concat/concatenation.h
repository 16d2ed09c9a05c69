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
//
// Only records that belong together are joined: those with the trace count
// and sample interval of the job's first record and a record time; the
// others are left out with a line in the report. A record that does not
// start where the joined record has come to (half a record length or more
// off) begins a new joined record, so that every sample keeps its true time.
// Records are placed by the times of their first samples (the acquisition
// time plus the DELAY); a joined record keeps its first record's
// acquisition time and DELAY, so it begins at that record's first sample.
// Joined records themselves are never joined again.

#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "monitor/station_services.h"
#include "platform/file_system.h"
#include "platform/prompt.h"

namespace zentrova {

// Told every line the join writes into its report about records left out,
// time gaps, cut data and joins that write nothing (the station logs them,
// the record tool prints them).
using JoinNotice = std::function<void(const std::string&)>;

// One joined record written: its records, in order.
struct JoinedPart {
  std::vector<std::string> files;
  std::vector<int> numbers;
  std::string path;
};

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
  // Found while planning: "name (reason)" of each file left out, and how
  // many records the folder held beyond the most that are joined.
  std::vector<std::string> strNotJoined;
  int nNotListed = 0;
  JoinNotice tell;
  // Set by RunConcatenation: the joined records written (the first is
  // strResultPath), the data length used, and why nothing (more) was written.
  std::vector<JoinedPart> parts;
  int nUsedLength = 0;
  std::string strWhyNot;
};

inline constexpr int kMaxJoinedFiles = 2001;

// Runs concatenation jobs on worker threads. Jobs for the same target
// folder run one after another on one worker (they share its report file
// and may write the same joined record); a worker that has ended is joined
// when the next job starts, so ended workers do not pile up.
class ConcatenationWorkers {
 public:
  ~ConcatenationWorkers() { JoinAll(); }
  void Start(FileSystem& fs, Prompt& prompt, ConcatenationJob job);
  // Waits until every job started has ended.
  void JoinAll();
  int Finished() const;  // jobs that wrote a joined file
  int Ended() const;     // jobs run to their end, written or not
  // Worker threads started and not yet joined.
  size_t Threads() const;

 private:
  struct Worker {
    std::thread thread;
    bool done = false;
  };
  struct Pending {
    FileSystem* fs;
    Prompt* prompt;
    ConcatenationJob job;
  };
  void Work(Worker* self, Pending pending);
  void JoinEnded();  // under mutex_

  mutable std::mutex mutex_;
  std::list<Worker> workers_;
  // Per target folder with a worker running: the jobs waiting for it.
  std::map<std::string, std::deque<Pending>> lanes_;
  int finished_ = 0;
  int ended_ = 0;
};

// The job for the source folder: its SEG-2 records with a running number
// (at most 2001), the largest trace count and sample count.
ConcatenationJob PlanConcatenation(FileSystem& fs, Prompt& prompt, const ConcatenationRequest& request);

// Plans the job from the source folder and runs it: on a worker of
// `workers` when request.bThreaded is 1 and workers are given (returns 1 at
// once), else on the calling thread (returns RunConcatenation's result).
int ConcatenateRecords(FileSystem& fs, Prompt& prompt, const ConcatenationRequest& request,
                       ConcatenationWorkers* workers = nullptr, JoinNotice tell = {});

// 1 when the joined records were written (the first in job.strResultPath,
// all in job.parts), 0 when the job was abandoned or a joined record could
// not be written (job.strWhyNot says why). Source records are only read.
int RunConcatenation(FileSystem& fs, Prompt& prompt, ConcatenationJob& job);

}  // namespace zentrova

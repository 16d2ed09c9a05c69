#include "monitor/control_form.h"

#include <algorithm>

#include "monitor/timer_interval.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

// The monitor thread's pause between two cycles.
constexpr int kThreadPauseMs = 1000;

}  // namespace

CZentrovaControlForm::CZentrovaControlForm(CZentrovaDoc& doc, TimerHost& timers) : doc_(doc), timers_(timers) {
  doc_.settings.LoadInt("bThread", bThread);
  doc_.settings.LoadInt("iInterval", iInterval);
}

CZentrovaControlForm::~CZentrovaControlForm() { Shutdown(); }

double CZentrovaControlForm::IntervalSeconds(int index) {
  switch (index) {
    case 0: return 0.5;
    case 1: return 1.0;
    case 2: return 2.0;
    case 3: return 4.0;
    default: return 8.0;
  }
}

void CZentrovaControlForm::OnInitialUpdate() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  doc_.bAutoStart = 0;
  doc_.settings.LoadInt("bAutoStart", doc_.bAutoStart);
  doc_.settings.LoadInt("bEventDetection", doc_.bEventDetection);
  doc_.activityLog.Add(Printf("Monitor interval is %.2f sec", IntervalSeconds(iInterval)));
  doc_.activityLog.Add("Folder path is " + doc_.settingsBlock.strWatchedFolder);
  doc_.activityLog.Add("Destination folder path is " + doc_.settingsBlock.strDestinationFolder);
  if (doc_.bAutoStart == 1) OnStart();
  if (doc_.bEventDetection == 1) {
    doc_.activityLog.Add(doc_.bSendMail == 1 ? "Event detection active (E-mail will be sent)" : "Event detection active");
  }
  if (doc_.bConcatenate == 1) doc_.activityLog.Add("Automatic concatenatenation is on");
  if (doc_.bSnedReport == 1) StartReportTimer();
  if (doc_.bWarning == 1) StartBatteryTimer();
}

void CZentrovaControlForm::StartBatteryTimer() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (batteryTimer_ != 0) return;
  const std::string note = TimerMinutesNote("iBatteryCheckInterval", doc_.iBatteryCheckInterval);
  if (!note.empty()) doc_.activityLog.Add(note);
  batteryTimer_ = timers_.SetTimer(TimerMilliseconds(doc_.iBatteryCheckInterval), [this] { OnTimer(2); });
  doc_.activityLog.Add(Printf("Checking battery statsus started by timer. Checking interval is = %d minutes",
                              BoundedTimerMinutes(doc_.iBatteryCheckInterval)));
  doc_.bCheckBattery = 1;
  doc_.settings.SaveInt("bCheckBattery", 1);
}

void CZentrovaControlForm::StopBatteryTimer() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (batteryTimer_ == 0) return;
  timers_.KillTimer(batteryTimer_);
  batteryTimer_ = 0;
  doc_.activityLog.Add("Checking battery stopped");
  doc_.bCheckBattery = 0;
  doc_.settings.SaveInt("bCheckBattery", 0);
}

void CZentrovaControlForm::StartReportTimer() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (reportTimer_ != 0) return;
  const std::string note = TimerMinutesNote("iReportInterval", doc_.iReportInterval);
  if (!note.empty()) doc_.activityLog.Add(note);
  reportTimer_ = timers_.SetTimer(TimerMilliseconds(doc_.iReportInterval), [this] { OnTimer(1); });
}

void CZentrovaControlForm::StopReportTimer() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (reportTimer_ == 0) return;
  timers_.KillTimer(reportTimer_);
  reportTimer_ = 0;
}

int CZentrovaControlForm::CycleGapMs() const {
  return bThread == 1 ? kThreadPauseMs : static_cast<int>(IntervalSeconds(iInterval) * 1000.0);
}

CycleControl CZentrovaControlForm::ControlWhile(const std::atomic<int>& running) {
  CycleControl control;
  control.stopRequested = [this, &running] { return running == 0 || (quitRequested && quitRequested()); };
  control.progress = [this] {
    if (onProgress) onProgress();
  };
  return control;
}

void CZentrovaControlForm::StartMonitor() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (bRunning == 1) return;
  doc_.tMonitorStarted = doc_.platform.clock.Now();
  if (bThread == 1) {
    bRunning = 1;
    threadRunning_ = std::make_shared<std::atomic<int>>(1);
    workers_.emplace_back([this, flag = threadRunning_] { MonitorThreadProc(flag); });
    doc_.activityLog.Add("Monitor started by thread");
  } else if (bTimerActive == 0) {
    bTimerActive = 1;
    nTimerId = timers_.SetTimer(static_cast<int>(IntervalSeconds(iInterval) * 1000.0), [this] { OnTimer(0); });
    doc_.activityLog.Add("Monitor started by timer");
    bRunning = 1;
  }
}

void CZentrovaControlForm::StopMonitor() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (bRunning == 0) return;
  if (bThread == 1) {
    bRunning = 0;
    if (threadRunning_) *threadRunning_ = 0;
  } else if (bTimerActive == 1) {
    timers_.KillTimer(nTimerId);
    doc_.activityLog.Add("Monitor stopped");
    bTimerActive = 0;
    bRunning = 0;
  }
}

void CZentrovaControlForm::OnStart() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (!startInSlices) {
    CycleControl control;
    control.stopRequested = [this] { return QuitAsked(); };
    const int n = doc_.MoveExistingFiles(control);
    if (n > 0) doc_.activityLog.Add(Printf("%d files were moved to the 'WaveformFile_old' folder", n));
    StartMonitor();
    return;
  }
  if (Starting()) return;
  moves_ = doc_.BeginExistingMoves();
  if (MoveSlice()) return FinishStart(!QuitAsked());
  startTimer_ = timers_.SetTimer(0, [this] {
    std::lock_guard<std::recursive_mutex> slice(doc_.mutex);
    if (MoveSlice()) FinishStart(!QuitAsked());
  });
}

bool CZentrovaControlForm::MoveSlice() {
  Clock& clock = doc_.platform.clock;
  const int64_t end = clock.SteadyMs() + kStartSliceMs;
  for (;;) {
    if (QuitAsked() || !doc_.MoveNextExisting(moves_)) return true;
    if (clock.SteadyMs() >= end) return false;
  }
}

void CZentrovaControlForm::FinishStart(bool startMonitor) {
  if (startTimer_ != 0) timers_.KillTimer(startTimer_);
  startTimer_ = 0;
  const int n = doc_.EndExistingMoves(moves_);
  moves_ = ExistingFileMoves();
  if (n > 0) doc_.activityLog.Add(Printf("%d files were moved to the 'WaveformFile_old' folder", n));
  if (startMonitor) StartMonitor();
}

void CZentrovaControlForm::OnStop() { StopMonitor(); }

void CZentrovaControlForm::OnInterval(int index) {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  iInterval = index;
  doc_.activityLog.Add(Printf("Monitor interval is %.2f sec", IntervalSeconds(iInterval)));
  doc_.settings.SaveInt("iInterval", iInterval);
  if (bTimerActive == 1) {
    StopMonitor();
    StartMonitor();
  }
}

void CZentrovaControlForm::OnThread() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  if (bRunning == 1) return;  // the command is enabled only while stopped
  bThread = 1 - bThread;
  doc_.settings.SaveInt("bThread", bThread);
}

void CZentrovaControlForm::OnMoveToFolder() {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  doc_.bMoveToFolder = 1 - doc_.bMoveToFolder;
  doc_.settings.SaveInt("bMoveToFolder", doc_.bMoveToFolder);
  doc_.activityLog.Add(doc_.bMoveToFolder == 1 ? "Automatic file move is on" : "Automatic file move is off");
}

void CZentrovaControlForm::OnTimer(int id) {
  if (id == 0) {
    if (runTimerCycle) {
      runTimerCycle();
      return;
    }
    TimerCycleEnded(doc_.CheckNewFiles(ControlWhile(bRunning)));
  } else if (id == 1) {
    std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
    if (doc_.bSnedReport == 1 &&
        doc_.SendReport("Report from Zentrova.\nThe last file name is " + doc_.settingsBlock.strLastFileName, 0) == 1) {
      doc_.activityLog.Add("Report was successfully sent.");
    }
  } else if (id == 2 && batteryCheck) {
    // Without the lock: a shutdown below the threshold pauses this thread.
    const std::string text = batteryCheck();
    doc_.activityLog.Add(text);
  }
}

void CZentrovaControlForm::TimerCycleEnded(int found) {
  if (onProgress) onProgress();
  if (found > 0 && onNewFiles) onNewFiles();
}

void CZentrovaControlForm::MonitorThreadProc(std::shared_ptr<std::atomic<int>> running) {
  const CycleControl control = ControlWhile(*running);
  while (!control.Stopped()) {
    const int found = doc_.CheckNewFiles(control);
    if (onProgress) onProgress();
    if (found > 0 && onNewFiles) onNewFiles();
    // The pause between cycles, in steps so that a stop is noticed soon.
    for (int waited = 0; waited < kThreadPauseMs && !control.Stopped(); waited += 50) doc_.platform.clock.Sleep(50);
  }
}

void CZentrovaControlForm::Shutdown() {
  {
    std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
    if (bTimerActive == 1) {
      timers_.KillTimer(nTimerId);
      bTimerActive = 0;
    }
    bRunning = 0;
    if (threadRunning_) *threadRunning_ = 0;
    if (Starting()) FinishStart(false);
    if (reportTimer_) timers_.KillTimer(reportTimer_);
    if (batteryTimer_) timers_.KillTimer(batteryTimer_);
    reportTimer_ = batteryTimer_ = 0;
  }
  // Without the lock: a thread may be waiting for it to finish its cycle.
  for (std::thread& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
  workers_.clear();
}

}  // namespace zentrova

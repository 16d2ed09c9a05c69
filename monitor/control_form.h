#pragma once
// The control form's monitor and commands, without a window: the desktop
// shell shows it, the headless station drives it from its event loop.
// Every command holds the document's lock, so commands and the monitor
// thread take turns.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "monitor/zentrova_doc.h"
#include "platform/event_loop.h"

namespace zentrova {

class CZentrovaControlForm {
 public:
  CZentrovaControlForm(CZentrovaDoc& doc, TimerHost& timers);
  ~CZentrovaControlForm();
  CZentrovaControlForm(const CZentrovaControlForm&) = delete;
  CZentrovaControlForm& operator=(const CZentrovaControlForm&) = delete;

  // The form's start-up sequence (logs the interval and folders, "Start"
  // when bAutoStart is set, the feature timers).
  void OnInitialUpdate();

  void StartMonitor();
  void StopMonitor();
  void OnStart();
  void OnStop();
  void OnInterval(int index);
  void OnThread();
  void OnMoveToFolder();
  void OnTimer(int id);
  // Stops the monitor and waits for the monitor thread to finish its cycle.
  void Shutdown();

  static double IntervalSeconds(int index);

  // The report timer (timer 1), every iReportInterval minutes.
  bool ReportTimerRunning() const { return reportTimer_ != 0; }
  void StartReportTimer();
  void StopReportTimer();

  // The battery check timer (timer 2), every iBatteryCheckInterval minutes.
  bool BatteryTimerRunning() const { return batteryTimer_ != 0; }
  void StartBatteryTimer();
  void StopBatteryTimer();

  std::atomic<int> bRunning{0};
  int bTimerActive = 0;
  unsigned nTimerId = 0;
  int bThread = 0;
  int iInterval = 4;
  // Called after a cycle that found new files (views update, panel refresh).
  std::function<void()> onNewFiles;
  // Whether the shell is closing (a signal, the service manager): a cycle
  // under way then ends between two files. May be called from any thread.
  std::function<bool()> quitRequested;
  // Called from the thread of the cycle for every file it handles and at
  // the end of every cycle (the service watchdog's sign of life).
  std::function<void()> onProgress;
  // The longest quiet time between two cycles, in ms (the timer's interval,
  // or the thread's pause).
  int CycleGapMs() const;
  // "Start" in slices, for a shell whose thread must answer meanwhile (a
  // window): the old records are moved for at most kStartSliceMs at a time
  // under the lock, the rest from a timer after the shell's events, and
  // monitoring starts when all are moved. A quit (quitRequested) or a
  // Shutdown ends the moves between two files and starts no monitoring.
  // Otherwise "Start" moves them all at once, a quit ending the moves.
  bool startInSlices = false;
  static constexpr int kStartSliceMs = 20;
  // The moves of a "Start" in slices are under way (a second "Start" meanwhile does nothing).
  bool Starting() const { return startTimer_ != 0; }
  // The battery check of the battery timer; returns the text to log.
  std::function<std::string()> batteryCheck;
  // Runs timer 0's cycle instead of the whole cycle at once: a window's
  // shell runs it in slices between its events (BeginCycle, StepCycle,
  // EndCycle) and ends each cycle with TimerCycleEnded.
  std::function<void()> runTimerCycle;
  // Whether a cycle of timer 0 is to end between two files (monitoring
  // stopped, the shell closing).
  bool TimerCycleStopped() const { return bRunning == 0 || (quitRequested && quitRequested()); }
  // After a cycle of timer 0: the sign of life and, when it found new
  // files, onNewFiles.
  void TimerCycleEnded(int found);

 private:
  void MonitorThreadProc(std::shared_ptr<std::atomic<int>> running);
  bool QuitAsked() const { return quitRequested && quitRequested(); }
  // One slice of the moves of "Start"; true when the moves are done.
  bool MoveSlice();
  void FinishStart(bool startMonitor);
  // The control of one cycle: it stops when `running` drops or the shell quits.
  CycleControl ControlWhile(const std::atomic<int>& running);
  CZentrovaDoc& doc_;
  TimerHost& timers_;
  // The running flag of the current monitor thread. A stopped thread keeps
  // its own (cleared) flag and ends after its cycle; it is joined at Shutdown.
  std::shared_ptr<std::atomic<int>> threadRunning_;
  std::vector<std::thread> workers_;
  unsigned reportTimer_ = 0;
  unsigned batteryTimer_ = 0;
  unsigned startTimer_ = 0;  // the next slice of "Start"'s moves
  ExistingFileMoves moves_;
};

}  // namespace zentrova

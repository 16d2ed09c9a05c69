#include "app/shell/sliced_cycle.h"

#include <mutex>

#include "monitor/control_form.h"

namespace zentrova {

SlicedCycle::SlicedCycle(CZentrovaDoc& doc, CZentrovaControlForm& form, QObject* parent)
    : QObject(parent), doc_(doc), form_(form) {
  pause_.setSingleShot(true);
  connect(&pause_, &QTimer::timeout, this, &SlicedCycle::Step);
  form_.runTimerCycle = [this] { Tick(); };
}

SlicedCycle::~SlicedCycle() {
  form_.runTimerCycle = nullptr;
  Abort();
}

void SlicedCycle::Tick() {
  if (underWay_) return;  // a tick during a long cycle: the cycle goes on
  int bReadData = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
    const OpenViews& v = doc_.views;
    bReadData = (v.bWaveformView || v.bPhaseVelocityView || v.bSeisProfileView) ? 1 : 0;
  }
  if (!doc_.BeginCycle(bReadData)) return;
  underWay_ = true;
  Step();
}

void SlicedCycle::Step() {
  if (!underWay_) return;
  if (form_.TimerCycleStopped()) return Finish(false);
  const CycleStep step = doc_.StepCycle();
  if (step.finished) return Finish(true);
  if (step.handledFile && form_.onProgress) form_.onProgress();
  if (form_.TimerCycleStopped()) return Finish(false);
  // Even without a pause the next step waits for the events queued meanwhile.
  pause_.start(step.pauseMs > 0 ? step.pauseMs : 0);
}

void SlicedCycle::Finish(bool completed) {
  pause_.stop();
  underWay_ = false;
  const int found = doc_.EndCycle(completed);
  ++ended_;
  form_.TimerCycleEnded(found);
}

void SlicedCycle::Abort() {
  if (!underWay_) return;
  pause_.stop();
  underWay_ = false;
  doc_.EndCycle(false);
}

}  // namespace zentrova

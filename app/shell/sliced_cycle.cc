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

bool SlicedCycle::UnderWay() const { return doc_.CycleUnderWay(cycle_); }

void SlicedCycle::Tick() {
  if (UnderWay()) return;  // a tick during a long cycle: the cycle goes on
  int bReadData = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
    const OpenViews& v = doc_.views;
    bReadData = (v.bWaveformView || v.bPhaseVelocityView || v.bSeisProfileView) ? 1 : 0;
  }
  cycle_ = doc_.BeginCycle(bReadData);
  if (cycle_ != 0) Step();
}

void SlicedCycle::Step() {
  if (!UnderWay()) return;
  if (form_.TimerCycleStopped()) return Finish(false);
  const CycleStep step = doc_.StepCycle(cycle_);
  if (step.finished) return Finish(true);
  if (step.handledFile && form_.onProgress) form_.onProgress();
  if (form_.TimerCycleStopped()) return Finish(false);
  // Even without a pause the next step waits for the events queued meanwhile.
  pause_.start(step.pauseMs > 0 ? step.pauseMs : 0);
}

void SlicedCycle::Finish(bool completed) {
  pause_.stop();
  const std::optional<int> found = doc_.EndCycle(cycle_, completed);
  if (!found) return;  // ended already, or it ends after the step under way
  ++ended_;
  form_.TimerCycleEnded(*found);
}

void SlicedCycle::Abort() {
  if (!UnderWay()) return;
  pause_.stop();
  if (doc_.EndCycle(cycle_, false)) ++ended_;
}

}  // namespace zentrova

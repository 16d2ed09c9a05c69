#pragma once
// The monitor cycle of the form's timer run in slices on the GUI thread:
// one step (one file) at a time, each pause a single-shot timer, so the
// window answers between two files however long the cycle is. The
// document keeps whether the cycle is under way; this keeps only the
// number of the cycle it began.

#include <QObject>
#include <QTimer>

#include "monitor/cycle_control.h"

namespace zentrova {

class CZentrovaDoc;
class CZentrovaControlForm;

class SlicedCycle : public QObject {
  Q_OBJECT

 public:
  // Takes over the form's timer 0.
  SlicedCycle(CZentrovaDoc& doc, CZentrovaControlForm& form, QObject* parent = nullptr);
  ~SlicedCycle() override;

  // A tick of timer 0: begins a cycle unless one is under way.
  void Tick();
  bool UnderWay() const;
  // Ends a cycle under way between two files (the program is closing).
  // Asked during one of the cycle's steps, it stops the cycle, which ends
  // when that step has returned.
  void Abort();
  int CyclesEnded() const { return ended_; }

 private:
  void Step();
  void Finish(bool completed);

  CZentrovaDoc& doc_;
  CZentrovaControlForm& form_;
  QTimer pause_;
  CycleId cycle_ = 0;  // the cycle this began, while the document has it under way
  int ended_ = 0;
};

}  // namespace zentrova

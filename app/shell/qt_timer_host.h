#pragma once
// The control form's window timers as Qt timers on the GUI thread. Set and
// killed only on that thread; each timer calls its callback there.

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/event_loop.h"

namespace zentrova {

class QtTimerHost : public TimerHost {
 public:
  QtTimerHost() = default;
  ~QtTimerHost() override;
  QtTimerHost(const QtTimerHost&) = delete;
  QtTimerHost& operator=(const QtTimerHost&) = delete;

  unsigned SetTimer(int ms, std::function<void()> callback) override;
  void KillTimer(unsigned timerId) override;
  size_t TimerCount() const { return timers_.size(); }
  // The period of a running timer in ms, or -1.
  int IntervalOf(unsigned timerId) const;

 private:
  std::map<unsigned, std::unique_ptr<QTimer>> timers_;
  // Killed timers, deleted from the event loop: one of them may be the
  // timer whose callback is running.
  std::vector<std::unique_ptr<QTimer>> killed_;
  QObject context_;
  unsigned next_ = 1;
};

}  // namespace zentrova

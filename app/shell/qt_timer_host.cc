#include "app/shell/qt_timer_host.h"

namespace zentrova {

QtTimerHost::~QtTimerHost() = default;

unsigned QtTimerHost::SetTimer(int ms, std::function<void()> callback) {
  const unsigned id = next_++;
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(ms < 0 ? 0 : ms);
  // A callback may kill its own timer: it runs from a copy.
  QObject::connect(timer.get(), &QTimer::timeout, [callback = std::move(callback)] {
    const std::function<void()> run = callback;
    run();
  });
  timer->start();
  timers_[id] = std::move(timer);
  return id;
}

void QtTimerHost::KillTimer(unsigned timerId) {
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return;
  it->second->stop();
  killed_.push_back(std::move(it->second));
  timers_.erase(it);
  if (killed_.size() == 1) QTimer::singleShot(0, &context_, [this] { killed_.clear(); });
}

int QtTimerHost::IntervalOf(unsigned timerId) const {
  auto it = timers_.find(timerId);
  return it == timers_.end() ? -1 : it->second->interval();
}

}  // namespace zentrova

#pragma once
// Hands what other threads have to tell the window to the GUI thread: a
// log line added, a cycle that found new files. Posting never waits and
// may be done from any thread; the handlers run on the GUI thread, later,
// and only while they are set. Lives longer than every thread that posts.

#include <QObject>
#include <atomic>
#include <functional>

namespace zentrova {

class GuiRelay : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Any thread. Several log lines before the window comes to them give one refresh.
  void PostLogChanged();
  void PostNewFiles();

  // GUI thread only.
  std::function<void()> onLogChanged;
  std::function<void()> onNewFiles;

 private:
  std::atomic<bool> logPending_{false};
};

}  // namespace zentrova

#pragma once
// A desktop station in a temporary folder with scripted dialogs, and
// waiting while the GUI thread handles its events.

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "app/shell/desktop_station.h"
#include "station/station_test_support.h"

namespace zentrova::testing {

// A console any thread may write to.
class SyncedBuffer : public std::streambuf {
 public:
  std::string text() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
  }

 protected:
  int overflow(int c) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (c != EOF) text_.push_back(static_cast<char>(c));
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::lock_guard<std::mutex> lock(mutex_);
    text_.append(s, static_cast<size_t>(n));
    return n;
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

// The operator's answers, and what was asked.
struct Answers {
  bool ok = true;    // the exit confirmation
  bool yes = false;  // Yes/No questions
  std::optional<int> integer;
  std::optional<std::string> text;
  std::optional<std::string> folder;
  std::optional<std::string> recordFile;  // "File > Open"
  std::function<bool(CDlgBatteryWarning&)> thresholds;
  std::vector<std::string> asked;
  std::function<void()> whileAsking;  // runs while an OK/Cancel question is open
};

inline DialogProvider Scripted(Answers& a) {
  DialogProvider d;
  d.askOkCancel = [&a](const std::string& t) {
    a.asked.push_back(t);
    if (a.whileAsking) a.whileAsking();
    return a.ok;
  };
  d.askYesNo = [&a](const std::string& t) {
    a.asked.push_back(t);
    return a.yes;
  };
  d.message = [&a](const std::string& t) { a.asked.push_back(t); };
  d.askInteger = [&a](const std::string& t, int) {
    a.asked.push_back(t);
    return a.integer;
  };
  d.askText = [&a](const std::string& caption, const std::string&) {
    a.asked.push_back(caption);
    return a.text;
  };
  d.browseFolder = [&a](const std::string& title, const std::string&, bool) {
    a.asked.push_back(title);
    return a.folder;
  };
  d.chooseRecordFile = [&a](const std::string& folder) {
    a.asked.push_back("open from " + folder);
    return a.recordFile;
  };
  d.warnings.integer = [&a](const std::string& t, const std::string&, int) {
    a.asked.push_back(t);
    return a.integer;
  };
  d.warnings.thresholds = [&a](CDlgBatteryWarning& dlg) { return a.thresholds ? a.thresholds(dlg) : false; };
  return d;
}

// Handles the GUI thread's events until `done` or the time is up.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    // A turn of an event loop: windows closed meanwhile are deleted too.
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

struct Desk {
  explicit Desk(TempFolder& folder) : dir(folder), console(&buffer) {}
  void Start() {
    StationOptions o;
    o.configDir = dir.Path("cfg");
    station = std::make_unique<DesktopStation>(o, Scripted(answers), console);
    station->Start();
  }
  // As the next run of the program would.
  void Restart() {
    station.reset();
    Start();
  }
  MainFrame& frame() { return station->frame(); }
  CZentrovaDoc& doc() { return station->doc(); }
  std::string Ini() const { return dir.Read("cfg/Zentrova.ini"); }
  std::string Pane() { return frame().panel()->logPane()->toPlainText().toStdString(); }

  TempFolder& dir;
  SyncedBuffer buffer;
  std::ostream console;
  Answers answers;
  std::unique_ptr<DesktopStation> station;
};

}  // namespace zentrova::testing

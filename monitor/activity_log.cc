#include "monitor/activity_log.h"

#include <cstdio>

#include "platform/local_time.h"

namespace zentrova {

void ActivityLog::Add(const std::string& text) {
  std::function<void(const std::string&)> listener;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.Append(text);
    listener = listener_;
  }
  if (listener) listener(text);
}

int ActivityLog::AppendToLogFile(const std::string& text) {
  std::string path;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ended_) return 0;
    path = strLogFile;
  }
  const Status written = AppendToFile(fs_, path, text + "\r\n");
  if (written.ok()) return 1;
  bool first = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    first = path != unwritableLogFile_;
    unwritableLogFile_ = path;
  }
  // Once per log file: a link or FIFO at its name, a missing drive.
  if (first) Add("The log file cannot be written (" + written.message() + "); its lines are lost");
  return 0;
}

int ActivityLog::EndLogFile(const std::string& lastLine) {
  const int written = AppendToLogFile(lastLine);
  std::lock_guard<std::mutex> lock(mutex_);
  ended_ = true;
  return written;
}

void ActivityLog::SetLogFileNames(int64_t moment, const std::string& folder) {
  const CivilTime t = SecondsToLocal(moment).value_or(CivilTime{});
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%d_%.2d_%.2d_%.2d_%.2d.txt", t.year, t.month, t.day, t.hour, t.minute);
  std::lock_guard<std::mutex> lock(mutex_);
  strEventFile = JoinPath(fs_, folder, std::string("EventDetection_") + stamp);
  strLogFile = JoinPath(fs_, folder, std::string("ZentrovaLog_") + stamp);
}

std::string ActivityLog::RenderLogPane() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string pane;
  for (int i = 0; i < lines_.Count(); ++i) {
    const std::string line = lines_.GetAt(i);
    if (line.size() >= 160) {
      pane += line.substr(0, 160) + " \r\n";
      pane += line.substr(160) + " \r\n";
    } else {
      pane += line + " \r\n";
    }
  }
  return pane;
}

int ActivityLog::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_.Count();
}

std::string ActivityLog::GetAt(int i) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_.GetAt(i);
}

std::string ActivityLog::LogFile() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return strLogFile;
}

std::string ActivityLog::EventFile() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return strEventFile;
}

void ActivityLog::SetListener(std::function<void(const std::string&)> listener) {
  std::lock_guard<std::mutex> lock(mutex_);
  listener_ = std::move(listener);
}

}  // namespace zentrova

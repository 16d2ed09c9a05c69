#pragma once
// What the station reports: the last 20 messages for the log pane, and the
// log file in the destination folder that keeps a line per message for the
// whole run. The two are separate sinks; neither adds a time stamp.
// Safe to use from the monitor thread and the commands at once.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "monitor/line_list.h"
#include "platform/file_system.h"

namespace zentrova {

class ActivityLog {
 public:
  explicit ActivityLog(FileSystem& fs) : fs_(fs) {}

  // Appends to the lines of the log pane.
  void Add(const std::string& text);
  // Appends one line (CR LF) to the log file; 1 when written, 0 when the file
  // could not be opened (the line is lost).
  int AppendToLogFile(const std::string& text);
  // The log file's last line of the run ("Zentrova was closed."): lines
  // that come after it (a thread still ending) no longer go to the file.
  int EndLogFile(const std::string& lastLine);
  // Forms strLogFile and strEventFile in folder from the local time of moment.
  void SetLogFileNames(int64_t moment, const std::string& folder);
  // The pane's text: each line followed by " \r\n", lines of 160 characters
  // or more split after their first 160.
  std::string RenderLogPane() const;

  int Count() const;
  std::string GetAt(int i) const;
  std::string LogFile() const;
  std::string EventFile() const;
  // Called with every line added, after it is added (the headless station
  // prints them).
  void SetListener(std::function<void(const std::string&)> listener);

 private:
  FileSystem& fs_;
  mutable std::mutex mutex_;
  LineList lines_{20};
  std::string strLogFile;
  std::string strEventFile;
  std::function<void(const std::string&)> listener_;
  bool ended_ = false;
  std::string unwritableLogFile_;  // said once
};

}  // namespace zentrova

#pragma once
// Starting the station when the user logs on.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

class LogonStart {
 public:
  virtual ~LogonStart() = default;
  // Registers `program` (a full path) to start at logon; false on failure.
  virtual bool Register(const std::string& program) = 0;
  virtual bool Remove() = 0;
};

// An XDG autostart entry: <config home>/autostart/Zentrova.desktop.
class XdgAutostart : public LogonStart {
 public:
  XdgAutostart(FileSystem& fs, std::string configHome);
  bool Register(const std::string& program) override;
  bool Remove() override;
  std::string EntryPath() const;

 private:
  FileSystem& fs_;
  std::string configHome_;
};

// The text of the entry; the program path quoted as the Exec key wants.
std::string AutostartEntry(const std::string& program);

class RecordingLogonStart : public LogonStart {
 public:
  bool Register(const std::string& program) override {
    registered = program;
    return true;
  }
  bool Remove() override {
    registered.clear();
    return true;
  }
  std::string registered;
};

}  // namespace zentrova

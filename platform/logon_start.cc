#include "platform/logon_start.h"

namespace zentrova {

XdgAutostart::XdgAutostart(FileSystem& fs, std::string configHome) : fs_(fs), configHome_(std::move(configHome)) {}

std::string XdgAutostart::EntryPath() const {
  return JoinPath(fs_, JoinPath(fs_, configHome_, "autostart"), "Zentrova.desktop");
}

std::string AutostartEntry(const std::string& program) {
  // Exec: the argument in double quotes, with '"', '`', '$' and '\' escaped
  // by a backslash; the key's value then escapes each backslash once more.
  std::string quoted = "\"";
  for (char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string exec;
  for (char c : quoted) {
    if (c == '\\') exec += '\\';
    exec += c;
  }
  return "[Desktop Entry]\nType=Application\nName=Zentrova\nComment=Seismograph station monitor\nExec=" + exec +
         "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
}

bool XdgAutostart::Register(const std::string& program) {
  if (program.find('\n') != std::string::npos || program.find('\r') != std::string::npos) return false;
  const std::string folder = JoinPath(fs_, configHome_, "autostart");
  if (!fs_.IsDirectory(configHome_)) fs_.CreateFolder(configHome_);
  if (!fs_.IsDirectory(folder)) fs_.CreateFolder(folder);
  const std::string temporary = EntryPath() + ".new";
  if (!WriteWholeFile(fs_, temporary, AutostartEntry(program)).ok()) {
    fs_.Remove(temporary);
    return false;
  }
  return fs_.ReplaceFile(temporary, EntryPath()).ok();
}

bool XdgAutostart::Remove() {
  if (!fs_.Exists(EntryPath())) return true;
  return fs_.Remove(EntryPath()).ok();
}

}  // namespace zentrova

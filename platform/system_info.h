#pragma once
// Facts about the computer and the user the station runs for.

#include <string>

namespace zentrova {

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual std::string ComputerName() = 0;   // empty when unknown
  virtual std::string ProgramPath() = 0;    // full path of the running program, empty when unknown
  virtual std::string HomeFolder() = 0;
  virtual std::string DataHome() = 0;       // $XDG_DATA_HOME, default ~/.local/share
  virtual std::string ConfigFolder() = 0;   // $ZENTROVA_CONFIG_DIR, or $XDG_CONFIG_HOME/Kalvane Applications
  virtual std::string UserConfigHome() = 0; // $XDG_CONFIG_HOME, default ~/.config
  // The acquisition controller's machine-wide folder: its settings store
  // and its surveys. $ZENTROVA_CONTROLLER_DIR, default /var/opt/Halvorne.
  virtual std::string ControllerFolder() = 0;
  virtual std::string Version() = 0;
  // path made absolute against the folder the program started in, so that
  // it keeps naming the same place when the current folder changes (the
  // monitor cycle makes the watched folder current). Empty stays empty.
  virtual std::string AbsolutePath(const std::string& path) = 0;
};

// path when it is absolute (or empty), otherwise base + "/" + path.
std::string AbsoluteAgainst(const std::string& path, const std::string& base);

// Every folder it names from the environment is absolute.
class LinuxSystemInfo : public SystemInfo {
 public:
  LinuxSystemInfo();
  std::string ComputerName() override;
  std::string ProgramPath() override;
  std::string HomeFolder() override;
  std::string DataHome() override;
  std::string ConfigFolder() override;
  std::string UserConfigHome() override;
  std::string ControllerFolder() override;
  std::string Version() override { return "2:0:0:0"; }
  std::string AbsolutePath(const std::string& path) override { return AbsoluteAgainst(path, startFolder_); }

 private:
  std::string startFolder_;  // the current folder when the program started
};

// Fixed answers for tests.
class FixedSystemInfo : public SystemInfo {
 public:
  std::string ComputerName() override { return computerName; }
  std::string ProgramPath() override { return programPath; }
  std::string HomeFolder() override { return home; }
  std::string DataHome() override { return dataHome; }
  std::string ConfigFolder() override { return configFolder; }
  std::string UserConfigHome() override { return configHome; }
  std::string ControllerFolder() override { return controllerFolder; }
  std::string Version() override { return "2:0:0:0"; }
  // Paths as they are, unless a start folder is set.
  std::string AbsolutePath(const std::string& path) override {
    return startFolder.empty() ? path : AbsoluteAgainst(path, startFolder);
  }

  std::string startFolder;
  std::string computerName = "STATION";
  std::string programPath = "/opt/zentrova/zentrova-station";
  std::string home = "/home/op";
  std::string dataHome = "/home/op/.local/share";
  std::string configFolder = "/home/op/.config/Kalvane Applications";
  std::string configHome = "/home/op/.config";
  std::string controllerFolder = "/var/opt/Halvorne";
};

}  // namespace zentrova

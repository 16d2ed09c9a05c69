#include "station/station_arguments.h"

#include <filesystem>
#include <system_error>

#include "platform/number_text.h"

namespace zentrova {

const char* const kStationUsage =
    "usage: zentrova-station [--config-dir DIR] [--start] [--run-for SECONDS] [--controller PATH]\n"
    "                        [--allow-power-off]\n"
    "       zentrova-station --status [--json] [--config-dir DIR]\n"
    "  --config-dir DIR   settings folder (default $ZENTROVA_CONFIG_DIR, else\n"
    "                     $XDG_CONFIG_HOME/Kalvane Applications); Zentrova.ini holds the\n"
    "                     station's settings in its [General] section; a folder that does\n"
    "                     not exist is created\n"
    "  --start            start monitoring at once, as bAutoStart=1 does\n"
    "  --run-for SECONDS  stop cleanly after that long, more than 0 (default: until SIGINT\n"
    "                     or SIGTERM)\n"
    "  --controller PATH  the acquisition controller to start when bAutoStartTC=1\n"
    "                     (default /opt/Halvorne/Tarnlink Controller/TC.exe)\n"
    "  --allow-power-off  really power the computer off below the battery's shutdown\n"
    "                     threshold; without it the station only says it would\n"
    "  --status           print how the station running on DIR stands, and end; exit status 0 OK,\n"
    "                     1 warning, 2 critical, 3 unknown (not running); takes no lock\n"
    "  --json             with --status: as JSON\n"
    "  --help             this text\n";

namespace {

// The longest run that is still counted in milliseconds without overflow,
// about 31 years.
constexpr double kLongestRunSeconds = 1.0e9;

StationArguments Wrong(const std::string& reason) {
  StationArguments a;
  a.exitCode = 2;
  a.message = "zentrova-station: " + reason + "\n" + kStationUsage;
  return a;
}

}  // namespace

StationArguments ParseStationArguments(const std::vector<std::string>& args) {
  StationArguments result;
  StationOptions& o = result.options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool takesValue = a == "--config-dir" || a == "--run-for" || a == "--controller";
    if (takesValue && i + 1 >= args.size()) return Wrong(a + " needs a value");
    if (a == "--config-dir") {
      o.configDir = args[++i];
      if (o.configDir.empty()) return Wrong("--config-dir needs a folder, not an empty text");
    } else if (a == "--run-for") {
      const std::string& text = args[++i];
      const auto seconds = WholeNumber(text);
      if (!seconds || *seconds <= 0 || *seconds > kLongestRunSeconds) {
        return Wrong("--run-for wants a number of seconds more than 0, not \"" + text + "\"");
      }
      o.runForSeconds = *seconds;
    } else if (a == "--controller") {
      o.controllerPath = args[++i];
      if (o.controllerPath.empty()) return Wrong("--controller needs a path, not an empty text");
    } else if (a == "--start") {
      o.start = true;
    } else if (a == "--allow-power-off") {
      o.allowPowerOff = true;
    } else if (a == "--status") {
      o.status = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--help" || a == "-h") {
      result.exitCode = 0;
      result.message = kStationUsage;
      return result;
    } else {
      return Wrong("unknown option " + a);
    }
  }
  if (o.json && !o.status) return Wrong("--json goes with --status");
  if (o.status && (o.start || o.runForSeconds > 0 || !o.controllerPath.empty() || o.allowPowerOff)) {
    return Wrong("--status takes only --json and --config-dir");
  }
  return result;
}

std::string PrepareConfigFolder(const std::string& folder, std::string* note) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path absolute = fs::absolute(folder, ec);
  const fs::path real = ec ? fs::path(folder) : fs::weakly_canonical(absolute, ec);
  const std::string resolved = ec ? absolute.string() : real.string();
  for (const char* kernel : {"/proc", "/sys"}) {
    const std::string k = kernel;
    if (resolved == k || resolved.compare(0, k.size() + 1, k + "/") == 0) {
      return "the configuration folder " + folder + " lies in " + k + ", which is no place for settings";
    }
  }
  const fs::file_status status = fs::status(folder, ec);
  if (fs::exists(status)) {
    if (!fs::is_directory(status)) return "the configuration folder " + folder + " is not a folder";
    return "";
  }
  if (!fs::create_directories(folder, ec) || ec) {
    return "cannot create the configuration folder " + folder + ": " + (ec ? ec.message() : "unknown error");
  }
  if (note) *note = "zentrova-station: created the configuration folder " + folder;
  return "";
}

StationArguments StationArgumentsOf(int argc, char** argv, SystemInfo& system) {
  StationArguments a = ParseStationArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (a.exitCode >= 0) return a;
  if (a.options.configDir.empty()) a.options.configDir = system.ConfigFolder();
  if (a.options.status) return a;  // only read: nothing is created
  std::string note;
  const std::string wrong = PrepareConfigFolder(a.options.configDir, &note);
  if (!wrong.empty()) return Wrong(wrong);
  a.message = note;
  return a;
}

}  // namespace zentrova

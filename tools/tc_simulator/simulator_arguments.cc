#include "tools/tc_simulator/simulator_arguments.h"

#include <cstdio>
#include <functional>

#include "platform/local_time.h"
#include "platform/number_text.h"

namespace zentrova {

const char* const kSimulatorUsage =
    "usage: TC.exe [--out DIR] [options]\n"
    "  --out DIR               an existing folder to write the records into\n"
    "  --count N               records to write, 0 to 1000000 (default 10)\n"
    "  --interval-ms MS        pause between records, 0 to 86400000 (default 1000)\n"
    "  --traces N              traces per record, 1 to 1024 (default 24)\n"
    "  --samples N             samples per trace, 1 to 100000 (default 1000)\n"
    "  --sample-interval-us US sample interval, 0.001 to 10000000 (default 1000)\n"
    "  --first-number N        number of the first file, N.sg2, 0 or more (default 1000)\n"
    "  --start-time \"YYYY-MM-DD HH:MM:SS\"  local record time of the first file (default now);\n"
    "                          the next ones follow at the record length\n"
    "  --events K              a clear seismic event in every K-th record (0: none)\n"
    "  --gps                   write a $GPZDA sentence as well\n"
    "  --chunks N              writes per file, 1 to 1000 (default 4), --chunk-pause-ms MS\n"
    "                          (0 to 60000, default 20)\n"
    "  --extension EXT         file extension (default sg2)\n"
    "  --survey NAME           keep the survey file NAME in the controller folder\n"
    "  --controller-dir DIR    the controller folder (default $ZENTROVA_CONTROLLER_DIR,\n"
    "                          else /var/opt/Halvorne)\n"
    "  --battery V             battery voltage with the first record, 0 to 100 (default 12.6)\n"
    "  --battery-drop V        volts less with each further record, 0 to 100 (default 0)\n"
    "  --window                show the window \"Tarnlink Controller\"; a close request ends the run\n"
    "  --stay                  after the records, run on until the window is closed or a signal comes\n"
    "  --help                  this text\n"
    "Without arguments: --window --stay --survey Survey.svy, no records.\n";

namespace {

SimulatorArguments Wrong(const std::string& reason) {
  SimulatorArguments a;
  a.exitCode = 2;
  a.message = "TC.exe: " + reason + "\n" + kSimulatorUsage;
  return a;
}

bool ValidDate(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1970 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

std::optional<int64_t> ParseLocalTime(const std::string& text) {
  CivilTime c;
  int used = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &c.year, &c.month, &c.day, &c.hour, &c.minute,
                  &c.second, &used) != 6 ||
      static_cast<size_t>(used) != text.size()) {
    return std::nullopt;
  }
  if (!ValidDate(c.year, c.month, c.day) || c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59 ||
      c.second < 0 || c.second > 59) {
    return std::nullopt;
  }
  const auto seconds = LocalToSeconds(c);
  if (!seconds) return std::nullopt;
  // A time the local clock never shows comes back as another one.
  const auto back = SecondsToLocal(*seconds);
  if (!back || back->year != c.year || back->month != c.month || back->day != c.day || back->hour != c.hour ||
      back->minute != c.minute || back->second != c.second) {
    return std::nullopt;
  }
  return seconds;
}

SimulatorArguments ParseSimulatorArguments(const std::vector<std::string>& args,
                                           const std::string& defaultControllerFolder) {
  SimulatorArguments r;
  r.controllerFolder = defaultControllerFolder;
  if (args.empty()) {
    r.window = r.stay = true;
    r.survey = "Survey.svy";
  }
  SimulatorOptions& o = r.options;
  using Setter = std::function<void(int64_t)>;
  struct IntOption {
    const char* name;
    int64_t lowest, highest;
    Setter set;
  };
  const IntOption ints[] = {
      {"--count", 0, 1000000, [&](int64_t v) { o.count = static_cast<int>(v); }},
      {"--interval-ms", 0, 86400000, [&](int64_t v) { o.intervalMs = static_cast<int>(v); }},
      {"--traces", 1, 1024, [&](int64_t v) { o.traces = static_cast<int>(v); }},
      {"--samples", 1, 100000, [&](int64_t v) { o.samples = static_cast<int>(v); }},
      {"--first-number", 0, 2000000000, [&](int64_t v) { o.firstNumber = static_cast<int>(v); }},
      {"--events", 0, 1000000, [&](int64_t v) { o.eventEvery = static_cast<int>(v); }},
      {"--chunks", 1, 1000, [&](int64_t v) { o.chunks = static_cast<int>(v); }},
      {"--chunk-pause-ms", 0, 60000, [&](int64_t v) { o.chunkPauseMs = static_cast<int>(v); }},
  };
  struct NumberOption {
    const char* name;
    double lowest, highest;
    bool lowestIncluded;
    std::function<void(double)> set;
  };
  const NumberOption numbers[] = {
      // The record holds the interval in whole nanoseconds: less than one is written as 0.
      {"--sample-interval-us", 0.001, 1.0e7, true, [&](double v) { o.sampleIntervalUs = v; }},
      {"--battery", 0, 100, true, [&](double v) { o.batteryVolts = v; }},
      {"--battery-drop", 0, 100, true, [&](double v) { o.batteryDrop = v; }},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
    bool done = false;
    for (const IntOption& opt : ints) {
      if (a != opt.name) continue;
      const std::string* text = value();
      if (!text) return Wrong(a + " needs a value");
      const auto v = WholeInteger(*text);
      if (!v || *v < opt.lowest || *v > opt.highest) {
        return Wrong(a + " wants a whole number from " + std::to_string(opt.lowest) + " to " +
                     std::to_string(opt.highest) + ", not \"" + *text + "\"");
      }
      opt.set(*v);
      done = true;
    }
    for (const NumberOption& opt : numbers) {
      if (a != opt.name) continue;
      const std::string* text = value();
      if (!text) return Wrong(a + " needs a value");
      const auto v = WholeNumber(*text);
      char range[96];
      std::snprintf(range, sizeof range, "%s %g up to %g", opt.lowestIncluded ? "from" : "more than", opt.lowest,
                    opt.highest);
      if (!v || *v < opt.lowest || (!opt.lowestIncluded && *v == opt.lowest) || *v > opt.highest) {
        return Wrong(a + " wants a number " + range + ", not \"" + *text + "\"");
      }
      opt.set(*v);
      done = true;
    }
    if (done) continue;
    if (a == "--out" || a == "--start-time" || a == "--extension" || a == "--survey" || a == "--controller-dir") {
      const std::string* text = value();
      if (!text) return Wrong(a + " needs a value");
      if (text->empty()) return Wrong(a + " needs a value, not an empty text");
      if (a == "--out") {
        o.outFolder = *text;
        r.haveOut = true;
      } else if (a == "--start-time") {
        const auto t = ParseLocalTime(*text);
        if (!t) return Wrong("--start-time wants a local time \"YYYY-MM-DD HH:MM:SS\" that exists, not \"" + *text + "\"");
        o.startTime = *t;
      } else if (a == "--extension") {
        if (text->find('/') != std::string::npos) return Wrong("--extension wants a file extension, not \"" + *text + "\"");
        o.extension = *text;
      } else if (a == "--survey") {
        r.survey = *text;
      } else {
        r.controllerFolder = *text;
      }
    } else if (a == "--gps") {
      o.gps = true;
    } else if (a == "--window") {
      r.window = true;
    } else if (a == "--stay") {
      r.stay = true;
    } else if (a == "--help" || a == "-h") {
      SimulatorArguments help;
      help.exitCode = 0;
      help.message = kSimulatorUsage;
      return help;
    } else {
      return Wrong("unknown option " + a);
    }
  }
  if (!r.haveOut) o.count = 0;
  return r;
}

}  // namespace zentrova

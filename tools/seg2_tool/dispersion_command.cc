#include "tools/seg2_tool/dispersion_command.h"

#include <iostream>

#include "monitor/ranged_store.h"
#include "monitor/settings.h"
#include "platform/key_value_store.h"
#include "platform/system_info.h"
#include "tools/seg2_tool/line_analysis.h"

namespace zentrova {

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return text;
}

DispersionSettings StoredDispersionSettings(FileSystem& fs) {
  LinuxSystemInfo system;
  IniFileStore file(fs, system.ConfigFolder() + "/Zentrova.ini", "General");
  RangedStore profile(file, ProfileSettingRanges(), "Zentrova.ini");
  for (const std::string& note : profile.notes()) std::cerr << "zentrova-seg2: " << OneLine(note) << "\n";
  MemoryStore product;
  Settings stored(profile, product);
  DispersionSettings settings;
  settings.Load(stored);
  return settings;
}

namespace {

struct DispersionRequest {
  std::vector<std::string> files;
  bool json = false;
  std::string filesFolder;
};

// Empty when the arguments make a request; otherwise why not.
std::string Parse(const std::vector<std::string>& args, DispersionRequest& r) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--json") {
      r.json = true;
    } else if (args[i] == "--files") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return "--files wants a folder";
      r.filesFolder = args[++i];
    } else if (args[i].rfind("--", 0) == 0) {
      return "dispersion does not know \"" + args[i] + "\"";
    } else {
      r.files.push_back(args[i]);
    }
  }
  if (r.files.empty()) return "dispersion wants one FILE or more";
  return "";
}

}  // namespace

int DispersionCommand(FileSystem& fs, const std::vector<std::string>& args, std::string& usageError) {
  DispersionRequest r;
  usageError = Parse(args, r);
  if (!usageError.empty()) return 2;
  const LineAnalysis line = AnalyseLine(fs, StoredDispersionSettings(fs), r.files, r.filesFolder);
  if (!line.error.empty()) {
    std::cerr << "zentrova-seg2: " << OneLine(line.error) << "\n";
    return 1;
  }
  if (r.json) {
    std::cout << (line.shots.size() == 1 ? ShotJson(line.shots[0]) : LineJson(line.shots, line.combined)) << "\n";
  } else {
    for (const ShotReport& shot : line.shots) std::cout << ShotText(shot);
    if (line.shots.size() > 1) std::cout << CombinedText(line.shots.size(), line.combined);
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "zentrova-seg2: cannot write the output\n";
    return 1;
  }
  if (!r.filesFolder.empty()) std::cerr << "zentrova-seg2: text files in " << OneLine(r.filesFolder) << "\n";
  return 0;
}

}  // namespace zentrova

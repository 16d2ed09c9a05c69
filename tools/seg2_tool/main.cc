// zentrova-seg2: look into a record file the way the station reads it.
//
//   zentrova-seg2 info FILE          readable summary
//   zentrova-seg2 dump --json FILE   the record as one JSON object
//   zentrova-seg2 kind NAME...       data-file kinds of names
//   zentrova-seg2 dispersion FILE... [--json] [--files DIR]
//                                    dispersion image, picks and S-wave model
//                                    with the stored settings; several shots
//                                    of one line also as one combined curve;
//                                    the two text files only into --files DIR
//   zentrova-seg2 invert FILE...|--curve CSV [--json] [--models N] [--seed N] [--layers N]
//                                    S-wave profile and Vs30 of the records'
//                                    (or the CSV's) dispersion curve
//   zentrova-seg2 join SOURCE_FOLDER TARGET_FOLDER [--length L] [--name TEXT]
//                                    joins the records of a folder into one
//                                    (or, at time gaps, several)
//   zentrova-seg2 plot FILE OUT.png [--view waveform|phase-velocity|profile]
//                [--normalize] [--events] [--by-offset] [--size WxH]
//                                    the record as the views draw it, in a
//                                    PNG file (exit 1 with the reason when
//                                    no picture was written)
//   zentrova-seg2 plot FILE... OUT.png --view dispersion-curve [--size WxH]
//                                    the shots' picks and their combined
//                                    curve, frequency against phase velocity
//   zentrova-seg2 detect FILE|FOLDER... [detection options] [--json]
//                [--sweep ratio|window1|window2=FROM:TO:STEP]
//                                    the station's events in records, with
//                                    the stored detection parameters or
//                                    others; nothing is written
//   zentrova-seg2 mseed FILE|FOLDER... --sds DIR [--network XX] [--station CODE]
//                                    records into the miniSEED archive DIR/SDS
//   zentrova-seg2 --help
//
// Exit status 0 when the file was read (or joined), 1 when it was rejected
// or could not be opened (the reason on standard error), 2 for a usage
// error (its reason, then the usage).

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "concat/concatenation.h"
#include "concat/seg2_identifier.h"
#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "platform/system_info.h"
#include "platform/prompt.h"
#include "records/data_file_kind.h"
#include "records/mtneo_import.h"
#include "records/seg2_reader.h"
#include "tools/seg2_tool/detect_command.h"
#include "tools/seg2_tool/detection_options.h"
#include "tools/seg2_tool/dispersion_command.h"
#include "tools/seg2_tool/invert_command.h"
#include "tools/seg2_tool/mseed_command.h"
#include "tools/seg2_tool/plot_command.h"
#include "tools/seg2_tool/record_reading.h"
#include "tools/seg2_tool/record_report.h"

namespace zentrova {
namespace {

constexpr const char* kUsage =
    "usage: zentrova-seg2 info FILE | dump --json FILE | kind NAME... | dispersion FILE... [--json] [--files DIR] |\n"
    "       invert FILE...|--curve CSV [--json] [--models N] [--seed N] [--layers N] |\n"
    "       join SOURCE_FOLDER TARGET_FOLDER [--length L] [--name TEXT] |\n"
    "       plot FILE OUT.png [--view waveform|phase-velocity|profile] [--normalize] [--events] [--by-offset] [--size WxH]\n"
    "            [detection options with --events] |\n"
    "       plot FILE... OUT.png --view dispersion-curve [--size WxH] |\n"
    "       detect FILE|FOLDER... [--json] [--sweep ratio|window1|window2=FROM:TO:STEP] [detection options] |\n"
    "       mseed FILE|FOLDER... --sds DIR [--network XX] [--station CODE] |\n"
    "       --help\n"
    "detection options: ";

int Help() {
  std::cout << kUsage << kDetectionOptionsUsage << "\n";
  return 0;
}

// A usage error: its reason, then the usage.
int BadUsage(const std::string& why) {
  std::cerr << "zentrova-seg2: " << why << "\n" << kUsage << kDetectionOptionsUsage << "\n";
  return 2;
}

// A whole number of samples, 0 or more.
bool ParseLength(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  value = std::atoi(text.c_str());
  return true;
}

// The site name of the station's settings, else the computer name.
std::string SiteName(FileSystem& fs) {
  LinuxSystemInfo system;
  IniFileStore profile(fs, system.ConfigFolder() + "/Zentrova.ini", "General");
  return profile.Get("sMyName").value_or(system.ComputerName());
}

int Join(FileSystem& fs, const std::vector<std::string>& args) {
  if (args.size() < 3) return BadUsage("join wants a SOURCE_FOLDER and a TARGET_FOLDER");
  ConcatenationRequest request;
  request.sourceFolder = args[1];
  request.targetFolder = args[2];
  request.bInteractive = 0;
  request.bThreaded = 0;
  bool named = false;
  for (size_t i = 3; i < args.size(); ++i) {
    if (args[i] == "--length") {
      if (i + 1 >= args.size()) return BadUsage("--length wants a number of samples");
      if (!ParseLength(args[++i], request.presetLength)) {
        return BadUsage("--length wants a whole number of samples (0: the longest record), not \"" + args[i] + "\"");
      }
    } else if (args[i] == "--name") {
      if (i + 1 >= args.size()) return BadUsage("--name wants a text");
      request.nameText = args[++i];
      named = true;
    } else {
      return BadUsage("join does not know \"" + args[i] + "\"");
    }
  }
  if (!fs.IsDirectory(request.sourceFolder)) {
    auto listed = fs.ListFolder(request.sourceFolder);
    const std::string why = listed.ok() ? "not a folder" : listed.status().message();
    std::cerr << "zentrova-seg2: cannot read the source folder " << request.sourceFolder << ": " << why << "\n";
    return 1;
  }
  if (!fs.IsDirectory(request.targetFolder)) {
    const std::string why = fs.Exists(request.targetFolder) ? "it is not a folder"
                                                             : fs.CreateFolder(request.targetFolder).message();
    if (!fs.IsDirectory(request.targetFolder)) {
      std::cerr << "zentrova-seg2: cannot create the target folder " << request.targetFolder << ": " << why << "\n";
      return 1;
    }
  }
  if (!named) request.nameText = SiteName(fs);
  StderrPrompt prompt;
  ConcatenationJob job = PlanConcatenation(fs, prompt, request);
  job.tell = [](const std::string& line) { std::cerr << "zentrova-seg2: " << line << "\n"; };
  const int result = RunConcatenation(fs, prompt, job);
  for (const JoinedPart& part : job.parts) std::cout << part.path << "\n";
  return result == 1 ? 0 : 1;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return BadUsage("a command is missing");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") return Help();
  LinuxFileSystem fs;
  if (args[0] == "join") return Join(fs, args);
  if (args[0] == "dispersion") {
    std::string why;
    const int status = DispersionCommand(fs, args, why);
    return status == 2 ? BadUsage(why) : status;
  }
  if (args[0] == "invert") {
    std::string why;
    const int status = InvertCommand(fs, args, why);
    return status == 2 ? BadUsage(why) : status;
  }
  if (args[0] == "plot") return PlotCommand(fs, args);
  if (args[0] == "detect") return DetectCommand(fs, args);
  if (args[0] == "mseed") {
    std::string why;
    const int status = MseedCommand(fs, args, why);
    return status == 2 ? BadUsage(why) : status;
  }
  if (args[0] == "kind") {
    for (size_t i = 1; i < args.size(); ++i) {
      std::cout << args[i] << " " << DataFileKind(args[i]) << " " << JoinFileKind(fs, args[i]) << "\n";
    }
    return 0;
  }
  std::string path;
  if (args[0] == "info") {
    if (args.size() != 2) return BadUsage("info wants one FILE");
    path = args[1];
  } else if (args[0] == "dump") {
    if (args.size() != 3 || args[1] != "--json") return BadUsage("dump wants --json and one FILE");
    path = args[2];
  } else {
    return BadUsage("unknown command \"" + args[0] + "\"");
  }
  SeismicRecord record(fs.CurrentFolder());
  const Outcome o = ReadRecord(fs, record, path);
  if (o.result == -1) {
    std::cerr << "zentrova-seg2: " << o.why << "\n";
    return 1;
  }
  std::cout << (args[0] == "info" ? RecordSummary(record, path, o.result, o.status)
                                  : RecordJson(record, o.result, o.status));
  if (!o.read) {
    std::cerr << "zentrova-seg2: " << path << " rejected: " << o.why << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace zentrova

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return zentrova::Run(args);
}

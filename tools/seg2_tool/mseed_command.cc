#include "tools/seg2_tool/mseed_command.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "archive/mseed_archive.h"
#include "archive/stream_codes.h"
#include "platform/clock.h"
#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "platform/system_info.h"
#include "records/data_file_kind.h"

namespace zentrova {
namespace {

struct Input {
  std::string path;
  int kind = DataKindSeg2;
};

// The record files of the arguments, folders walked in name order.
void Collect(FileSystem& fs, const std::string& path, std::vector<Input>& out, int depth = 0) {
  auto entry = fs.Inspect(path);
  if (!entry.ok()) {
    out.push_back({path, DataFileKind(path) == DataKindMtNeo ? DataKindMtNeo : DataKindSeg2});
    return;
  }
  if (entry->type == EntryType::kFolder) {
    if (depth > 16) return;
    auto names = fs.ListFolder(path);
    if (!names.ok()) return;
    for (const std::string& n : *names) {
      if (n == "." || n == "..") continue;
      const std::string p = JoinPath(fs, path, n);
      auto e = fs.Inspect(p);
      if (!e.ok()) continue;
      if (e->type == EntryType::kFolder) {
        Collect(fs, p, out, depth + 1);
      } else if (e->type == EntryType::kRegular) {
        const int kind = DataFileKind(n);
        if (kind == DataKindSeg2 || kind == DataKindMtNeo) out.push_back({p, kind});
      }
    }
    return;
  }
  const int kind = DataFileKind(path);
  out.push_back({path, kind == DataKindMtNeo ? DataKindMtNeo : DataKindSeg2});
}

// The stored codes and the position, else the defaults.
ArchiveIdentity StoredIdentity(FileSystem& fs) {
  LinuxSystemInfo system;
  IniFileStore profile(fs, system.ConfigFolder() + "/Zentrova.ini", "General");
  ArchiveIdentity id;
  id.siteName = profile.Get("sMyName").value_or(system.ComputerName());
  id.network = NetworkCodeOf(profile.Get("sNetworkCode").value_or("XX"));
  id.station = StationCodeOf(profile.Get("sStationCode").value_or(""), id.siteName);
  auto number = [&](const char* key) { return std::atof(profile.Get(key).value_or("0").c_str()); };
  id.place = {number("dStationLatitude"), number("dStationLongitude"), number("dStationElevation")};
  return id;
}

}  // namespace

int MseedCommand(FileSystem& fs, const std::vector<std::string>& args, std::string& why) {
  std::vector<std::string> files;
  std::string sds, network, station;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--sds" || a == "--network" || a == "--station") {
      if (i + 1 >= args.size()) {
        why = a + " wants a value";
        return 2;
      }
      (a == "--sds" ? sds : a == "--network" ? network : station) = args[++i];
    } else if (a.rfind("--", 0) == 0) {
      why = "mseed does not know \"" + a + "\"";
      return 2;
    } else {
      files.push_back(a);
    }
  }
  if (files.empty() || sds.empty()) {
    why = "mseed wants one FILE or FOLDER or more and --sds DIR";
    return 2;
  }
  ArchiveIdentity id = StoredIdentity(fs);
  if (!network.empty()) {
    if (CodeCharacters(network, 2) != network) {
      why = "--network wants 1 or 2 of A-Z and 0-9, not \"" + network + "\"";
      return 2;
    }
    id.network = network;
  }
  if (!station.empty()) {
    if (CodeCharacters(station, 5) != station) {
      why = "--station wants 1 to 5 of A-Z and 0-9, not \"" + station + "\"";
      return 2;
    }
    id.station = station;
  }
  std::vector<Input> inputs;
  for (const std::string& f : files) Collect(fs, f, inputs);
  const std::string root = JoinPath(fs, sds, "SDS");
  CreateFolders(fs, root);
  MiniSeedArchive archive(fs, id);
  SystemClock clock;
  int failed = 0;
  size_t written = 0, held = 0;
  for (const Input& in : inputs) {
    const ArchiveResult r = archive.ArchiveFile(root, in.path, in.kind, clock.Now() * 1000000);
    written += r.written;
    held += r.held;
    for (const std::string& line : r.lines) std::cerr << "zentrova-seg2: " << line << "\n";
    if (std::any_of(r.lines.begin(), r.lines.end(), [](const std::string& l) {
          return l.rfind("Not archived", 0) == 0 || l.rfind("Unable", 0) == 0;
        })) {
      ++failed;
    }
  }
  std::cout << inputs.size() - static_cast<size_t>(failed) << " records archived into " << root << " ("
            << written << " samples written, " << held << " held already); "
            << archive.StationXmlPath(root) << "\n";
  return failed == 0 ? 0 : 1;
}

}  // namespace zentrova

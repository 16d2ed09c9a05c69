#include "archive/station_archive.h"

#include "archive/sds_path.h"
#include "archive/stream_codes.h"
#include "platform/printf.h"

namespace zentrova {

ArchiveSettings LoadArchiveSettings(Settings& settings) {
  ArchiveSettings s;
  settings.LoadInt("bMiniSeedArchive", s.bMiniSeedArchive);
  settings.LoadText("sNetworkCode", s.sNetworkCode);
  settings.LoadText("sStationCode", s.sStationCode);
  settings.LoadInt("nArchiveDays", s.nArchiveDays);
  settings.LoadFloat("dStationLatitude", s.dStationLatitude);
  settings.LoadFloat("dStationLongitude", s.dStationLongitude);
  settings.LoadFloat("dStationElevation", s.dStationElevation);
  return s;
}

ArchiveIdentity ArchiveIdentityOf(const ArchiveSettings& s, const std::string& siteName,
                                  std::vector<std::string>* notes) {
  ArchiveIdentity id;
  id.network = NetworkCodeOf(s.sNetworkCode);
  id.station = StationCodeOf(s.sStationCode, siteName);
  id.siteName = siteName;
  id.place = {s.dStationLatitude, s.dStationLongitude, s.dStationElevation};
  if (notes && id.network != s.sNetworkCode) {
    notes->push_back(Printf("Zentrova.ini: sNetworkCode=%s is not a network code (1 or 2 of A-Z, 0-9); %s is used.",
                            s.sNetworkCode.c_str(), id.network.c_str()));
  }
  if (notes && !s.sStationCode.empty() && id.station != s.sStationCode) {
    notes->push_back(Printf("Zentrova.ini: sStationCode=%s is not a station code (1 to 5 of A-Z, 0-9); %s is used.",
                            s.sStationCode.c_str(), id.station.c_str()));
  }
  return id;
}

StationArchive::StationArchive(CZentrovaDoc& doc)
    : doc_(doc),
      settings_(LoadArchiveSettings(doc.settings)),
      archive_(doc.platform.fs, ArchiveIdentityOf(settings_, doc.settingsBlock.sMyName, &notes_)) {}

std::string StationArchive::SdsRoot() const { return doc_.Path(doc_.settingsBlock.strDestinationFolder, "SDS"); }

std::vector<std::string> StationArchive::StartupNotes() const {
  if (!On()) return {};
  std::vector<std::string> lines = notes_;
  const ArchiveIdentity& id = archive_.identity();
  const std::string kept = settings_.nArchiveDays > 0 ? Printf("kept %d days", settings_.nArchiveDays) : "every day kept";
  lines.push_back(Printf("miniSEED archive: network %s, station %s, into %s (%s)", id.network.c_str(),
                         id.station.c_str(), SdsRoot().c_str(), kept.c_str()));
  return lines;
}

void StationArchive::Say(const std::string& line) {
  doc_.activityLog.Add(line);
  doc_.activityLog.AppendToLogFile(line);
}

void StationArchive::ArchiveRecord(const std::string& path, int kind) {
  if (!On()) return;
  const int64_t nowUs = doc_.platform.clock.Now() * 1000000;
  const ArchiveResult r = archive_.ArchiveFile(SdsRoot(), path, kind, nowUs);
  for (const std::string& line : r.lines) Say(line);
}

void StationArchive::EndOfCycle() {
  if (!On() || settings_.nArchiveDays <= 0) return;
  const int64_t nowUs = doc_.platform.clock.Now() * 1000000;
  const UtcDay today = UtcDayOf(nowUs);
  if (today.startUs == lastDayStartUs_) return;
  lastDayStartUs_ = today.startUs;
  std::vector<std::string> failures;
  const int removed = archive_.RemoveOldDays(SdsRoot(), settings_.nArchiveDays, nowUs, failures);
  if (removed > 0) {
    Say(Printf("miniSEED archive: %d day files older than %d days were removed", removed, settings_.nArchiveDays));
  }
  if (!failures.empty()) {
    Say(Printf("miniSEED archive: %zu old day files could not be removed: %s", failures.size(), failures[0].c_str()));
  }
}

void ConnectArchive(CZentrovaDoc& doc, StationArchive& archive) {
  doc.services.archiveRecord = [&archive](const std::string& path, int kind) { archive.ArchiveRecord(path, kind); };
  doc.services.endOfCycle = [&archive] { archive.EndOfCycle(); };
}

}  // namespace zentrova

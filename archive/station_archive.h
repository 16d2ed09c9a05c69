#pragma once
// The miniSEED archive in a running station: its settings (section
// "General" of Zentrova.ini), the record of each filing step handed to it,
// and the removal of old day files at the first cycle after 00:00 UTC.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/mseed_archive.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

struct ArchiveSettings {
  int bMiniSeedArchive = 0;
  std::string sNetworkCode = "XX";
  std::string sStationCode;  // empty: from the site name
  int nArchiveDays = 0;      // 0: keep every day
  double dStationLatitude = 0;
  double dStationLongitude = 0;
  double dStationElevation = 0;
};

ArchiveSettings LoadArchiveSettings(Settings& settings);
// The codes in force, and a line for each stored code not used as it stands.
ArchiveIdentity ArchiveIdentityOf(const ArchiveSettings& s, const std::string& siteName,
                                  std::vector<std::string>* notes = nullptr);

class StationArchive {
 public:
  explicit StationArchive(CZentrovaDoc& doc);
  // Said once at the start while the archive is on: the codes and the
  // folder, and the stored codes that were changed.
  std::vector<std::string> StartupNotes() const;
  // The filing step of a record that now lies at `path`.
  void ArchiveRecord(const std::string& path, int kind);
  // At the end of every cycle: the first one of a new UTC day removes the
  // day files past the days to keep.
  void EndOfCycle();
  std::string SdsRoot() const;
  bool On() const { return settings_.bMiniSeedArchive == 1; }

 private:
  void Say(const std::string& line);

  CZentrovaDoc& doc_;
  ArchiveSettings settings_;
  std::vector<std::string> notes_;
  MiniSeedArchive archive_;
  int64_t lastDayStartUs_ = INT64_MIN;
};

// Wires the archive into the document's filing step and cycle end.
void ConnectArchive(CZentrovaDoc& doc, StationArchive& archive);

}  // namespace zentrova

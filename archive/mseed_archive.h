#pragma once
// The miniSEED archive beside the hour tree: every record handed to it is
// cut into its traces, each trace at 00:00 UTC, and each part written into
// its stream's day file of the SDS layout below a folder "SDS"; the
// StationXML document there lists every channel seen.
//
// Traces: location code = the trace's position (00 to 99); a record with
// more than 100 traces has its first 100 archived and the rest left out,
// said in one line per record.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_trace.h"
#include "archive/day_file.h"
#include "archive/station_xml.h"

namespace zentrova {

struct ArchiveIdentity {
  std::string network = "XX";
  std::string station = "ZENT";
  std::string siteName;
  StationPlace place;
};

struct ArchiveResult {
  size_t written = 0;  // samples, all traces
  size_t held = 0;     // samples the archive held already
  std::vector<std::string> lines;  // for the log: failures, repairs, late records
};

class MiniSeedArchive {
 public:
  MiniSeedArchive(FileSystem& fs, ArchiveIdentity identity) : fs_(fs), id_(std::move(identity)), days_(fs) {}

  // `sdsRoot`: the folder named SDS. `name`: the record, for the log.
  ArchiveResult Archive(const std::string& sdsRoot, const ArchiveRecord& record, const std::string& name,
                        int64_t nowUs);
  // Reads a record file (kind 0 SEG-2, 16 three-component) and archives it.
  ArchiveResult ArchiveFile(const std::string& sdsRoot, const std::string& path, int kind, int64_t nowUs);

  // Removes the day files whose day ended `days` days or more before
  // `nowUs`; returns how many.
  int RemoveOldDays(const std::string& sdsRoot, int days, int64_t nowUs, std::vector<std::string>& failures);

  // The StationXML document's path: SDS/NET.STA.xml.
  std::string StationXmlPath(const std::string& sdsRoot) const;
  const ArchiveIdentity& identity() const { return id_; }

 private:
  bool UpdateStationXml(const std::string& sdsRoot, const std::vector<ChannelEntry>& seen, int64_t nowUs,
                        std::vector<std::string>& lines);

  FileSystem& fs_;
  ArchiveIdentity id_;
  DayFiles days_;
  std::string xmlRoot_;                 // the root whose document `channels_` holds
  std::vector<ChannelEntry> channels_;
};

}  // namespace zentrova

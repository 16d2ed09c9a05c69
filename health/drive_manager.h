#pragma once
// The drive manager: the table of usable drives with their free space, and
// the move of the destination folder to the next usable drive when the
// current one fills up.

#include <map>
#include <string>

#include "monitor/zentrova_doc.h"
#include "platform/volume_table.h"

namespace zentrova {

struct FreeSpace {
  double fraction = 0.0;  // free / total; 0 on failure
  double totalKB = 0.0;   // total bytes / 1000; 0 on failure
};

FreeSpace QueryFreeSpace(VolumeTable& volumes, char letter);

// Rebuilds the table from the drives C..L that exist and are not full.
int RefreshDriveTable(MonitorSettings& m, VolumeTable& volumes);

void LoadDriveSettings(CZentrovaDoc& doc);
void SaveDriveSettings(CZentrovaDoc& doc);

// The destination path moved onto drive-table entry `index`: the root of
// the drive it lies on is replaced by the entry's root. A path on none of
// the table's drives but in the "X:..." form gets its first character
// replaced by the entry's letter; any other path stays as it is.
std::string PathOnDrive(const MonitorSettings& m, const std::string& path, int index);

// The table entry whose root the path lies under (exact case), or -1.
int DriveOfPath(const MonitorSettings& m, const std::string& path);

// The drive among `roots` (all drives, full ones too) whose root the path
// lies under, the longest root winning; letter 0 when there is none.
struct DriveRoot {
  char letter = 0;
  std::string root;
};
DriveRoot RootOfPath(const std::map<char, std::string>& roots, const std::string& path);

// `path` below `fromRoot` moved to the same place below `toRoot`.
std::string MovedPath(const std::string& path, const std::string& fromRoot, const std::string& toRoot);

// At start-up: the table, the drive settings, the destination placed on
// the current drive, the settings saved.
void PlaceDestination(CZentrovaDoc& doc, VolumeTable& volumes);

// Before a record is filed: 0 nothing changed, 1 the destination moved to
// another drive, 2 no usable drive. A destination on a drive that has
// filled up completely (and so left the table) moves to the next drive
// with room.
int CheckDestinationDrive(CZentrovaDoc& doc, VolumeTable& volumes);

}  // namespace zentrova

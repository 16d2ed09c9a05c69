#include "health/no_drive_reason.h"

#include "platform/printf.h"

namespace zentrova {

std::string NoDriveReason(const MonitorSettings& m, VolumeTable& volumes) {
  const double limit = 1.0 - m.dDiskSpaceRatio;
  std::string list;
  int unreachable = 0, other = 0;
  for (const auto& [letter, root] : volumes.Roots()) {
    if (letter < 'C' || letter > 'L') continue;
    const auto space = volumes.Space(root);
    std::string why;
    if (!space) {
      why = root + " cannot be reached";
      ++unreachable;
    } else if (space->totalBytes == 0) {
      why = root + " holds no storage";
      ++unreachable;
    } else {
      const double fraction = static_cast<double>(space->freeBytes) / static_cast<double>(space->totalBytes);
      int active = 1;
      for (int i = 0; i < m.nDrives; ++i) {
        if (m.drives[i].sDriveLetter == std::string(1, letter)) active = m.drives[i].bActive;
      }
      if (space->freeBytes == 0) {
        why = "full";
      } else if (fraction <= limit) {
        why = Printf("%.1f%% free", 100.0 * fraction);
      } else if (active != 1) {
        why = "not in use";
      } else {
        continue;  // room again since the check
      }
      ++other;
    }
    list += (list.empty() ? "" : ", ") + std::string(1, letter) + ": " + why;
  }
  if (unreachable + other == 0) return "";
  if (other == 0) return "The destination folder cannot be created: " + list;
  const std::string needed = Printf("more than %.1f%% free is needed", 100.0 * limit);
  if (unreachable == 0) return "All drives are full or not in use (" + needed + "): " + list;
  return "No drive can take the destination folder (" + needed + "): " + list;
}

}  // namespace zentrova

#include "health/drive_manager.h"

#include <algorithm>

#include "platform/printf.h"

namespace zentrova {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// A root without its closing separators ("C:\" -> "C:", "/" -> "").
std::string Trimmed(std::string root) {
  while (!root.empty() && IsSeparator(root.back())) root.pop_back();
  return root;
}

bool LiesUnder(const std::string& path, const std::string& root) {
  const std::string r = Trimmed(root);
  if (root.empty() || path.compare(0, r.size(), r) != 0) return false;
  return path.size() == r.size() || IsSeparator(path[r.size()]);
}

FreeSpace SpaceAt(VolumeTable& volumes, const std::string& root) {
  const auto space = volumes.Space(root);
  if (!space || space->totalBytes == 0) return {};
  return {static_cast<double>(space->freeBytes) / static_cast<double>(space->totalBytes),
          static_cast<double>(space->totalBytes) / 1000.0};
}

}  // namespace

DriveRoot RootOfPath(const std::map<char, std::string>& roots, const std::string& path) {
  DriveRoot best;
  for (const auto& [letter, root] : roots) {
    if (LiesUnder(path, root) && (best.letter == 0 || Trimmed(root).size() > Trimmed(best.root).size())) {
      best = {letter, root};
    }
  }
  return best;
}

std::string MovedPath(const std::string& path, const std::string& fromRoot, const std::string& toRoot) {
  const std::string moved = Trimmed(toRoot) + path.substr(Trimmed(fromRoot).size());
  return moved.empty() ? toRoot : moved;
}

FreeSpace QueryFreeSpace(VolumeTable& volumes, char letter) { return SpaceAt(volumes, volumes.Root(letter)); }

int RefreshDriveTable(MonitorSettings& m, VolumeTable& volumes) {
  m.nDrives = 0;
  for (const auto& [letter, root] : volumes.Roots()) {
    if (letter < 'C' || letter > 'L') continue;
    const FreeSpace f = SpaceAt(volumes, root);
    if (f.fraction <= 0.0) continue;
    DriveEntry& e = m.drives[m.nDrives++];
    e.sDriveLetter = std::string(1, letter);
    e.dFreeFraction = f.fraction;
    e.dTotalKB = f.totalKB;
    e.sRoot = root;
  }
  return m.nDrives;
}

void LoadDriveSettings(CZentrovaDoc& doc) {
  MonitorSettings& m = doc.settingsBlock;
  doc.settings.LoadInt("bAutomaticDriveChange", m.bAutomaticDriveChange);
  doc.settings.LoadInt("iCurrentDrive", m.iCurrentDrive);
  doc.settings.LoadFloat("dDiskSpaceRatio", m.dDiskSpaceRatio);
  for (int i = 0; i < m.nDrives; ++i) doc.settings.LoadInt(Printf("bActive_%d", i), m.drives[i].bActive);
}

void SaveDriveSettings(CZentrovaDoc& doc) {
  MonitorSettings& m = doc.settingsBlock;
  doc.settings.SaveInt("bAutomaticDriveChange", m.bAutomaticDriveChange);
  doc.settings.SaveInt("iCurrentDrive", m.iCurrentDrive);
  doc.settings.SaveFloat("dDiskSpaceRatio", m.dDiskSpaceRatio);
  for (int i = 0; i < m.nDrives; ++i) doc.settings.SaveInt(Printf("bActive_%d", i), m.drives[i].bActive);
}

int DriveOfPath(const MonitorSettings& m, const std::string& path) {
  int best = -1;
  size_t bestLength = 0;
  for (int i = 0; i < m.nDrives; ++i) {
    const std::string& root = m.drives[i].sRoot;
    if (LiesUnder(path, root) && (best < 0 || Trimmed(root).size() > bestLength)) {
      best = i;
      bestLength = Trimmed(root).size();
    }
  }
  return best;
}

std::string PathOnDrive(const MonitorSettings& m, const std::string& path, int index) {
  if (index < 0 || index >= m.nDrives) return path;
  const DriveEntry& target = m.drives[index];
  const int from = DriveOfPath(m, path);
  if (from >= 0) return MovedPath(path, m.drives[from].sRoot, target.sRoot);
  if (path.size() >= 2 && path[1] == ':' && !target.sDriveLetter.empty()) {
    return target.sDriveLetter.substr(0, 1) + path.substr(1);
  }
  return path;
}

void PlaceDestination(CZentrovaDoc& doc, VolumeTable& volumes) {
  MonitorSettings& m = doc.settingsBlock;
  RefreshDriveTable(m, volumes);
  m.nNoDriveWarnings = 0;
  LoadDriveSettings(doc);
  // With no usable drive at all, the path and the stored choice stay as
  // they are (the drives may be back at the next start).
  if (m.nDrives == 0) return;
  m.iCurrentDrive = std::max(0, std::min(m.iCurrentDrive, m.nDrives - 1));
  m.strDestinationFolder = PathOnDrive(m, m.strDestinationFolder, m.iCurrentDrive);
  SaveDriveSettings(doc);
}

int CheckDestinationDrive(CZentrovaDoc& doc, VolumeTable& volumes) {
  MonitorSettings& m = doc.settingsBlock;
  RefreshDriveTable(m, volumes);
  if (m.nDrives == 0) return 2;
  const double limit = 1.0 - m.dDiskSpaceRatio;
  // The drive the destination lies on, looked for among all the drives there
  // are: a full one has dropped out of the table and must be left, not
  // mistaken for whichever drive now holds its position.
  const DriveRoot on = RootOfPath(volumes.Roots(), m.strDestinationFolder);
  int here = -1;
  for (int i = 0; on.letter != 0 && i < m.nDrives; ++i) {
    if (m.drives[i].sDriveLetter[0] == on.letter) here = i;
  }
  int candidate = here;
  if (here >= 0) {
    if (m.drives[here].dFreeFraction > limit) return 0;
  } else if (on.letter != 0) {
    // Full or out of reach: the first drive after it in letter order is
    // tried first (the table is in letter order), wrapping round.
    candidate = -1;
    for (int i = 0; i < m.nDrives; ++i) {
      if (m.drives[i].sDriveLetter[0] > on.letter) {
        candidate = i - 1;
        break;
      }
    }
  } else {
    // A path on none of the drives: the stored current drive stands for it.
    candidate = std::max(0, std::min(m.iCurrentDrive, m.nDrives - 1));
    if (m.drives[candidate].dFreeFraction > limit) return 0;
  }
  for (int tried = 0; tried < m.nDrives; ++tried) {
    candidate = (candidate + 1) % m.nDrives;
    DriveEntry& e = m.drives[candidate];
    // Each candidate is asked afresh: space may have been freed meanwhile.
    e.dFreeFraction = SpaceAt(volumes, e.sRoot).fraction;
    if (e.bActive == 1 && e.dFreeFraction > limit) {
      m.strDestinationFolder = here < 0 && on.letter != 0 ? MovedPath(m.strDestinationFolder, on.root, e.sRoot)
                                                          : PathOnDrive(m, m.strDestinationFolder, candidate);
      m.iCurrentDrive = candidate;
      SaveDriveSettings(doc);
      return 1;
    }
  }
  return 2;
}

}  // namespace zentrova

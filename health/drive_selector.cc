#include "health/drive_selector.h"

#include <cmath>

#include "platform/printf.h"

namespace zentrova {

CDlgDriveSelector::CDlgDriveSelector(CZentrovaDoc& doc, VolumeTable& volumes) : doc_(doc) {
  MonitorSettings& m = doc.settingsBlock;
  int drives = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(doc.mutex);
    RefreshDriveTable(m, volumes);
    drives = m.nDrives;
  }
  // A message box on the window's thread: the monitor goes on meanwhile.
  doc.platform.prompt.Show(Printf("Number of drive=%d", drives));
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  const int current = DriveOfPath(m, m.strDestinationFolder);
  if (current >= 0) m.iCurrentDrive = current;
  bAutomaticDriveChange = m.bAutomaticDriveChange;
  sRatioPercent = Printf("%g", m.dDiskSpaceRatio * 100.0);
  iCurrentDrive = m.iCurrentDrive;
  for (int i = 0; i < m.nDrives; ++i) {
    const DriveEntry& e = m.drives[i];
    rows.push_back({e.bActive, e.sDriveLetter, Printf("%.1f", 100.0 - 100.0 * e.dFreeFraction),
                    Printf("%.1f", 100.0 * e.dFreeFraction), Printf("%.2f", e.dTotalKB * 1000.0 / 1e9)});
  }
}

CDlgDriveSelector::Outcome CDlgDriveSelector::OnOK() {
  double percent = 0.0;
  if (!ParseStoredFloat(sRatioPercent, percent) || !std::isfinite(percent)) return {false, "Enter a number."};
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  MonitorSettings& m = doc_.settingsBlock;
  for (int i = 0; i < m.nDrives && i < static_cast<int>(rows.size()); ++i) m.drives[i].bActive = rows[i].bActive;
  m.bAutomaticDriveChange = bAutomaticDriveChange;
  m.iCurrentDrive = iCurrentDrive;
  m.dDiskSpaceRatio = percent / 100.0;
  m.strDestinationFolder = PathOnDrive(m, m.strDestinationFolder, m.iCurrentDrive);
  doc_.settings.SaveText("ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH", m.strDestinationFolder);
  SaveDriveSettings(doc_);
  doc_.activityLog.Add("Destination folder path is " + m.strDestinationFolder);
  doc_.activityLog.SetLogFileNames(doc_.platform.clock.Now(), m.strDestinationFolder);
  return {true, ""};
}

void OnDriveSelector(CZentrovaDoc& doc, VolumeTable& volumes, const std::function<bool(CDlgDriveSelector&)>& edit) {
  CDlgDriveSelector dialog(doc, volumes);
  if (edit) edit(dialog);
}

}  // namespace zentrova

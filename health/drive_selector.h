#pragma once
// "Drive selector": the drive table as the dialog shows it, and what "OK"
// applies.

#include <functional>
#include <string>
#include <vector>

#include "health/drive_manager.h"

namespace zentrova {

class CDlgDriveSelector {
 public:
  struct Row {
    int bActive = 1;
    std::string sLetter;
    std::string sUsed;       // "%.1f" percent used
    std::string sAvailable;  // "%.1f" percent free
    std::string sTotalGB;    // "%.2f"
  };
  struct Outcome {
    bool accepted = false;
    std::string prompt;  // "Enter a number."
  };

  // Refreshes the table, shows "Number of drive=%d", and fills the fields.
  CDlgDriveSelector(CZentrovaDoc& doc, VolumeTable& volumes);
  // Validates the ratio and applies everything (settings, destination path,
  // log line, log file names).
  Outcome OnOK();

  int bAutomaticDriveChange = 1;
  std::string sRatioPercent;  // up to 6 significant digits, e.g. "90"
  int iCurrentDrive = 0;      // the radio group
  std::vector<Row> rows;      // one per drive of the table (the rest are hidden)

 private:
  CZentrovaDoc& doc_;
};

// The command: the dialog, edited by `edit`, which returns true when it was
// closed by an accepted "OK".
void OnDriveSelector(CZentrovaDoc& doc, VolumeTable& volumes, const std::function<bool(CDlgDriveSelector&)>& edit);

}  // namespace zentrova

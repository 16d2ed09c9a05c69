#pragma once
// The eight status buttons of the control panel: for each slot its control,
// whether it is on, and its caption.

#include <string>

namespace zentrova {

class CZentrovaDoc;
class CZentrovaControlForm;

inline constexpr int kStatusSlots = 8;

struct StatusFace {
  int control = 0;   // the button's control number
  bool on = false;   // painted RGB(0, 255, 0) when on, RGB(255, 0, 0) when off
  std::string caption;
};

// Slot 0 "Monitor" ... slot 7 "Upload"; read under the document's lock.
StatusFace StatusFaceOf(int slot, CZentrovaDoc& doc, const CZentrovaControlForm& form);

// The command a button runs: "Monitor" runs Stop while monitoring, else Start.
int StatusButtonCommand(int slot, const CZentrovaControlForm& form);

// The order in which the start-up paints them.
inline constexpr int kStartupPaintOrder[kStatusSlots] = {0, 1, 2, 3, 4, 5, 7, 6};

}  // namespace zentrova

#pragma once
// The "Event detection parameters" dialog without a window: the fields as
// the dialog shows them, their validation, and what "OK" applies. The GUI
// only draws it.

#include <string>

#include "monitor/zentrova_doc.h"

namespace zentrova {

class CDlgEventDetectionParameters {
 public:
  enum Field { kNone = 0, kMinimumChannels = 1695, kTimeWindow1 = 1696, kTimeWindow2 = 1697, kRmsRatio = 1085 };

  struct Outcome {
    bool accepted = false;
    std::string prompt;  // "Enter an integer." or "Enter a number."
    Field field = kNone; // the field to focus
  };

  // Loads the stored values (every time the dialog opens).
  explicit CDlgEventDetectionParameters(CZentrovaDoc& doc);

  // "OK": validates the fields; when one does not read as a number, the
  // outcome names it and nothing changes. Otherwise applies, saves, and
  // switches detection on for this run.
  Outcome OnOK();

  // The fields, as shown.
  int nMethod = 1;  // the radio buttons: 0 OR, 1 AND
  std::string sChannelOr;
  std::string sChannelAnd;
  std::string sMinimumChannels;
  std::string sTimeWindow1;
  std::string sTimeWindow2;
  std::string sRmsRatio;

  // A float as the dialog shows it: up to 6 significant digits.
  static std::string ShowFloat(float v);

 private:
  CZentrovaDoc& doc_;
};

}  // namespace zentrova

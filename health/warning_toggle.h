#pragma once
// "Send warning": the absence time, the battery thresholds and the battery
// check timer, switched on and off together.

#include <functional>
#include <optional>
#include <string>

#include "monitor/control_form.h"

namespace zentrova {

// "Battery voltage warning": the two thresholds in volts, as shown.
class CDlgBatteryWarning {
 public:
  enum Field { kNone = 0, kWarning = 1022, kShutdown = 1023 };
  struct Outcome {
    bool accepted = false;
    std::string prompt;  // "Enter a number."
    Field field = kNone;
  };
  explicit CDlgBatteryWarning(CZentrovaDoc& doc);
  // Validates both fields; stores both thresholds when they read as numbers.
  Outcome OnOK();

  static constexpr const char* kWarningLabel = "Send warning (default=11.0V)";
  static constexpr const char* kShutdownLabel = "Shutdown PC (default=10.5V)";
  std::string sWarning;
  std::string sShutdown;

 private:
  CZentrovaDoc& doc_;
};

struct WarningDialogs {
  // The integer dialog: text, unit and value; nothing for "Cancel".
  std::function<std::optional<int>(const std::string& text, const std::string& unit, int value)> integer;
  // Returns true when the dialog was closed by an accepted "OK".
  std::function<bool(CDlgBatteryWarning&)> thresholds;
};

void ToggleWarning(CZentrovaDoc& doc, CZentrovaControlForm& form, const WarningDialogs& dialogs);

}  // namespace zentrova

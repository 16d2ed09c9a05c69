#pragma once
// The mode of the profile picture and its three menu commands: the mode is
// the stored "iViewMode" of section "General", read when the view is made
// (a value outside 0 .. 2 is taken as 0) and stored at once by every
// command. The active mode's entry shows the check mark and is disabled.

#include <string>

#include "monitor/settings.h"

namespace zentrova {

inline constexpr int kMaxAmplitudeCommand = 32802;
inline constexpr int kPhaseVelocityCommand = 32803;
inline constexpr int kShearVelocityCommand = 32804;
inline constexpr const char* kViewModeKey = "iViewMode";

// "Distance (m)", "Frequency (Hz)", "Depth (m)"; empty outside 0 .. 2.
std::string ProfileVerticalTitle(int mode);
// "Max. amplitude", "Phase velocity", "S-wave velocity profile".
std::string ProfileModeMenuText(int mode);
// 32802 .. 32804 for modes 0 .. 2; 0 otherwise.
int ProfileModeCommand(int mode);
// The mode of a command, -1 for another command.
int ProfileCommandMode(int id);
// A stored mode restricted to 0 .. 2 (anything else is 0).
int RestrictViewMode(int mode);

class ProfileViewMode {
 public:
  // Reads the stored mode.
  explicit ProfileViewMode(Settings& settings);

  bool HandlesCommand(int id) const { return ProfileCommandMode(id) >= 0; }
  bool CommandEnabled(int id) const { return HandlesCommand(id) && ProfileCommandMode(id) != iViewMode; }
  bool CommandChecked(int id) const { return ProfileCommandMode(id) == iViewMode; }
  // Sets the command's mode and stores it; false for a command that is not
  // one of the three (nothing changes then).
  bool RunCommand(int id);
  std::string VerticalTitle() const { return ProfileVerticalTitle(iViewMode); }

  int iViewMode = 0;

 private:
  Settings& settings_;
};

}  // namespace zentrova

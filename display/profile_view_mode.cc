#include "display/profile_view_mode.h"

namespace zentrova {

std::string ProfileVerticalTitle(int mode) {
  switch (mode) {
    case 0: return "Distance (m)";
    case 1: return "Frequency (Hz)";
    case 2: return "Depth (m)";
    default: return "";
  }
}

std::string ProfileModeMenuText(int mode) {
  switch (mode) {
    case 0: return "Max. amplitude";
    case 1: return "Phase velocity";
    case 2: return "S-wave velocity profile";
    default: return "";
  }
}

int ProfileModeCommand(int mode) { return mode >= 0 && mode <= 2 ? kMaxAmplitudeCommand + mode : 0; }

int ProfileCommandMode(int id) { return id >= kMaxAmplitudeCommand && id <= kShearVelocityCommand ? id - kMaxAmplitudeCommand : -1; }

int RestrictViewMode(int mode) { return mode >= 0 && mode <= 2 ? mode : 0; }

ProfileViewMode::ProfileViewMode(Settings& settings) : settings_(settings) {
  int stored = 0;
  settings_.LoadInt(kViewModeKey, stored);
  iViewMode = RestrictViewMode(stored);
}

bool ProfileViewMode::RunCommand(int id) {
  const int mode = ProfileCommandMode(id);
  if (mode < 0) return false;
  iViewMode = mode;
  settings_.SaveInt(kViewModeKey, iViewMode);
  return true;
}

}  // namespace zentrova

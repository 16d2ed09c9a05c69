#pragma once
// The plots' text scale from the stored setting "fTextScale".

#include "monitor/settings.h"

namespace zentrova {

// Reads "fTextScale" of section "General" (1.0 when it is missing) and makes
// it the scale of every plot's text.
void UseStoredTextScale(Settings& settings);

}  // namespace zentrova

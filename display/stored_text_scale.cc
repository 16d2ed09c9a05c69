#include "display/stored_text_scale.h"

#include "display/text_scale.h"

namespace zentrova {

void UseStoredTextScale(Settings& settings) {
  float s = 1.0f;
  settings.LoadFloat(kTextScaleKey, s);
  SetTextScale(s);
}

}  // namespace zentrova

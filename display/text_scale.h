#pragma once
// The factor by which the plots' font heights are multiplied. On this
// platform it is the setting "fTextScale" of section "General" (1.0 by
// default, 1.5 for screens that need larger letters), set once at start.

namespace zentrova {

float GetTextScale();
// Takes values from 0.5 to 3; anything else leaves the factor at 1.0.
void SetTextScale(float s);

inline constexpr const char* kTextScaleKey = "fTextScale";

}  // namespace zentrova

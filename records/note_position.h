#pragma once
// A position written into the NOTE of a SEG-2 file by the acquisition
// controller: up to two latitude/longitude groups in fixed columns after
// "NOTE", hemisphere letter, degrees, minutes and seconds.

#include <string_view>

namespace zentrova {

// 1 with the position stored (the second group when both are there), 0
// when the text holds no usable position.
int ParseNotePosition(std::string_view text, float& latitude, float& longitude);

}  // namespace zentrova

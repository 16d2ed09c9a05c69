#pragma once
// The event image: the waveform picture of the current record, with the
// detector's markers, as a 666 x 333 PNG file that the event e-mail carries.

#include <string>

#include "display/drawing_surface.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

inline constexpr int kEventImageWidth = 666;
inline constexpr int kEventImageHeight = 333;
inline constexpr PageSize kEventImageArea{1333, 666};

// Draws the record into "<baseFolder>/EventImage/Waveform_<imageNumber>.png"
// (the folder made when missing) and returns that path. The file gets at
// most the permission bits `mode`, and replaces an older picture of its name
// in one step. When it cannot be written, no picture of that name is left
// (an older one would show another record) and the path is returned all the
// same. When "EventImage" is a symbolic link nothing is written through it
// and the result is empty.
std::string WriteEventImage(CZentrovaDoc& doc, const std::string& baseFolder, int imageNumber, int mode = 0666);

// Has the detection draw its event images into the destination folder.
void ConnectEventImage(CZentrovaDoc& doc);

}  // namespace zentrova

#pragma once
// The event image: the waveform picture of the current record, with the
// detector's markers and a caption naming the site, the record's time and
// the first onset, as a 666 x 333 PNG file that the event e-mail carries.

#include <string>

#include "display/drawing_surface.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

inline constexpr int kEventImageWidth = 666;
inline constexpr int kEventImageHeight = 333;
inline constexpr PageSize kEventImageArea{1333, 666};

// The picture's name, as the record is filed: "Waveform_" and the filed
// name's time, site and file number, with ".png" for ".dat"
// (Waveform_20200315_080405.123_SITE_1234.png).
std::string EventImageName(const CZentrovaDoc& doc, RecordMoment moment, int imageNumber);
// The caption: the site as entered, the record's date and time and its
// file name ("SITE 2020/03/15 08:04:05.123 1234.sg2").
std::string EventImageCaption(const CZentrovaDoc& doc, RecordMoment moment);
// The caption's second line: the first event's onset and time, and how
// many events there are when more than one ("Onset = 1.001 s (event time
// 0.503 s), the first of 2 events"); empty without events.
std::string EventImageOnsetCaption(const CZentrovaDoc& doc);

// Draws the record into "<baseFolder>/EventImage" (the folder made when
// missing) under EventImageName for the record's naming moment and returns
// its path. A name that another picture already holds is never replaced:
// the picture takes the first free numbered name ("-2", "-3", ...), as a
// filed record does. The file gets at most the permission bits `mode`.
// When it cannot be written nothing is left of it, and the path returned
// is the free name it would have had (nothing is there). When "EventImage"
// is a symbolic link nothing is written through it and the result is empty.
std::string WriteEventImage(CZentrovaDoc& doc, const std::string& baseFolder, int imageNumber, int mode = 0666);

// Has the detection draw its event images into the destination folder.
void ConnectEventImage(CZentrovaDoc& doc);

}  // namespace zentrova

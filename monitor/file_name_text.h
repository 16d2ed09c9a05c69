#pragma once
// Texts entered by the operator (the site name) as a part of a file name:
// a path separator or another character that cannot stand in a file name on
// the station's disks or on a FAT stick becomes '_'. The text itself stays
// as entered wherever it is shown or sent.

#include <string>

namespace zentrova {

std::string FileNameText(const std::string& text);

}  // namespace zentrova

#pragma once
// zentrova-seg2 dispersion FILE... [--json] [--files DIR]
//
// The dispersion image, picks and S-wave model of each record with the
// stored settings (read, never written); with several records, the shots
// of one line, also their combined curve. Writes no file unless --files
// names a folder for the analysis' text files.

#include <string>
#include <vector>

#include "platform/file_system.h"

#include "surfacewave/dispersion_settings.h"

namespace zentrova {

// A message on one line: control characters (a line feed in a file name)
// are shown as '?'.
std::string OneLine(std::string text);

// The stored settings made sound as the station makes them; each value
// that is not used as it stands is said on standard error.
DispersionSettings StoredDispersionSettings(FileSystem& fs);

// args[0] is "dispersion". Returns 0 when every record was analysed, 1 when
// one could not be (its reason in one line on standard error), 2 for a
// usage error (the reason; the caller adds the usage).
int DispersionCommand(FileSystem& fs, const std::vector<std::string>& args, std::string& usageError);

}  // namespace zentrova

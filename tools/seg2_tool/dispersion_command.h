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

namespace zentrova {

// args[0] is "dispersion". Returns 0 when every record was analysed, 1 when
// one could not be (its reason in one line on standard error), 2 for a
// usage error (the reason; the caller adds the usage).
int DispersionCommand(FileSystem& fs, const std::vector<std::string>& args, std::string& usageError);

}  // namespace zentrova

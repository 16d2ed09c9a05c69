#pragma once
// Joins cut off by a kill or a power loss. A join writes its joined record
// as NAME.partial into the concatenation day folder and renames it when
// whole, so a ".partial" left there at start-up is an hour whose join never
// ended. Its name begins with the time of the hour's first record joined,
// which gives the hour folder the records were filed in.

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

struct InterruptedJoin {
  std::string partial;       // the file left
  std::string hourFolder;    // the records it was joining
  std::string concatFolder;  // where the join writes
};

// The ".partial" files in the concatenation tree below `destination`
// ("WaveformFiles_concatenated/YYYY/YYYYMM/YYYYMMDD") whose hour folder
// ("WaveformFiles/YYYY/YYYYMM/YYYYMMDD/YYYYMMDDHH") is there.
std::vector<InterruptedJoin> FindInterruptedJoins(FileSystem& fs, const std::string& destination);

}  // namespace zentrova

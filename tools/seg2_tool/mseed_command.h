#pragma once
// zentrova-seg2 mseed FILE|FOLDER... --sds DIR [--network XX] [--station CODE]:
// the records already on disk (a folder is walked, a whole WaveformFiles
// tree too) into the miniSEED archive DIR/SDS as the station writes it.
// Samples the archive holds already are not written again.

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

// 0 when every record was archived, 1 when one could not be, 2 for a usage
// error (`why` says which).
int MseedCommand(FileSystem& fs, const std::vector<std::string>& args, std::string& why);

}  // namespace zentrova

#pragma once
// The settings of a station run in a test: watched and destination folders
// inside `dir`, site "SITE", filing into the hour tree, the shortest cycle
// interval, and the test's own lines after them.

#include <filesystem>
#include <string>

#include "testing/temp_folder.h"

namespace zentrova::testing {

inline void WriteStationConfig(const TempFolder& dir, const std::string& extra) {
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nsMyName=SITE\nbMoveToFolder=1\niInterval=0\n" + extra);
}

}  // namespace zentrova::testing

#pragma once
// Small helpers of the station's tests: a configuration folder, the
// simulator, and waiting on what a station child process prints or files.

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/child_process.h"
#include "testing/temp_folder.h"

namespace zentrova::testing {

inline const std::string kStationProgram = ZENTROVA_STATION;
inline const std::string kTcProgram = ZENTROVA_TC;

inline std::vector<std::string> RegularFilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (auto& e : std::filesystem::recursive_directory_iterator(folder, ec)) {
    if (e.is_regular_file()) files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// cfg/Zentrova.ini for a station watching dir/watched, filing into dir/dest
// with the 0.5 s timer.
inline void WriteStationConfig(const TempFolder& dir, const std::string& extra = "") {
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nsMyName=SITE\nbMoveToFolder=1\niInterval=0\n" + extra);
}

// The simulator writes `count` small records into folder as fast as it can.
inline ProcessResult WriteRecords(const std::string& folder, int count, int firstNumber = 1000) {
  std::filesystem::create_directories(folder);
  return RunProcess({kTcProgram, "--out", folder, "--count", std::to_string(count), "--interval-ms", "0", "--chunks",
                     "1", "--chunk-pause-ms", "0", "--traces", "2", "--samples", "100", "--first-number",
                     std::to_string(firstNumber), "--start-time", "2020-03-15 08:10:00"});
}

// Waits up to timeoutMs for the text in the file; the milliseconds waited, or -1.
inline int WaitForText(const TempFolder& dir, const std::string& file, const std::string& text, int timeoutMs) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const int waited = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    if (dir.Read(file).find(text) != std::string::npos) return waited;
    if (waited > timeoutMs) return -1;
    ::usleep(20000);
  }
}

}  // namespace zentrova::testing

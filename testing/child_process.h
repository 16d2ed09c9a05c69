#pragma once
// Runs a program as a real child process and collects what it printed.

#include <string>
#include <vector>

namespace zentrova::testing {

struct ProcessResult {
  int exitCode = -1;  // -1 when it could not start or died by a signal
  std::string out;
  std::string err;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingFolder = "");

}  // namespace zentrova::testing

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

namespace zentrova::testing {

// A program running beside the test; its output goes to a file.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::vector<std::string>& argv, const std::string& outputFile);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;
  bool started() const { return pid_ > 0; }
  int pid() const { return pid_; }
  void Signal(int signal);
  // Waits at most timeoutMs for the end; true when it ended (Wait() then
  // gives its exit code).
  bool EndsWithin(int timeoutMs);
  // Waits for the end; returns the exit code (-1 for a signal or no process).
  int Wait();

 private:
  int pid_ = -1;
  int exitCode_ = -1;
};

}  // namespace zentrova::testing

#pragma once
// Starting other programs: an argument vector, never a shell, so a path with
// blanks, quotes or ';' arrives as one argument.

#include <string>
#include <vector>

namespace zentrova {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the program without waiting for it; true when it was created.
  virtual bool Start(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

class PosixLauncher : public ProcessLauncher {
 public:
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override;
};

class RecordingLauncher : public ProcessLauncher {
 public:
  struct Call {
    std::string program;
    std::vector<std::string> arguments;
  };
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    calls.push_back({program, arguments});
    return succeed;
  }
  std::vector<Call> calls;
  bool succeed = true;
};

}  // namespace zentrova

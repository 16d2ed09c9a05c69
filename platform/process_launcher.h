#pragma once
// Starting other programs: an argument vector, never a shell, so a path with
// blanks, quotes or ';' arrives as one argument.

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace zentrova {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the program without waiting for it; true when it was created.
  virtual bool Start(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // Starts the program and waits for it to end, at most `timeoutMs` (then
  // it is killed); its exit code, or -1 when it did not start, died by a
  // signal, ran out of time or was given up. Once `stopWaiting` is set the
  // program is ended and the wait ends at once (-1). Unless it exited 0,
  // `why` receives the last line the program wrote to its standard error,
  // or why it did not start or end.
  virtual int Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                  const std::atomic<bool>& stopWaiting, std::string& why) = 0;
  // True when the program exists and may be run by this user.
  virtual bool CanStart(const std::string& program) = 0;
};

class PosixLauncher : public ProcessLauncher {
 public:
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override;
  int Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
          const std::atomic<bool>& stopWaiting, std::string& why) override;
  bool CanStart(const std::string& program) override;
};

class RecordingLauncher : public ProcessLauncher {
 public:
  struct Call {
    std::string program;
    std::vector<std::string> arguments;
  };
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    std::lock_guard<std::mutex> lock(mutex);
    calls.push_back({program, arguments});
    return succeed;
  }
  int Run(const std::string& program, const std::vector<std::string>& arguments, int, const std::atomic<bool>&,
          std::string& why) override {
    if (Start(program, arguments)) return 0;
    why = "cannot start " + program;
    return -1;
  }
  bool CanStart(const std::string&) override { return succeed; }
  std::mutex mutex;
  std::vector<Call> calls;
  bool succeed = true;
};

}  // namespace zentrova

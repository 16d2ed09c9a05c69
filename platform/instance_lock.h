#pragma once
// One station per configuration folder. Two programs on one folder (the
// service and a desktop program started by hand) would both file every
// record and each take the other's files for damaged ones. The first to
// start holds an exclusive lock on the folder itself and names its process
// in "Zentrova.lock" there; a second finds the lock taken and ends. The lock goes
// with the process however it ends (a kill, a crash), and no program the
// station starts inherits it.

#include <memory>
#include <string>

namespace zentrova {

class InstanceLock {
 public:
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  struct Attempt {
    std::unique_ptr<InstanceLock> lock;  // set when this process holds the folder
    bool heldByAnother = false;          // another process holds it
    long holderPid = 0;                  // that process, as its lock file names it (0: unknown)
    std::string problem;                 // why no lock could be had otherwise (a read-only folder)
  };
  static Attempt Take(const std::string& folder);
  static constexpr const char* kFileName = "Zentrova.lock";

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_;
};

// The one line a second instance ends with.
std::string AnotherInstanceLine(const std::string& program, const std::string& folder, long pid);

}  // namespace zentrova

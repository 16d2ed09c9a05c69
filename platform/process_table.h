#pragma once
// The running processes, each by the base name of its program file.

#include <optional>
#include <string>
#include <vector>

namespace zentrova {

class ProcessTable {
 public:
  virtual ~ProcessTable() = default;
  // One name per process ("<unknown>" where it cannot be read); nothing
  // when the list itself cannot be had.
  virtual std::optional<std::vector<std::string>> ProgramNames() = 0;
};

// /proc/<pid>/exe, else /proc/<pid>/comm (other users' programs), else
// "<unknown>". Every process is looked at, however many there are.
class LinuxProcessTable : public ProcessTable {
 public:
  std::optional<std::vector<std::string>> ProgramNames() override;
};

class FixedProcessTable : public ProcessTable {
 public:
  std::optional<std::vector<std::string>> ProgramNames() override { return names; }
  std::optional<std::vector<std::string>> names = std::vector<std::string>{};
};

}  // namespace zentrova

#pragma once
// What whoever runs a monitor cycle offers it: a stop that the cycle obeys
// between two files and during its pauses, and a call for every file it
// handles (the watchdog counts that as progress).

#include <cstdint>
#include <functional>

namespace zentrova {

struct CycleControl {
  std::function<bool()> stopRequested;
  std::function<void()> progress;

  bool Stopped() const { return stopRequested && stopRequested(); }
};

// The number of a monitor cycle, given when it begins; 0 is no cycle.
using CycleId = uint64_t;

// One step of a cycle run in slices: the cycle is finished, or it asks for
// a pause of pauseMs before its next step (the pause before a file it will
// read). handledFile: this step read one file.
struct CycleStep {
  bool finished = false;
  int pauseMs = 0;
  bool handledFile = false;
};

}  // namespace zentrova

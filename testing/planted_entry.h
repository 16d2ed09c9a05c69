#pragma once
// What another user of a shared folder may leave at the name of a file the
// station writes: a symbolic link to somebody's private file, or a FIFO
// (with or without a reader holding it open). After the writer has run,
// the private file must be as it was, the FIFO still a FIFO, and the
// writer must have come back at once.

#include <functional>
#include <string>
#include <vector>

namespace zentrova::testing {

enum class Planted { kLinkToPrivateFile, kFifo, kFifoWithReader };

// The cases every writer is tried with, for a test's table.
inline constexpr Planted kPlantedKinds[] = {Planted::kLinkToPrivateFile, Planted::kFifo, Planted::kFifoWithReader};

const char* PlantedName(Planted kind);

class PlantedEntry {
 public:
  // Plants `kind` at `path`; a link points at a private file beside it.
  PlantedEntry(const std::string& path, Planted kind);
  ~PlantedEntry();
  PlantedEntry(const PlantedEntry&) = delete;
  PlantedEntry& operator=(const PlantedEntry&) = delete;

  // Runs the writer; false when it had not come back after `seconds`
  // (a writer blocked in the open of the FIFO is then freed, so the test
  // ends either way).
  bool ReturnsPromptly(const std::function<void()>& writer, int seconds = 5);
  // The link's target holds what it held; the FIFO is a FIFO.
  bool Untouched() const;
  // What was written into the FIFO while a reader held it (nothing, for a
  // sound writer).
  std::string ReadFromFifo();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string privateFile_;
  Planted kind_;
  int reader_ = -1;
};

// The same for a writer that may meet several planted entries: every FIFO
// among them is freed when it has not come back in time.
bool ReturnsPromptly(const std::function<void()>& writer, const std::vector<const PlantedEntry*>& planted,
                     int seconds = 5);

}  // namespace zentrova::testing

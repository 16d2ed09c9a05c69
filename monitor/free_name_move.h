#pragma once
// Moving a record into a folder under a given name, or, when another file
// already has that name, under the first free name with "-2", "-3", ...
// put before the extension (20200315_080405.123_S1_77-2.dat, 1234-2.sg2).
// A record is never left behind because its name is taken.

#include <string>

#include "platform/file_system.h"

namespace zentrova {

struct Placement {
  Status status;       // ok when moved (or copied, see sourceRemains)
  std::string target;  // where it went (or was meant to go)
  bool renamed = false;
  // Copied whole to target, but the source could not be removed (a
  // read-only folder): the record is at both places.
  bool sourceRemains = false;
};

// The name with the suffix "-n" before its extension (n >= 2).
std::string NumberedName(const std::string& name, int n);

Placement MoveUnderFreeName(FileSystem& fs, const std::string& from, const std::string& folder,
                            const std::string& name);

// The path MoveUnderFreeName would move to now: the first of the name and
// its numbered names that nothing in `folder` holds.
std::string FirstFreePath(FileSystem& fs, const std::string& folder, const std::string& name);

// Where an earlier move that could not remove its source put the same
// record: the name or one of its numbered names in `folder`, holding the
// same bytes. Empty when there is none.
std::string EarlierCopy(FileSystem& fs, const std::string& from, const std::string& folder, const std::string& name);

}  // namespace zentrova

#pragma once
// What the station keeps from one run to the next, beside its settings in
// the configuration folder ("ZentrovaState.ini", section "Run"): the time
// of the newest record it has taken in (filed, or read where records stay
// in the watched folder), in milliseconds since 1970, and whether the run
// before ended with its closing steps. At the next start, a record in the
// watched folder newer than that arrived while the station was down: it is
// a new record, not one left from an earlier deployment.
//
// Written when a cycle has taken records and at the end of the run; a value
// that did not change does not rewrite the file.

#include <cstdint>
#include <optional>

#include "platform/key_value_store.h"

namespace zentrova {

class RunState {
 public:
  // Without a store (tests of other things, tools) nothing is kept.
  void Attach(KeyValueStore* store);
  bool attached() const { return store_ != nullptr; }

  // The newest record taken, by this run or the ones before: nothing at a
  // first start.
  std::optional<int64_t> LastRecordMs() const { return newest_ ? newest_ : began_; }
  bool EndedCleanlyBefore() const { return endedCleanly_; }

  // Whether the store held a time it could not read.
  bool Damaged() const { return damaged_; }
  // Monitoring began at `nowMs`: until Ended, a crash or kill leaves "not
  // cleanly". A station that has taken no record yet keeps the moment it
  // first began: records after it are new at the next start even when the
  // first run took none.
  void Began(int64_t nowMs);
  void Took(int64_t recordMs);
  void Save();
  void Ended();

  static constexpr const char* kFileName = "ZentrovaState.ini";
  static constexpr const char* kSection = "Run";

 private:
  KeyValueStore* store_ = nullptr;
  std::optional<int64_t> newest_;
  std::optional<int64_t> began_;  // when a station that took no record yet first began
  bool endedCleanly_ = true;
  bool dirty_ = false;
  bool damaged_ = false;
};

}  // namespace zentrova

#pragma once
// A settings store seen through the range table: every read of a numeric
// setting gives a sound value (see setting_ranges.h); writes go through
// unchanged. The stored values that had to be replaced are listed once,
// when the store is set up, so that the station can say so at its start.

#include <string>
#include <vector>

#include "monitor/setting_ranges.h"
#include "platform/key_value_store.h"

namespace zentrova {

class RangedStore : public KeyValueStore {
 public:
  // `name` begins every note (the file the values come from).
  RangedStore(KeyValueStore& inner, const std::vector<SettingRange>& ranges, const std::string& name);
  std::optional<std::string> Get(const std::string& key) override;
  bool Set(const std::string& key, const std::string& value) override { return inner_.Set(key, value); }
  bool SetAll(const Entries& entries) override { return inner_.SetAll(entries); }
  // One line per stored value that is not used as it stands.
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  KeyValueStore& inner_;
  const std::vector<SettingRange>& ranges_;
  std::vector<std::string> notes_;
};

}  // namespace zentrova

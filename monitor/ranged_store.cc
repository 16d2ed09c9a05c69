#include "monitor/ranged_store.h"

namespace zentrova {

RangedStore::RangedStore(KeyValueStore& inner, const std::vector<SettingRange>& ranges, const std::string& name)
    : inner_(inner), ranges_(ranges) {
  for (const SettingRange& range : ranges_) {
    if (auto stored = inner_.Get(range.key)) {
      SoundValue sound = MakeSound(range, *stored);
      if (!sound.note.empty()) notes_.push_back(name + ": " + sound.note);
    }
  }
}

std::optional<std::string> RangedStore::Get(const std::string& key) {
  std::optional<std::string> stored = inner_.Get(key);
  if (!stored) return stored;
  const SettingRange* range = FindSettingRange(ranges_, key);
  return range ? MakeSound(*range, *stored).text : *stored;
}

}  // namespace zentrova

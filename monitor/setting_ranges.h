#pragma once
// The sound values of every numeric setting: flags 0 or 1, counts and
// intervals within limits that keep the station working. A stored value
// outside its range is replaced by the nearest sound one (a number by the
// nearest end of the range, or rounded to a whole number where one is
// needed; a text that is no number by the default), and the station says
// so once at its start.

#include <string>
#include <vector>

namespace zentrova {

enum class SettingKind { Flag, Integer, Float };

struct SettingRange {
  std::string key;
  SettingKind kind;
  double lowest;
  double highest;
  double fallback;  // the built-in default
};

// Zentrova.ini, section [General].
const std::vector<SettingRange>& ProfileSettingRanges();
// product.ini, the values shared with the e-mail program and the detector.
const std::vector<SettingRange>& ProductSettingRanges();

const SettingRange* FindSettingRange(const std::vector<SettingRange>& ranges, const std::string& key);

struct SoundValue {
  std::string text;  // the value in force, as the station would store it
  std::string note;  // empty when the stored text was sound
};

// The value in force for `stored`. An empty text stays empty: it counts as
// not set.
SoundValue MakeSound(const SettingRange& range, const std::string& stored);

}  // namespace zentrova

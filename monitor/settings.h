#pragma once
// Reading and writing settings in the two stores. Every Load passes the
// current value as the default: a missing or unreadable value leaves it as
// it was. Integers are stored as "%d" texts, floats as "%f" texts.

#include <string>

#include "platform/key_value_store.h"

namespace zentrova {

class Settings {
 public:
  Settings(KeyValueStore& profile, KeyValueStore& product) : profile_(profile), product_(product) {}

  void LoadInt(const std::string& key, int& value);
  void SaveInt(const std::string& key, int value);
  void LoadFloat(const std::string& key, float& value);
  void LoadFloat(const std::string& key, double& value);
  void SaveFloat(const std::string& key, double value);
  void LoadText(const std::string& key, std::string& text);
  void SaveText(const std::string& key, const std::string& text);
  // Values formatted as the Save calls do, stored in one write of the file.
  void SaveAll(const KeyValueStore::Entries& entries);
  static std::string IntText(int value) { return std::to_string(value); }

  bool ReadProductInt(int& value, const std::string& name);
  bool ReadProductFloat(double& value, const std::string& name);
  bool ReadProductText(const std::string& name, std::string& text);
  void WriteProductInt(const std::string& name, int value);
  void WriteProductFloat(const std::string& name, double value);
  void WriteProductText(const std::string& name, const std::string& text);

 private:
  KeyValueStore& profile_;
  KeyValueStore& product_;
};

// "%d" and "%f" scans of a stored text: leading blanks, then a number;
// nothing when none follows.
bool ParseStoredInt(const std::string& text, int& value);
bool ParseStoredFloat(const std::string& text, double& value);
std::string FormatStoredFloat(double value);

}  // namespace zentrova

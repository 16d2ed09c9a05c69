#include "monitor/settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace zentrova {

bool ParseStoredInt(const std::string& text, int& value) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || errno == ERANGE || v > std::numeric_limits<int>::max() ||
      v < std::numeric_limits<int>::min()) {
    return false;
  }
  value = static_cast<int>(v);
  return true;
}

bool ParseStoredFloat(const std::string& text, double& value) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

std::string FormatStoredFloat(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%f", value);
  return buf;
}

void Settings::LoadInt(const std::string& key, int& value) {
  if (auto text = profile_.Get(key)) ParseStoredInt(*text, value);
}

void Settings::SaveInt(const std::string& key, int value) { profile_.Set(key, std::to_string(value)); }

void Settings::LoadFloat(const std::string& key, double& value) {
  if (auto text = profile_.Get(key)) ParseStoredFloat(*text, value);
}

void Settings::LoadFloat(const std::string& key, float& value) {
  double v = value;
  LoadFloat(key, v);
  if (std::fabs(v) <= std::numeric_limits<float>::max()) value = static_cast<float>(v);
}

void Settings::SaveFloat(const std::string& key, double value) { profile_.Set(key, FormatStoredFloat(value)); }

void Settings::LoadText(const std::string& key, std::string& text) {
  if (auto stored = profile_.Get(key)) text = *stored;
}

void Settings::SaveText(const std::string& key, const std::string& text) { profile_.Set(key, text); }

void Settings::SaveAll(const KeyValueStore::Entries& entries) { profile_.SetAll(entries); }

bool Settings::ReadProductInt(int& value, const std::string& name) {
  auto text = product_.Get(name);
  return text && !text->empty() && ParseStoredInt(*text, value);
}

bool Settings::ReadProductFloat(double& value, const std::string& name) {
  auto text = product_.Get(name);
  return text && !text->empty() && ParseStoredFloat(*text, value);
}

bool Settings::ReadProductText(const std::string& name, std::string& text) {
  auto stored = product_.Get(name);
  if (!stored || stored->empty()) return false;
  text = *stored;
  return true;
}

void Settings::WriteProductInt(const std::string& name, int value) { product_.Set(name, std::to_string(value)); }

void Settings::WriteProductFloat(const std::string& name, double value) {
  product_.Set(name, FormatStoredFloat(value));
}

void Settings::WriteProductText(const std::string& name, const std::string& text) { product_.Set(name, text); }

}  // namespace zentrova

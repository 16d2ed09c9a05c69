#pragma once
// A small JSON reader for tests: reference readings of the shared records
// and the output of our own tools.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zentrova::testing {

class Json {
 public:
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };

  // Throws std::runtime_error on malformed text.
  static Json Parse(const std::string& text);

  Type type() const { return type_; }
  bool isNull() const { return type_ == Type::kNull; }
  double number() const;
  const std::string& string() const;
  bool boolean() const;
  const std::vector<Json>& array() const;
  bool has(const std::string& key) const;
  const Json& operator[](const std::string& key) const;
  const Json& operator[](size_t index) const { return array().at(index); }
  size_t size() const;

 private:
  friend class JsonParser;
  Type type_ = Type::kNull;
  bool bool_ = false;
  double number_ = 0.0;
  std::string string_;
  std::vector<Json> array_;
  std::map<std::string, Json> object_;
};

}  // namespace zentrova::testing

#include "testing/json.h"

#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace zentrova::testing {

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : s_(text) {}

  Json Document() {
    Json v = Value();
    Blanks();
    if (i_ != s_.size()) Fail("trailing text");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error("JSON: " + what + " at " + std::to_string(i_));
  }
  void Blanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
  }
  bool Take(char c) {
    Blanks();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected '") + c + "'");
  }
  bool Word(const char* w) {
    size_t n = std::char_traits<char>::length(w);
    if (s_.compare(i_, n, w) != 0) return false;
    i_ += n;
    return true;
  }

  Json Value() {
    Blanks();
    if (i_ >= s_.size()) Fail("unexpected end");
    Json v;
    char c = s_[i_];
    if (c == '{') {
      ++i_;
      v.type_ = Json::Type::kObject;
      if (Take('}')) return v;
      do {
        Blanks();
        std::string key = String();
        Expect(':');
        v.object_[key] = Value();
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      ++i_;
      v.type_ = Json::Type::kArray;
      if (Take(']')) return v;
      do {
        v.array_.push_back(Value());
      } while (Take(','));
      Expect(']');
    } else if (c == '"') {
      v.type_ = Json::Type::kString;
      v.string_ = String();
    } else if (Word("true")) {
      v.type_ = Json::Type::kBool;
      v.bool_ = true;
    } else if (Word("false")) {
      v.type_ = Json::Type::kBool;
    } else if (Word("null")) {
    } else if (Word("NaN")) {
      v.type_ = Json::Type::kNumber;
      v.number_ = std::numeric_limits<double>::quiet_NaN();
    } else {
      char* end = nullptr;
      v.number_ = std::strtod(s_.c_str() + i_, &end);
      if (end == s_.c_str() + i_) Fail("bad value");
      i_ = static_cast<size_t>(end - s_.c_str());
      v.type_ = Json::Type::kNumber;
    }
    return v;
  }

  std::string String() {
    if (i_ >= s_.size() || s_[i_] != '"') Fail("expected a string");
    ++i_;
    std::string out;
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (i_ >= s_.size()) Fail("bad escape");
      char e = s_[i_++];
      switch (e) {
        case 'n': out.push_back('\n'); break;
        case 't': out.push_back('\t'); break;
        case 'r': out.push_back('\r'); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'u': {
          unsigned code = static_cast<unsigned>(std::stoul(s_.substr(i_, 4), nullptr, 16));
          i_ += 4;
          if (code < 0x80) {
            out.push_back(static_cast<char>(code));
          } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
          } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
          }
          break;
        }
        default: out.push_back(e);
      }
    }
    if (i_ >= s_.size()) Fail("unterminated string");
    ++i_;
    return out;
  }

  const std::string& s_;
  size_t i_ = 0;
};

Json Json::Parse(const std::string& text) { return JsonParser(text).Document(); }

double Json::number() const {
  if (type_ != Type::kNumber) throw std::runtime_error("JSON: not a number");
  return number_;
}
const std::string& Json::string() const {
  if (type_ != Type::kString) throw std::runtime_error("JSON: not a string");
  return string_;
}
bool Json::boolean() const { return bool_; }
const std::vector<Json>& Json::array() const {
  if (type_ != Type::kArray) throw std::runtime_error("JSON: not an array");
  return array_;
}
bool Json::has(const std::string& key) const { return object_.count(key) > 0; }
const Json& Json::operator[](const std::string& key) const {
  auto it = object_.find(key);
  if (it == object_.end()) throw std::runtime_error("JSON: no key " + key);
  return it->second;
}
size_t Json::size() const { return type_ == Type::kArray ? array_.size() : object_.size(); }

}  // namespace zentrova::testing

#pragma once
// Numbers and texts as the station's programs write them in JSON.

#include <string>

namespace zentrova {

// "%.9g"; null for a value that is not finite.
std::string JsonNumber(double v);
// A quoted string with quotes, backslashes and control characters escaped.
std::string JsonText(const std::string& s);
inline std::string JsonFlag(bool b) { return b ? "true" : "false"; }

}  // namespace zentrova

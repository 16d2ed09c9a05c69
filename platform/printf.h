#pragma once
// printf-style formatting into a std::string, with the compiler checking
// the arguments against the format.

#include <string>

namespace zentrova {

[[gnu::format(printf, 1, 2)]] std::string Printf(const char* format, ...);

}  // namespace zentrova

#pragma once
// Numbers given as text by an operator (arguments, settings): the whole
// text is the number, blanks around it allowed, nothing else. "2s", "abc",
// "nan" and "" are not numbers.

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

std::optional<int64_t> WholeInteger(const std::string& text);
// Finite values only.
std::optional<double> WholeNumber(const std::string& text);

}  // namespace zentrova

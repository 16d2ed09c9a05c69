#pragma once
// The running number of a filed record: the digits after the last "_" of
// its name (20200315_080405.123_S1_1234.dat gives 1234).

#include <optional>
#include <string>

namespace zentrova {

// From the first decimal digit after the last "_", the run of digits; nothing
// when there is none or it does not fit an int.
std::optional<int> RunningNumber(const std::string& name);

}  // namespace zentrova

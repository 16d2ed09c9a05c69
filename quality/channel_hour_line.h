#pragma once
// One channel's hour as a line of the channel file: the hour (seconds
// since 1970), the channel, then the figures; the amplitude fields are
// empty where no samples were read. A later line for the same hour and
// channel (a late record reopened the hour) replaces an earlier one.

#include <optional>
#include <string>

#include "quality/channel_hours.h"

namespace zentrova {

extern const char* const kChannelHourHeader;
std::string ChannelHourLine(const HourFigures& f);
std::optional<HourFigures> ParseChannelHourLine(const std::string& line);

}  // namespace zentrova

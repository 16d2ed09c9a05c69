#pragma once
// Channel lists as the operator writes them: "0-9, 15, 20" is channels 0
// through 9, 15 and 20.

#include <string>
#include <vector>

namespace zentrova {

// Items separated by ","; an item is a number or a range "a-b" (either
// order, counted upward). Pieces are read up to 29 characters; unreadable
// pieces are skipped; order and duplicates are kept. At most largestCount
// numbers are returned, so a huge range or thousands of pieces cost no more
// than that.
std::vector<int> ParseChannelList(const std::string& text, int largestCount);

// The canonical text: runs of consecutive numbers as "a-b", single numbers
// as they are, joined by "," without spaces.
std::string FormatChannelList(const std::vector<int>& channels);

}  // namespace zentrova

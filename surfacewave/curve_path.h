#pragma once
// The path of a dispersion curve through the rows' offers: of each row's
// members the one that keeps the curve smoothest over all rows while
// keeping to the rows' largest values, found by dynamic programming.
//
// From one row to the next a change costs its size in alias periods of the
// later row plus the relative change of the family's resolved member (the
// change of the logarithm of its slowness: aliases of one family move
// together), each counted up to one; leaving a row's largest value for a
// smaller peak costs in proportion to how much smaller it is. A curve that
// truly jumps (a higher mode taking over for good) pays once; a path that
// slides from alias to alias pays at every row, as the periods shrink with
// frequency; and one row where another peak comes out a little higher
// cannot pull the curve away for that row alone.

#include <vector>

#include "surfacewave/row_pick.h"

namespace zentrova {

// Per row the index of the member taken, -1 for rows without members.
std::vector<int> ChooseCurvePath(const std::vector<RowOffer>& rows);

}  // namespace zentrova

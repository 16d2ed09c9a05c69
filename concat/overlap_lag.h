#pragma once
// Where the next record's beginning best matches the previous record's end.

#include <cstddef>

namespace zentrova {

// For every lag i from n/2 down to -n/2 + 1: the RMS of prev[i + j] - cur[j]
// over the j with 0 <= i + j < n, the sum of squares divided by n. The
// smallest wins; on equal values the lag found first (the larger) stays; the
// starting best is 1e16, so n < 2 gives 0.
//
// The sums come from one cross-correlation (FFT) and running sums of
// squares; every lag within rounding distance of the best is then measured
// with the formula itself, so the lag chosen is the formula's.
int BestOverlapLag(int n, const float* prev, const float* cur);

// The formula as written: O(n^2).
double OverlapRms(int n, const float* prev, const float* cur, int lag);
int BestOverlapLagDirect(int n, const float* prev, const float* cur);

}  // namespace zentrova

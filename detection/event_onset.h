#pragma once
// Where an event begins. The detector's event time is its test sample k,
// the boundary between W1 and W2 at the first sample whose ratio exceeds:
// the energy that made it exceed is somewhere in W2, up to L2 samples
// later. The onset is sought there, on each channel that triggered at k.

#include <cstdint>

namespace zentrova {

// The onset on one channel's samples `x`, triggered at k with windows of
// L1 and L2 samples (k >= L1, k + L2 within the samples). The background b
// is the mean square of W1. Over W2 the sum C(j) of (x[i]^2 - v) for i from
// k to j - 1, with a level v = b min(4, (1 + ratio^2) / 2) above the
// background and below the trigger's threshold ratio^2 b, falls while the
// samples stay at the background and climbs once the event's energy
// arrives: the onset is the j of the lowest C (the first of equal lows),
// where the energy leaves the background for good. A sharp arrival is found
// within a sample or two; an emergent one where its amplitude reaches about
// twice the background's RMS. k when W1 is silent (b = 0: no trigger).
int64_t ChannelOnset(const float* x, int64_t k, int64_t L1, int64_t L2, double ratio);

}  // namespace zentrova

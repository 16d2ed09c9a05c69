#pragma once
// Samples as the detector takes them in: one that is no number (NaN,
// infinite: a recorder's or a converter's fault) counts as 0, so that it
// costs only the windows that hold it.

#include <cstddef>
#include <vector>

namespace zentrova {

// Whether any of the n samples is no number or larger in size than
// `largest` (a finite, positive float).
bool AnyBeyond(const float* x, size_t n, float largest);

// The n samples with every one that is no number made 0.
std::vector<float> FiniteCopy(const float* x, size_t n);

}  // namespace zentrova

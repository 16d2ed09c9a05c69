#pragma once
// A Butterworth band-pass for the detector's traces (four poles): a
// second-order high-pass at the low corner followed by a second-order
// low-pass at the high corner, each one section from the bilinear transform
// with the corner frequency prewarped, so that the digital response is
// exactly -3 dB at each corner and falls by 12 dB an octave beyond.
//
// The filter runs forward in time only (causal): an arrival's energy is
// never moved before the arrival, so an event cannot appear to begin before
// its first sample and the quiet window before it stays quiet; the price is
// a small delay of the filtered arrival (a few samples in the pass band).

#include <cstddef>
#include <vector>

namespace zentrova {

struct Biquad {
  double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;  // a0 = 1
};

// The corners a record sampled at sampleRateHz is filtered with: a corner
// at or below 0, or at or above the Nyquist frequency (no frequency of the
// record lies there), is left out and given as 0.
struct BandPassCorners {
  double lowHz = 0.0;   // 0: no high-pass
  double highHz = 0.0;  // 0: no low-pass
  bool operator==(const BandPassCorners&) const = default;
};
BandPassCorners CornersInForce(double lowHz, double highHz, double sampleRateHz);

// The sections of the corners in force (a low corner of 0 gives a plain
// low-pass); none left gives no sections.
std::vector<Biquad> DesignBandPass(double lowHz, double highHz, double sampleRateHz);

// The samples through the sections, in double precision (a sample that is
// no number counts as 0; an output beyond the range of a float is given as
// the largest float of its sign). The filter starts
// at rest on the level of the first sample, as if that level had always
// been there, so a constant offset does not ring at the start of the trace.
// With no sections the samples are returned as they are.
std::vector<float> FilterSamples(const std::vector<Biquad>& sections, const float* x, size_t n);

// The same for several traces of n samples each, filtered two side by side
// (the two traces' chains overlap in the processor, which one trace's chain,
// each sample waiting on the one before, cannot).
std::vector<std::vector<float>> FilterTraces(const std::vector<Biquad>& sections, const std::vector<const float*>& x,
                                             size_t n);

}  // namespace zentrova

#pragma once
// The inversion's random numbers: the standard 64-bit Mersenne Twister
// (its sequence is fixed by the language standard) turned into uniform and
// normal variates by formulas of our own, so that one seed gives the same
// search with every compiler and library.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace zentrova {

class SearchRandom {
 public:
  explicit SearchRandom(uint64_t seed) : engine_(seed) {}

  // Uniform in [0, 1).
  double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

  // Standard normal (Box-Muller).
  double Normal() {
    const double u = 1.0 - Uniform();  // (0, 1]
    const double v = Uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace zentrova

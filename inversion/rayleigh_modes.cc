#include "inversion/rayleigh_modes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "inversion/rayleigh_secular.h"

namespace zentrova {
namespace {

constexpr double kLowestStart = 0.8;
constexpr double kFinestStep = 1e-4;

// Whether the function changes sign from a to b: b is a zero, or they
// have opposite signs (a zero at a was the previous step's).
bool Opposite(double a, double b) { return b == 0.0 || (a < 0.0 && b > 0.0) || (a > 0.0 && b < 0.0); }

// The zero of f between lo and hi (f changes sign there): regula falsi
// with the Illinois halving, bisection when it stalls.
double Refine(const RayleighSecular& f, double omega, double lo, double flo, double hi, double fhi, double tolerance) {
  if (flo == 0.0) return lo;
  if (fhi == 0.0) return hi;
  int side = 0;
  for (int i = 0; i < 100 && hi - lo > tolerance * hi; ++i) {
    double c = (lo * fhi - hi * flo) / (fhi - flo);
    if (!(c > lo && c < hi)) c = 0.5 * (lo + hi);
    const double fc = f(omega, c);
    if (fc == 0.0) return c;
    if ((flo < 0.0) != (fc < 0.0)) {
      hi = c;
      fhi = fc;
      if (side == -1) flo *= 0.5;
      side = -1;
    } else {
      lo = c;
      flo = fc;
      if (side == 1) fhi *= 0.5;
      side = 1;
    }
  }
  return 0.5 * (lo + hi);
}

struct Sample {
  double c = 0.0, f = 0.0;
};

bool SameSign(double a, double b) { return (a < 0.0) == (b < 0.0) && a != 0.0 && b != 0.0; }

// The search along the velocities at one frequency: steps up, and where
// |f| dips between three tries of one sign, looks into the dip for a pair
// of zeros too close together for the steps.
class Scanner {
 public:
  Scanner(const RayleighSecular& f, double omega, double start, double end, const ModeSearch& search)
      : f_(f), omega_(omega), end_(end), search_(search), current_{start, f(omega, start)} {}

  // The next zero above the last one; 0 when there is none below the end.
  double NextZero() {
    while (current_.c < end_) {
      Sample next = TakeNext();
      if (Opposite(current_.f, next.f)) return Step(next, Refine(f_, omega_, current_.c, current_.f, next.c, next.f, search_.tolerance));
      Sample inside;
      if (hasOlder_ && SameSign(older_.f, current_.f) && SameSign(current_.f, next.f) &&
          std::fabs(current_.f) < std::fabs(older_.f) && std::fabs(current_.f) < std::fabs(next.f) &&
          SignChangeInDip(older_, current_, next, inside)) {
        // Two zeros around `inside`: the first between it and its lower
        // neighbour, the second above it.
        if (inside.c < current_.c) {
          pending_.push_back(next);
          pending_.push_back(current_);
          current_ = older_;
        } else {
          pending_.push_back(next);
        }
        return Step(inside, Refine(f_, omega_, current_.c, current_.f, inside.c, inside.f, search_.tolerance));
      }
      Step(next, 0.0);
    }
    return 0.0;
  }

 private:
  double Step(Sample next, double root) {
    older_ = current_;
    hasOlder_ = true;
    current_ = next;
    return root;
  }

  Sample TakeNext() {
    if (!pending_.empty()) {
      const Sample s = pending_.back();
      pending_.pop_back();
      return s;
    }
    const double c = NextVelocity(current_.c);
    return {c, f_(omega_, c)};
  }

  // The velocity after c: the step's ratio, halved until the vertical
  // phase grows by at most the search's phase step.
  double NextVelocity(double c) const {
    const double phase = f_.VerticalPhase(omega_, c);
    double ratio = search_.step;
    double next = std::min(c * (1.0 + ratio), end_);
    while (ratio > kFinestStep && f_.VerticalPhase(omega_, next) - phase > search_.phaseStep) {
      ratio *= 0.5;
      next = std::min(c * (1.0 + ratio), end_);
    }
    return next;
  }

  // Golden-section search for the least |f| between a and b (mid lower
  // than both): true, with the sample, as soon as a try has the other sign.
  bool SignChangeInDip(Sample a, Sample mid, Sample b, Sample& other) const {
    constexpr double kGolden = 0.3819660112501051;
    for (int i = 0; i < kDipTries && b.c - a.c > 1e-7 * b.c; ++i) {
      const bool right = b.c - mid.c > mid.c - a.c;
      const double c = right ? mid.c + kGolden * (b.c - mid.c) : mid.c - kGolden * (mid.c - a.c);
      const Sample t{c, f_(omega_, c)};
      if (!SameSign(t.f, mid.f)) {
        other = t;
        return true;
      }
      if (std::fabs(t.f) < std::fabs(mid.f)) {
        (right ? a : b) = mid;
        mid = t;
      } else {
        (right ? b : a) = t;
      }
    }
    return false;
  }

  static constexpr int kDipTries = 40;
  const RayleighSecular& f_;
  double omega_, end_;
  ModeSearch search_;
  Sample current_, older_;
  bool hasOlder_ = false;
  std::vector<Sample> pending_;  // tries already made above current_, the lowest last
};

}  // namespace

std::vector<RayleighModes> RayleighPhaseVelocities(const LayeredModel& model, const std::vector<double>& frequencies,
                                                   const ModeSearch& search) {
  std::vector<RayleighModes> out(frequencies.size());
  const RayleighSecular f(model);
  ModeSearch sound = search;
  sound.step = std::clamp(search.step, kFinestStep, 0.1);
  sound.phaseStep = std::clamp(search.phaseStep, 0.01, 1.0);
  sound.tolerance = std::clamp(search.tolerance, 1e-12, 1e-3);
  const double start = kLowestStart * f.lowestVs();
  const double end = f.halfSpaceVs() * (1.0 - 1e-9);
  for (size_t i = 0; i < frequencies.size(); ++i) {
    const double hz = frequencies[i];
    if (!std::isfinite(hz) || hz <= 0.0) continue;
    const double omega = 2.0 * std::numbers::pi * hz;
    Scanner scan(f, omega, start, end, sound);
    out[i].fundamental = scan.NextZero();
    if (search.higherMode && out[i].fundamental > 0.0) out[i].first = scan.NextZero();
  }
  return out;
}

}  // namespace zentrova

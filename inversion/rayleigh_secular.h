#pragma once
// The Rayleigh-wave dispersion function of flat elastic layers over a
// half-space, by the fast delta-matrix recursion of Buchen & Ben-Hador
// (1996, Geophys. J. Int. 124, 869-887, "Free-mode surface-wave
// computations"): a five-term vector carried from the free surface down
// through each layer's interface, in real arithmetic for phase velocities
// below the half-space's S velocity. Its zeros in phase velocity at a
// frequency are the Rayleigh modes.
//
// Each layer's step is scaled by the growth of its evanescent terms (a
// positive factor, so the zeros and signs stay), and the vector by its
// largest term, so thick layers and high frequencies neither overflow nor
// lose the small terms.

#include <vector>

#include "inversion/layered_model.h"

namespace zentrova {

class RayleighSecular {
 public:
  // `model` must pass CheckModel.
  explicit RayleighSecular(const LayeredModel& model);

  // The dispersion function at angular frequency `omega` (rad/s) and phase
  // velocity `c` (m/s, 0 < c < the half-space's S velocity), up to a
  // positive factor.
  double operator()(double omega, double c) const;

  // The vertical phase of the waves that travel through the layers rather
  // than decay, Σ ω h (sqrt(1/vs² - 1/c²) + sqrt(1/vp² - 1/c²)) over the
  // terms that are real: the modes lie about π apart in it, so it sets how
  // finely a search must step.
  double VerticalPhase(double omega, double c) const;

  double halfSpaceVs() const { return halfSpaceVs_; }
  double lowestVs() const { return lowestVs_; }

 private:
  struct Interface {
    double thickness;
    double vp2, vs2;      // the layer's squared velocities
    double vsBelow2;      // squared S velocity of the layer below
    double densityRatio;  // density below over the layer's
  };
  std::vector<Interface> layers_;
  double topVs2_ = 0.0;
  double halfSpaceVp2_ = 0.0, halfSpaceVs2_ = 0.0;
  double halfSpaceVs_ = 0.0, lowestVs_ = 0.0;
};

}  // namespace zentrova

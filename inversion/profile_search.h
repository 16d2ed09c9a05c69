#pragma once
// The global search over the layered models of a curve's bounds: a
// bounded Monte Carlo with local refinement, from a fixed seed.
//
// First 30 % of the budget is drawn uniformly across the bounds. The next
// 40 % are neighbours of the 20 best so far (the better ones chosen more
// often): every value moved, with probability one third (at least one),
// by a normal step of 20 % of its bound, shrinking steadily to 2 %,
// reflected into the bound. The last 30 % refine by damped least squares
// (least_squares_polish.h), in equal shares, from the two best models and
// from the best uniform draws that lie apart from them (other basins of
// the misfit). Every model tried is kept with its misfit.

#include <cstdint>
#include <functional>
#include <vector>

#include "inversion/observed_curve.h"
#include "inversion/profile_parameters.h"

namespace zentrova {

struct SearchedModel {
  ProfilePoint point;
  double misfit = 0.0;
};

struct SearchOutcome {
  std::vector<SearchedModel> models;  // in the order they were tried
  bool stopped = false;               // `keepGoing` ended the search early
};

// `models` forward models at most (at least 1); `keepGoing`, when set, is
// asked before each one and ends the search when it answers false.
SearchOutcome SearchProfiles(const ProfileBounds& bounds, const ObservedCurve& curve, int models, uint64_t seed,
                             const std::function<bool()>& keepGoing);

}  // namespace zentrova

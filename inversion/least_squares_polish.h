#pragma once
// Local refinement of a point of the unit cube by damped least squares
// (Levenberg-Marquardt): residuals r(x), their Jacobian by forward
// differences, the step solving (JᵀJ + λ diag JᵀJ) δ = -Jᵀ r, kept inside
// the cube; λ shrinks after a step that lowers Σ r² and grows after one
// that does not.

#include <functional>
#include <vector>

namespace zentrova {

struct PolishBudget {
  int evaluations = 0;  // calls of the residuals at most
  std::function<bool()> keepGoing;  // asked before each call
};

// `residuals` gives the same number of values for every point (an empty
// result counts as infinitely bad). Calls `seen` with every point tried and
// its root mean square residual. Returns the best point found.
std::vector<double> PolishLeastSquares(const std::function<std::vector<double>(const std::vector<double>&)>& residuals,
                                       std::vector<double> start, const PolishBudget& budget,
                                       const std::function<void(const std::vector<double>&, double)>& seen);

// x of A x = b for a small symmetric positive system, by Gaussian
// elimination with partial pivoting; empty when A is singular.
std::vector<double> SolveSmall(std::vector<std::vector<double>> a, std::vector<double> b);

}  // namespace zentrova

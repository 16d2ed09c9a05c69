#include "inversion/least_squares_polish.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zentrova {
namespace {

constexpr double kDifference = 1e-4;

double Rms(const std::vector<double>& r) {
  if (r.empty()) return std::numeric_limits<double>::infinity();
  double sum = 0.0;
  for (double v : r) sum += v * v;
  return std::sqrt(sum / static_cast<double>(r.size()));
}

}  // namespace

std::vector<double> SolveSmall(std::vector<std::vector<double>> a, std::vector<double> b) {
  const size_t n = b.size();
  for (size_t col = 0; col < n; ++col) {
    size_t pivot = col;
    for (size_t row = col + 1; row < n; ++row) {
      if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
    }
    if (!(std::fabs(a[pivot][col]) > 1e-300)) return {};
    std::swap(a[pivot], a[col]);
    std::swap(b[pivot], b[col]);
    for (size_t row = col + 1; row < n; ++row) {
      const double factor = a[row][col] / a[col][col];
      for (size_t k = col; k < n; ++k) a[row][k] -= factor * a[col][k];
      b[row] -= factor * b[col];
    }
  }
  std::vector<double> x(n);
  for (size_t i = n; i-- > 0;) {
    double sum = b[i];
    for (size_t k = i + 1; k < n; ++k) sum -= a[i][k] * x[k];
    x[i] = sum / a[i][i];
  }
  return x;
}

std::vector<double> PolishLeastSquares(const std::function<std::vector<double>(const std::vector<double>&)>& residuals,
                                       std::vector<double> start, const PolishBudget& budget,
                                       const std::function<void(const std::vector<double>&, double)>& seen) {
  int left = budget.evaluations;
  auto evaluate = [&](const std::vector<double>& x, std::vector<double>& r) {
    if (left <= 0 || (budget.keepGoing && !budget.keepGoing())) return false;
    --left;
    r = residuals(x);
    seen(x, Rms(r));
    return true;
  };
  std::vector<double> x = std::move(start), r;
  if (!evaluate(x, r) || r.empty()) return x;
  const size_t n = x.size(), m = r.size();
  double cost = Rms(r), lambda = 1e-2;
  while (left > static_cast<int>(n) && lambda < 1e8) {
    // The Jacobian, stepping inwards at the cube's faces.
    std::vector<std::vector<double>> jt(n, std::vector<double>(m));
    for (size_t i = 0; i < n; ++i) {
      std::vector<double> xi = x, ri;
      const double h = x[i] + kDifference <= 1.0 ? kDifference : -kDifference;
      xi[i] += h;
      if (!evaluate(xi, ri)) return x;
      if (ri.size() != m) return x;
      for (size_t j = 0; j < m; ++j) jt[i][j] = (ri[j] - r[j]) / h;
    }
    std::vector<std::vector<double>> normal(n, std::vector<double>(n, 0.0));
    std::vector<double> gradient(n, 0.0);
    for (size_t i = 0; i < n; ++i) {
      for (size_t j = 0; j < m; ++j) gradient[i] -= jt[i][j] * r[j];
      for (size_t k = 0; k <= i; ++k) {
        double sum = 0.0;
        for (size_t j = 0; j < m; ++j) sum += jt[i][j] * jt[k][j];
        normal[i][k] = normal[k][i] = sum;
      }
    }
    bool improved = false;
    while (!improved && lambda < 1e8 && left > 0) {
      std::vector<std::vector<double>> damped = normal;
      for (size_t i = 0; i < n; ++i) damped[i][i] += lambda * std::max(normal[i][i], 1e-12);
      const std::vector<double> step = SolveSmall(damped, gradient);
      if (step.empty()) {
        lambda *= 10.0;
        continue;
      }
      std::vector<double> trial = x, rt;
      for (size_t i = 0; i < n; ++i) trial[i] = std::clamp(trial[i] + step[i], 0.0, 1.0);
      if (!evaluate(trial, rt)) return x;
      const double trialCost = Rms(rt);
      if (rt.size() == m && trialCost < cost) {
        x = std::move(trial);
        r = std::move(rt);
        cost = trialCost;
        lambda = std::max(1e-7, lambda * 0.3);
        improved = true;
      } else {
        lambda *= 10.0;
      }
    }
  }
  return x;
}

}  // namespace zentrova

#include "inversion/rayleigh_secular.h"

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

// cosh(k r h), r sinh(k r h) and sinh(k r h) / r of one wave type in one
// layer, with r = sqrt(1 - c²/v²) (imaginary above v, where they turn into
// cos, -|r| sin and sin / |r|), each times `scale`, exp(-k r h) where they
// grow and 1 where they oscillate.
struct WaveTerms {
  double cosh = 1.0, rSinh = 0.0, sinhOverR = 0.0;
  double scale = 1.0;
};

WaveTerms Terms(double ratio2, double kh) {
  // ratio2 = c² / v²
  WaveTerms t;
  if (ratio2 < 1.0) {
    const double r = std::sqrt(1.0 - ratio2);
    const double x = kh * r;
    const double e = std::exp(-2.0 * x);
    // sinh(x) exp(-x), without the loss of 1 - e for small x
    const double halfSinh = x > 1e-3 ? 0.5 * (1.0 - e) : -0.5 * std::expm1(-2.0 * x);
    t.cosh = 0.5 * (1.0 + e);
    t.rSinh = r * halfSinh;
    t.sinhOverR = x > 1e-12 ? halfSinh / r : kh;
    t.scale = std::sqrt(e);
  } else if (ratio2 > 1.0) {
    const double r = std::sqrt(ratio2 - 1.0);
    const double x = kh * r;
    const double s = std::sin(x);
    t.cosh = std::cos(x);
    t.rSinh = -r * s;
    t.sinhOverR = x > 1e-12 ? s / r : kh;
  } else {
    t.sinhOverR = kh;
  }
  return t;
}

}  // namespace

RayleighSecular::RayleighSecular(const LayeredModel& model) {
  lowestVs_ = model.front().vs;
  for (size_t i = 0; i + 1 < model.size(); ++i) {
    const ElasticLayer& l = model[i];
    const ElasticLayer& below = model[i + 1];
    layers_.push_back({l.thickness, l.vp * l.vp, l.vs * l.vs, below.vs * below.vs, below.density / l.density});
    lowestVs_ = std::min(lowestVs_, below.vs);
  }
  topVs2_ = model.front().vs * model.front().vs;
  halfSpaceVp2_ = model.back().vp * model.back().vp;
  halfSpaceVs2_ = model.back().vs * model.back().vs;
  halfSpaceVs_ = model.back().vs;
}

double RayleighSecular::operator()(double omega, double c) const {
  const double c2 = c * c;
  const double k = omega / c;
  // The free surface: (2t, -t², 0, 0, -4) with t = 2 - c²/vs² of the top layer.
  const double t = 2.0 - c2 / topVs2_;
  double x1 = 2.0 * t, x2 = -t * t, x3 = 0.0, x4 = 0.0, x5 = -4.0;
  for (const Interface& l : layers_) {
    const double eps = l.densityRatio;
    const double eta = 2.0 * (l.vs2 / c2 - eps * l.vsBelow2 / c2);
    const double a = eps + eta, ak = a - 1.0;
    const double b = 1.0 - eta, bk = b - 1.0;
    const WaveTerms p = Terms(c2 / l.vp2, k * l.thickness);
    const WaveTerms s = Terms(c2 / l.vs2, k * l.thickness);

    const double p1 = s.cosh * x2 + s.rSinh * x3;
    const double p2 = s.cosh * x4 + s.rSinh * x5;
    const double p3 = s.sinhOverR * x2 + s.cosh * x3;
    const double p4 = s.sinhOverR * x4 + s.cosh * x5;

    const double q1 = p.cosh * p1 - p.rSinh * p2;
    const double q2 = -p.sinhOverR * p3 + p.cosh * p4;
    const double q3 = p.cosh * p3 - p.rSinh * p4;
    const double q4 = -p.sinhOverR * p1 + p.cosh * p2;

    // x1 does not pass through the layer's terms: it takes their scale.
    const double x1s = x1 * (p.scale * s.scale);
    const double y1 = ak * x1s + a * q1;
    const double y2 = a * x1s + ak * q2;
    const double z1 = b * x1s + bk * q1;
    const double z2 = bk * x1s + b * q2;

    x1 = bk * y1 + b * y2;
    x2 = a * y1 + ak * y2;
    x3 = eps * q3;
    x4 = eps * q4;
    x5 = bk * z1 + b * z2;

    const double largest = std::max({std::fabs(x1), std::fabs(x2), std::fabs(x3), std::fabs(x4), std::fabs(x5)});
    if (largest > 0.0 && std::isfinite(largest)) {
      const double scale = 1.0 / largest;
      x1 *= scale;
      x2 *= scale;
      x3 *= scale;
      x4 *= scale;
      x5 *= scale;
    }
  }
  const double r = std::sqrt(std::max(0.0, 1.0 - c2 / halfSpaceVp2_));
  const double s = std::sqrt(std::max(0.0, 1.0 - c2 / halfSpaceVs2_));
  return x2 + s * x3 - r * (x4 + s * x5);
}

double RayleighSecular::VerticalPhase(double omega, double c) const {
  const double slowness2 = 1.0 / (c * c);
  double phase = 0.0;
  for (const Interface& l : layers_) {
    phase += l.thickness * (std::sqrt(std::max(0.0, 1.0 / l.vs2 - slowness2)) +
                            std::sqrt(std::max(0.0, 1.0 / l.vp2 - slowness2)));
  }
  return omega * phase;
}

}  // namespace zentrova

#include "tools/seg2_tool/line_curve.h"

#include <algorithm>

namespace zentrova {

ObservedCurve CurveOfShot(const DispersionCurve& curve) {
  ObservedCurve out;
  for (const CurvePoint& p : curve) {
    if (!p.resolved) continue;
    out.push_back({p.frequency, p.velocity, kShotSigma * p.velocity});
  }
  return out;
}

ObservedCurve CurveOfLine(const std::vector<CombinedPoint>& combined) {
  ObservedCurve out;
  for (const CombinedPoint& p : combined) {
    out.push_back({p.frequency, p.velocity, std::max(p.std, kCombinedSigmaFloor * p.velocity)});
  }
  return out;
}

}  // namespace zentrova

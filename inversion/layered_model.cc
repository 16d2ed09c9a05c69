#include "inversion/layered_model.h"

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

bool Positive(double v) { return std::isfinite(v) && v > 0.0; }

}  // namespace

std::string CheckModel(const LayeredModel& model) {
  if (model.empty()) return "the model has no half-space";
  if (model.size() > static_cast<size_t>(kMaxModelLayers)) {
    return "the model has more than " + std::to_string(kMaxModelLayers) + " layers";
  }
  for (size_t i = 0; i < model.size(); ++i) {
    const ElasticLayer& l = model[i];
    const std::string which = i + 1 == model.size() ? "the half-space" : "layer " + std::to_string(i + 1);
    if (!Positive(l.vs) || !Positive(l.vp) || !Positive(l.density)) {
      return which + " needs positive velocities and density";
    }
    if (l.vp < 1.2 * l.vs) return which + " has vp below 1.2 vs";
    if (i + 1 < model.size() && !Positive(l.thickness)) return which + " needs a positive thickness";
  }
  return "";
}

double TimeAveragedVs(const LayeredModel& model, double depth) {
  if (!CheckModel(model).empty() || !(depth > 0.0) || !std::isfinite(depth)) return 0.0;
  double top = 0.0, time = 0.0;
  for (size_t i = 0; i + 1 < model.size() && top < depth; ++i) {
    const double h = std::min(model[i].thickness, depth - top);
    time += h / model[i].vs;
    top += h;
  }
  if (top < depth) time += (depth - top) / model.back().vs;
  return depth / time;
}

}  // namespace zentrova

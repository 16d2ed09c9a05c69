#include "display/colour_scale.h"

#include <cmath>

namespace zentrova {

Rgb ColourScale::ColourOf(float v) const {
  if (rows_.empty()) return kBlack;
  if (std::isnan(v)) return rows_.front().colour;
  for (const Row& row : rows_) {
    if (row.threshold > v) return row.colour;
  }
  return rows_.back().colour;
}

void ColourScale::SpreadThresholds(float lo, float hi) {
  if (rows_.empty()) return;
  const int n = static_cast<int>(rows_.size());
  const float step = (hi - lo) / static_cast<float>(n);
  for (int k = 0; k + 1 < n; ++k) rows_[k].threshold = lo + step * static_cast<float>(k + 1);
  rows_.back().threshold = kLastThreshold;
}

ColourScale SpectrumScale() {
  static constexpr Rgb kColours[36] = {
      {255, 0, 255},   {255, 0, 200},   {255, 0, 150},   {255, 0, 100},   {255, 0, 50},    {255, 0, 0},
      {255, 35, 0},    {255, 70, 0},    {255, 105, 0},   {255, 135, 0},   {255, 165, 0},   {255, 195, 0},
      {255, 225, 0},   {255, 255, 0},   {240, 255, 0},   {220, 255, 0},   {200, 255, 0},   {180, 255, 0},
      {160, 255, 0},   {140, 255, 0},   {120, 255, 0},   {100, 255, 0},   {75, 255, 0},    {50, 255, 0},
      {25, 255, 0},    {0, 255, 0},     {0, 225, 25},    {0, 200, 50},    {0, 170, 75},    {0, 150, 100},
      {0, 125, 125},   {0, 100, 150},   {0, 75, 175},    {0, 50, 200},    {0, 25, 225},    {0, 0, 255}};
  std::vector<ColourScale::Row> rows;
  rows.reserve(36);
  // Thresholds as after a spread over 0 .. 1, until the caller spreads them.
  for (int k = 0; k < 36; ++k) rows.push_back({k == 35 ? kLastThreshold : static_cast<float>(k + 1) / 36.0f, kColours[k]});
  return ColourScale(std::move(rows));
}

ColourScale VelocityScale() {
  return ColourScale({{40.0f, {255, 0, 255}},  {50.0f, {255, 0, 200}},  {60.0f, {255, 0, 100}},
                      {70.0f, {255, 0, 50}},   {80.0f, {255, 0, 0}},    {90.0f, {255, 90, 0}},
                      {100.0f, {255, 165, 0}}, {110.0f, {255, 180, 0}}, {120.0f, {255, 195, 0}},
                      {130.0f, {255, 210, 0}}, {140.0f, {255, 225, 0}}, {150.0f, {255, 240, 0}},
                      {160.0f, {255, 255, 0}}, {180.0f, {200, 255, 0}}, {200.0f, {150, 255, 0}},
                      {220.0f, {90, 255, 0}},  {240.0f, {20, 255, 0}},  {260.0f, {0, 255, 0}},
                      {280.0f, {0, 225, 30}},  {300.0f, {0, 155, 100}}, {330.0f, {0, 55, 200}},
                      {360.0f, {0, 0, 255}},   {400.0f, {50, 0, 255}},  {450.0f, {100, 0, 255}},
                      {500.0f, {130, 0, 255}}, {100000000.0f, {160, 0, 255}}});
}

}  // namespace zentrova

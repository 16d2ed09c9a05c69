#include "surfacewave/dispersion_picks.h"

#include <algorithm>
#include <cmath>

#include "platform/printf.h"
#include "surfacewave/curve_path.h"
#include "surfacewave/higher_mode_islands.h"
#include "surfacewave/row_pick.h"
#include "surfacewave/text_file.h"

namespace zentrova {
namespace {

// How far a bridged pick may lie from the fundamental's line over a
// higher-mode island.
constexpr double kBridgeShare = 0.15;

std::vector<double> RowFrequencies(const DispersionImageInfo& image, int rows) {
  std::vector<double> f;
  for (int r = 0; r < rows; ++r) f.push_back(static_cast<double>(r) * image.binStep * image.frequencyStep);
  return f;
}

// The column picked in each row (-1: none): the curve's path through the
// rows' offers, bridged over higher-mode islands.
// The least image value of a pick: U unit phasors of random phases sum to
// about sqrt(U), an image value of 1 / sqrt(U); a pick must stand this many
// times above that noise level to show a wave at all.
constexpr double kNoiseLevels = 2.0;

std::vector<int> PickedColumns(const SeismicRecord& record, const std::vector<RowOffer>& offers,
                               const std::vector<PickRange>& ranges, const std::vector<double>& frequency,
                               int traces) {
  const std::vector<int> path = ChooseCurvePath(offers);
  const int rows = static_cast<int>(offers.size());
  std::vector<int> columns(rows, -1);
  // Without two receiver places there is no spread to measure a velocity over.
  if (traces < 2 || ranges.empty() || !(ranges.front().smallestSpacing > 0.0)) return columns;
  std::vector<IslandRow> curve(rows);
  for (int r = 0; r < rows; ++r) {
    if (path[r] >= 0) columns[r] = offers[r].members[path[r]].column;
    curve[r].frequency = frequency[r];
    if (columns[r] >= 0) curve[r].velocity = ranges[r].velocityMin + columns[r] * ranges[r].velocityStep;
  }
  for (const Island& island : FindHigherModeIslands(curve)) {
    for (int r = island.first; r <= island.last; ++r) {
      const double expected = island.Expected(frequency[r]);
      columns[r] = PeakWithin(record.ppDispImage[r].data(), record.pDispHeader[r].nSamples, frequency[r], ranges[r],
                              expected * (1.0 - kBridgeShare), expected * (1.0 + kBridgeShare));
    }
  }
  const float least = static_cast<float>(kNoiseLevels / std::sqrt(static_cast<double>(traces)));
  for (int r = 0; r < rows; ++r) {
    if (columns[r] < 0) continue;
    const double velocity = ranges[r].velocityMin + columns[r] * ranges[r].velocityStep;
    if (!(velocity > 0.0) || std::fabs(record.ppDispImage[r][columns[r]]) < least) columns[r] = -1;
  }
  return columns;
}

}  // namespace

DispersionCurve PickDispersionCurve(SeismicRecord& record, const DispersionSettings& settings,
                                    const DispersionImageInfo& image, SurfaceWaveResult& result, FileSystem& fs,
                                    const std::string& folder) {
  const size_t held = std::min({record.pDispHeader.size(), record.ppDispImage.size(), record.fPickVel.size(),
                                record.fPickFreq.size(), record.bPickResolved.size()});
  const int rows = std::clamp(record.nDispRows, 0, std::min<int>(kMaxPicks, static_cast<int>(held)));
  std::vector<RowOffer> offers;
  std::vector<PickRange> ranges;
  for (int r = 0; r < rows; ++r) {
    const CHeader& h = record.pDispHeader[r];
    const std::vector<float>& row = record.ppDispImage[r];
    const int columns = std::clamp(h.nSamples, 0, static_cast<int>(row.size()));
    ranges.push_back({static_cast<double>(settings.fVelMin) * 1000.0, h.fSampleInterval / 1000.0,
                      image.spread.smallestSpacing, image.spread.aliasSpacing, image.spread.length});
    const double frequency = static_cast<double>(r) * image.binStep * image.frequencyStep;
    offers.push_back(OfferRow(row.data(), columns, frequency, ranges.back()));
  }
  const std::vector<int> columns = PickedColumns(record, offers, ranges, RowFrequencies(image, rows), image.tracesUsed);
  DispersionCurve curve;
  std::string text;
  for (int r = 0; r < rows; ++r) {
    CurvePoint point;
    point.frequency = static_cast<double>(r) * image.binStep * image.frequencyStep;
    point.picked = columns[r] >= 0;
    point.value = point.picked ? std::fabs(record.ppDispImage[r][columns[r]]) : offers[r].largest;
    if (point.picked) {
      point.velocity = static_cast<float>(ranges[r].velocityMin + columns[r] * ranges[r].velocityStep);
      point.resolved = ResolvedWavelength(point.velocity / point.frequency, ranges[r]);
    }
    curve.push_back(point);
    // The stored results keep the frequency in the rounded hundredths of the row.
    const float frequency = static_cast<float>(record.pDispHeader[r].nReceiverLoc) / 100.0f;
    result.fPickFrequency[r] = frequency;
    result.fPickVelocity[r] = point.velocity;
    record.fPickFreq[r] = frequency;
    record.fPickVel[r] = point.velocity;
    record.bPickResolved[r] = point.resolved ? 1 : 0;
    text += Printf("%d %f %f %f \r\n", r, frequency, point.velocity, point.value);
  }
  result.nPicks = rows;
  if (!folder.empty()) ReplaceTextFile(fs, folder + fs.Separator() + kPickFileName, text);
  return curve;
}

}  // namespace zentrova

#include "display/profile_drawing.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>

#include "display/colour_bar.h"
#include "display/colour_scale.h"
#include "display/frame_clip.h"
#include "display/page_units.h"
#include "display/plot_area.h"
#include "display/plot_frame.h"
#include "display/profile_view_mode.h"
#include "display/ticks.h"
#include "platform/printf.h"
#include "surfacewave/text_file.h"

namespace zentrova {
namespace {

struct Column {
  const PlotAxes& axes;
  const CDrawingParameter& dp;
  FrameBox box;
  int x0 = 0;
  int x1 = 0;

  // Downward distance of an axis value.
  int Distance(float u) const {
    return TruncToPage((static_cast<double>(u) - axes.fYMin) * axes.fYScale + dp.nTopMargin);
  }
  void Cell(DrawingSurface& surface, float from, float to, Rgb colour) const {
    // Trimmed to the frame: a cell of the spread's last trace or of the
    // half-space would reach below it.
    if (const auto cell = ClipRect({{x0, -Distance(from)}, {x1, -Distance(to)}}, box)) {
      surface.Rectangle(*cell, kDefaultPen, colour);
    }
  }
};

// One cell per value, centred on it, as high as the spacing to the value
// before (the first as the spacing to the second); none where the value
// has no colour.
template <typename Centres, typename Colours>
void CentredCells(DrawingSurface& surface, const Column& column, int count, const Centres& centre,
                  const Colours& colour) {
  for (int i = 0; i < count; ++i) {
    float half = kSingleCellHalfHeight;
    if (count > 1) {
      const float g = i == 0 ? centre[1] - centre[0] : centre[i] - centre[i - 1];
      // Two values at one place have no spacing between them: a cell of its own height.
      if (g != 0.0f && std::isfinite(g)) half = g * 0.5f;
    }
    if (const std::optional<Rgb> c = colour(i)) column.Cell(surface, centre[i] - half, centre[i] + half, *c);
  }
}

// A silent trace has no log amplitude: its cell shows that there is no data.
Rgb AmplitudeColour(const ColourScale& spectrum, float logAmplitude) {
  return HasLogAmplitude(logAmplitude) ? spectrum.ColourOf(logAmplitude) : kNoDataColour;
}

// Draws the column of one layered model; returns its layers as the text
// file writes them.
std::string ModelCells(DrawingSurface& surface, const Column& column, const SurfaceWaveResult& result,
                       const ColourScale& velocity) {
  const int layers = std::clamp(result.nLayers, 0, kMaxLayers);
  std::string text;
  for (int i = 0; i < layers; ++i) {
    const float top = i == 0 ? 0.0f : result.fLayerBottom[i - 1];
    float bottom = result.fLayerBottom[i];
    if (top > column.axes.fYMax) break;
    if (bottom > column.axes.fYMax) bottom = column.axes.fYMax;
    text += Printf("%d %f %f %f \r\n", i, top, bottom, result.fVs[i]);
    column.Cell(surface, top, bottom, velocity.ColourOf(result.fVs[i]));
  }
  return text;
}

// The text file holds the newest column's layers. A repaint of the same
// models leaves it alone; anything else at its name (another text, a link,
// a FIFO, nothing) is replaced. A file that cannot be written is skipped.
void KeepProfileText(FileSystem& fs, const std::string& path, const std::string& text) {
  if (auto file = fs.OpenEntryForRead(path); file.ok()) {
    if (auto held = ReadWholeFile(**file); held.ok() && *held == text) return;
  }
  ReplaceTextFile(fs, path, text);
}

// A vertical range of no height (a single receiver, or all at one place)
// becomes one of a single cell's height around its value; true then.
bool GiveHeight(PlotAxes& axes) {
  if (axes.fYMax > axes.fYMin) return false;
  const float centre = std::isfinite(axes.fYMin) ? axes.fYMin : 0.0f;
  axes.fYMin = centre - kSingleCellHalfHeight;
  axes.fYMax = centre + kSingleCellHalfHeight;
  return true;
}

// Every 2 units from the range's start where the labels fit; otherwise on
// round values as far apart as the labels need, as the waveform picture's
// trace numbers. A range made around one value has one tick, at it.
void SetVerticalTicks(PlotAxes& axes, bool madeAround) {
  const float spacing = static_cast<float>(TickLabelFont().height * 6 / 5);
  axes.fYStep = 2.0f;
  UpdateTicks(axes);
  if (madeAround) {
    axes.fYStep = 2.0f * kSingleCellHalfHeight;
    axes.fYFirst = axes.fYMin + kSingleCellHalfHeight;
    axes.nYTicks = 1;
    return;
  }
  if (axes.fYStep * axes.fYScale >= spacing) return;
  axes.fYStep = std::max(2.0f, ReadableStep(axes.fYScale, spacing));
  AlignYTicks(axes);
}

}  // namespace

PlotAxes ProfileAxes(int mode) {
  PlotAxes axes;
  axes.strXTitle = "Shot";
  axes.strYTitle = ProfileVerticalTitle(RestrictViewMode(mode));
  axes.bXTitle = 1;
  axes.bYTitle = 1;
  axes.bYDown = 1;
  return axes;
}

void DrawProfile(DrawingSurface& surface, PlotAxes& axes, const ProfileList& list, int mode,
                 const CDrawingParameter& dp, FileSystem& fs) {
  const int shots = list.Count();
  if (shots == 0) return;
  mode = RestrictViewMode(mode);
  axes.strYTitle = ProfileVerticalTitle(mode);
  axes.fXMin = list.fShotMin;
  axes.fXMax = list.fShotMax;
  axes.fYMin = list.range[mode].fAxisMin;
  axes.fYMax = list.range[mode].fAxisMax;
  const bool madeAround = GiveHeight(axes);
  surface.Text({10, -10}, Printf("Number of shots = %d", shots), std::nullopt);

  ColourScale spectrum = SpectrumScale();
  const ColourScale velocity = VelocityScale();
  if (mode == kAmplitudeMode) spectrum.SpreadThresholds(list.range[0].fColourMin, list.range[0].fColourMax);
  const ColourScale& barScale = mode == kAmplitudeMode ? spectrum : velocity;
  const std::vector<ColourBarLabel> barLabels =
      mode == kAmplitudeMode ? SpreadScaleLabels(list.range[0].fColourMin, list.range[0].fColourMax)
                             : ThresholdLabels(velocity, kVelocityBarValues);

  // The frame leaves room for the colour bar's values.
  CDrawingParameter fitted = dp;
  fitted.nRightMargin = std::max(dp.nRightMargin, ColourBarRoom(barLabels));
  FitPlotArea(axes, surface.AreaSize(), fitted);
  axes.fXStep = 2.0f;
  SetVerticalTicks(axes, madeAround);
  DrawPlotFrame(axes, surface, kProfileTitleOffset, dp);
  DrawColourBar(surface, barScale, barLabels, axes, dp);

  std::string newestModel;
  const FrameBox box = FrameBoxOf(axes, dp);
  for (int f = 0; f < shots; ++f) {
    const SurfaceWaveResult& result = list.results[f];
    Column column{axes, dp, box};
    column.x0 = TruncToPage((static_cast<double>(f) - axes.fXMin) * axes.fXScale + dp.nLeftMargin);
    column.x1 = TruncToPage((static_cast<double>(f) + 1 - axes.fXMin) * axes.fXScale + dp.nLeftMargin);
    if (mode == kAmplitudeMode) {
      CentredCells(surface, column, std::clamp(result.nAmpTraces, 0, kMaxAmpTraces), result.fPosition,
                   [&](int i) { return std::optional<Rgb>(AmplitudeColour(spectrum, result.fLogAmplitude[i])); });
    } else if (mode == kPhaseVelocityMode) {
      CentredCells(surface, column, std::clamp(result.nPicks, 0, kMaxPicks), result.fPickFrequency,
                   [&](int i) {
                     // A frequency without a resolved pick (velocity 0) has no cell.
                     const float v = result.fPickVelocity[i];
                     return v > 0.0f ? std::optional<Rgb>(velocity.ColourOf(v)) : std::nullopt;
                   });
    } else {
      newestModel = ModelCells(surface, column, result, velocity);
    }
  }
  if (mode == kShearVelocityMode) KeepProfileText(fs, fs.CurrentFolder() + fs.Separator() + kShowProfileFileName, newestModel);
}

void DrawProfileView(DrawingSurface& surface, PlotAxes& axes, CZentrovaDoc& doc, const ProfileList& list, int mode) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  doc.bProfileViewDrawn = 1;
  DrawProfile(surface, axes, list, mode, doc.drawingParameter, doc.platform.fs);
}

}  // namespace zentrova

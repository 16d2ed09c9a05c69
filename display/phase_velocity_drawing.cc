#include "display/phase_velocity_drawing.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "display/caption_fit.h"
#include "display/colour_bar.h"
#include "display/frame_clip.h"
#include "display/page_units.h"
#include "display/plot_area.h"
#include "display/plot_frame.h"
#include "display/ticks.h"
#include "platform/printf.h"
#include "surfacewave/dispersion_image.h"

namespace zentrova {
namespace {

constexpr Pen kUnresolvedPickPen{kRed, 3};

// Rows and columns of the working set that really hold values.
int ImageRows(const SeismicRecord& record) {
  const size_t held = std::min({record.pDispHeader.size(), record.ppDispImage.size(), record.fDispRowMax.size()});
  return std::clamp(record.nDispRows, 0, static_cast<int>(std::min<size_t>(held, static_cast<size_t>(kDispRows))));
}

int ImageColumns(const SeismicRecord& record) {
  if (record.pDispHeader.empty()) return 0;
  return std::clamp(record.pDispHeader[0].nSamples, 0, kDispColumns);
}

}  // namespace

PlotAxes PhaseVelocityAxes() {
  PlotAxes axes;
  axes.strXTitle = "Phase velocity (m/sec)";
  axes.strYTitle = "Frequency (Hz)";
  axes.bXTitle = 1;
  axes.bYTitle = 1;
  axes.bYDown = 1;
  return axes;
}

RgbImage DispersionPicture(const SeismicRecord& record, const ColourScale& scale) {
  RgbImage image;
  const int rows = ImageRows(record);
  const int columns = ImageColumns(record);
  if (rows == 0 || columns == 0) return image;
  image.width = columns;
  image.height = rows;
  image.pixels.assign(static_cast<size_t>(columns) * rows, RgbImage::Pack(kWindowBackground));
  const uint32_t first = RgbImage::Pack(scale.ColourOf(std::nanf("")));
  for (int i = 0; i < rows; ++i) {
    const std::vector<float>& row = record.ppDispImage[i];
    const float peak = record.fDispRowMax[i];
    const int held = std::min(columns, static_cast<int>(row.size()));
    uint32_t* line = image.pixels.data() + static_cast<size_t>(i) * columns;
    for (int j = 0; j < held; ++j) {
      // A row without any value (peak 0) has no colour of its own: the first.
      line[j] = peak > 0.0f && std::isfinite(peak) ? RgbImage::Pack(scale.ColourOf(row[j] / peak)) : first;
    }
  }
  return image;
}

void DrawPhaseVelocity(DrawingSurface& surface, PlotAxes& axes, const SeismicRecord& record,
                       const DispersionSettings& settings, const CDrawingParameter& dp) {
  const FittedCaption caption = FitCaption(
      record.strFileName,
      {[&](const std::string& name) { return Printf("%s (Number of traces = %d)", name.c_str(), record.nTraces); },
       [&](const std::string& name) { return Printf("%s (%d traces)", name.c_str(), record.nTraces); },
       [](const std::string& name) { return name; }},
      std::abs(surface.AreaSize().width) - 2 * kCaptionIndent);
  surface.Text({kCaptionIndent, -10}, caption.text, caption.font);
  if (record.nTraces < 1) return;

  axes.fXMin = settings.fVelMin * 1000.0f;
  axes.fXMax = settings.fVelEnd * 1000.0f;
  axes.fYMin = settings.fFreqMin;
  axes.fYMax = settings.fFreqMax;
  FitPlotArea(axes, surface.AreaSize(), dp);
  axes.fXStep = 100.0f;
  axes.fYStep = 5.0f;
  UpdateTicks(axes);

  ColourScale scale = SpectrumScale();
  scale.SpreadThresholds(0.0f, 1.0f);
  const RgbImage picture = DispersionPicture(record, scale);
  const int L = dp.nLeftMargin;
  const int T = dp.nTopMargin;
  if (picture.width > 0 && picture.height > 0) {
    const double K = picture.width;
    const double M = picture.height;
    const double Q = (static_cast<double>(axes.fXMax) - axes.fXMin) * axes.fXScale / K;
    const double S = (static_cast<double>(axes.fYMax) - axes.fYMin) * axes.fYScale / M;
    const PagePoint corner{L, -T};
    surface.Image(picture, {corner, {corner.x + TruncToPage(K * Q), corner.y - TruncToPage(M * S)}});
  }

  DrawPlotFrame(axes, surface, kVelocityTitleOffset, dp);
  DrawColourBar(surface, scale, SpreadScaleLabels(0.0f, 1.0f), axes, dp);

  const int rows = std::min({ImageRows(record), static_cast<int>(record.fPickVel.size()),
                             static_cast<int>(record.fPickFreq.size())});
  const FrameBox box = FrameBoxOf(axes, dp);
  for (int o = 0; o < rows; ++o) {
    // A row without a pick has no velocity to show; a pick whose wavelength
    // lies outside what the spread resolves is drawn hollow.
    if (!(record.fPickVel[o] > 0.0f) || !std::isfinite(record.fPickVel[o])) continue;
    const bool resolved = o >= static_cast<int>(record.bPickResolved.size()) || record.bPickResolved[o] != 0;
    const int x = TruncToPage((static_cast<double>(record.fPickVel[o]) - axes.fXMin) * axes.fXScale + L);
    const int d = TruncToPage((static_cast<double>(record.fPickFreq[o]) - axes.fYMin) * axes.fYScale + T);
    if (!box.Contains({x, -d})) continue;
    const PageRect disc{{x - kPickRadius, -d - kPickRadius}, {x + kPickRadius, -d + kPickRadius}};
    if (resolved) {
      surface.Ellipse(disc, kDefaultPen, kRed);
    } else {
      surface.Ellipse(disc, kUnresolvedPickPen, kWindowBackground);
    }
  }
}

void DrawPhaseVelocityView(DrawingSurface& surface, PlotAxes& axes, CZentrovaDoc& doc,
                           const DispersionSettings& settings) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  doc.bPhaseViewDrawn = 1;
  DrawPhaseVelocity(surface, axes, doc.record, settings, doc.drawingParameter);
}

}  // namespace zentrova

#include "surfacewave/dispersion_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "surfacewave/fft.h"
#include "surfacewave/phase_shift_stack.h"
#include "surfacewave/shot_window.h"
#include "surfacewave/spread_geometry.h"

namespace zentrova {
namespace {

int VelocityColumns(const DispersionSettings& s) {
  const double v = (static_cast<double>(s.fVelEnd) - s.fVelMin) / s.fVelStep;
  if (!(s.fVelStep > 0.0f) || !std::isfinite(v) || v < 1.0) return 0;
  const int columns = static_cast<int>(std::min(v, static_cast<double>(kDispColumns)));
  // The rows carry the step in mm/s and the picks the velocities in m/s,
  // both as floats: a range beyond them would leave no usable velocity.
  const double lastVelocity = (static_cast<double>(columns) * s.fVelStep + s.fVelMin) * 1000.0;
  const double limit = std::numeric_limits<float>::max();
  if (!(static_cast<double>(s.fVelStep) * 1000000.0 <= limit) || !(std::fabs(lastVelocity) <= limit)) return 0;
  return columns;
}

// A trace that enters the transform: its samples from the window's first on.
struct Use {
  int trace;
  int own;     // its samples in the window (a shorter trace is padded with zeros)
  float peak;  // its largest absolute sample there
};

int LongestTrace(const SeismicRecord& record, int traces) {
  int longest = 0;
  for (int i = 0; i < traces; ++i) {
    longest = std::max(longest, std::min<int>(record.pHeader[i].nSamples, static_cast<int>(record.ppData[i].size())));
  }
  return std::max(longest, 0);
}

// The traces with signal in the window, in order.
std::vector<Use> TracesWithSignal(const SeismicRecord& record, int traces, const ShotWindow& window) {
  std::vector<Use> uses;
  for (int i = 0; i < traces; ++i) {
    const CHeader& h = record.pHeader[i];
    const int64_t offset = std::llabs(static_cast<int64_t>(h.nReceiverLoc) - h.nSourceLoc);
    if (h.fMaxAmplitude <= 1e-16f || offset > int64_t{100000} * 100) continue;
    const int held = std::min<int>(h.nSamples, static_cast<int>(record.ppData[i].size()));
    const int own = std::clamp(held - window.first, 0, window.samples);
    const float* samples = record.ppData[i].data() + window.first;
    float peak = 0.0f;
    bool finite = true;
    for (int t = 0; t < own; ++t) {
      finite = finite && std::isfinite(samples[t]);
      peak = std::max(peak, std::fabs(samples[t]));
    }
    // A trace with a sample that is not a number (or infinite) would turn
    // its whole spectrum into NaN: it carries no usable signal. Scaled by
    // the largest absolute value: the spectrum is reduced to unit length
    // later, so only the sign of the divisor would matter, and a negative
    // or zero signed maximum would turn or destroy the trace.
    if (!finite || !(peak > 0.0f)) continue;
    uses.push_back({i, own, peak});
  }
  return uses;
}

// The first `bins` bins of every used trace's spectrum. Two real traces go
// through one complex transform (the first as the real part, the second as
// the imaginary part) and are parted by the symmetry of real spectra.
void Spectra(const SeismicRecord& record, const std::vector<Use>& uses, const ShotWindow& window, int n, int bins,
             std::vector<std::vector<float>>& outRe, std::vector<std::vector<float>>& outIm) {
  const int used = static_cast<int>(uses.size());
  outRe.assign(used, std::vector<float>(bins));
  outIm.assign(used, std::vector<float>(bins));
  std::vector<double> re(n), im(n);
  const FftPlan fft(n);
  const auto load = [&](const Use& use, std::vector<double>& part) {
    const float* samples = record.ppData[use.trace].data() + window.first;
    for (int t = 0; t < n; ++t) part[t] = t < use.own ? samples[t] / use.peak : 0.0;
  };
  for (int u = 0; u < used; u += 2) {
    load(uses[u], re);
    const bool pair = u + 1 < used;
    if (pair) {
      load(uses[u + 1], im);
    } else {
      std::fill(im.begin(), im.end(), 0.0);
    }
    fft.Run(re.data(), im.data());
    for (int k = 0; k < bins; ++k) {
      if (!pair) {
        outRe[u][k] = static_cast<float>(re[k]);
        outIm[u][k] = static_cast<float>(im[k]);
        continue;
      }
      const int mirror = (n - k) & (n - 1);
      const double a = re[k], b = im[k], c = re[mirror], d = im[mirror];
      outRe[u][k] = static_cast<float>((a + c) * 0.5);
      outIm[u][k] = static_cast<float>((b - d) * 0.5);
      outRe[u + 1][k] = static_cast<float>((b + d) * 0.5);
      outIm[u + 1][k] = static_cast<float>((c - a) * 0.5);
    }
  }
}

}  // namespace

DispersionImageInfo ComputeDispersionImage(SeismicRecord& record, DispersionSettings& settings, Settings* store) {
  DispersionImageInfo info;
  if (!record.bAnalysisBuffers) record.AllocateAnalysisBuffers();
  record.nDispRows = 0;
  const int traces = std::clamp(std::min<int>(record.nTraces, static_cast<int>(record.pHeader.size())), 0, kDispTraces);
  if (traces > 0 && static_cast<int>(record.ppData.size()) >= traces) {
    // 1. The window: from the shot on, the record itself left as it is.
    const ShotWindow window = ChooseShotWindow(record.pHeader[0], LongestTrace(record, traces));
    info.window = window;
    const double dt = record.pHeader[0].fSampleInterval / 1000.0;  // ms
    // 2. Transform length and frequency step.
    const int n = TransformLength(2 * window.samples);
    info.transformLength = n;
    info.frequencyStep = dt > 0.0 && window.samples > 0 ? 1000.0 / (n * dt) : 0.0;
    // 3. The traces with signal and where they lie; the source end is told
    // by the source location, else it is the louder end.
    const std::vector<Use> uses = info.frequencyStep > 0.0 ? TracesWithSignal(record, traces, window) : std::vector<Use>();
    const int louder = record.pHeader[traces - 1].fMaxAmplitude < record.pHeader[0].fMaxAmplitude ? 0 : 1;
    std::vector<ReceiverPlace> places;
    for (const Use& use : uses) {
      const CHeader& h = record.pHeader[use.trace];
      places.push_back({static_cast<float>(h.nReceiverLoc) / 100.0f, static_cast<float>(h.nSourceLoc) / 100.0f,
                        h.bSourceLocation != 0});
    }
    info.spread = MeasureSpread(places, louder);
    settings.nDirection = uses.empty() ? louder : info.spread.direction;
    const int used = static_cast<int>(uses.size());
    info.tracesUsed = used;
    // 4. Columns and rows. Bins above the Nyquist frequency would be the
    // mirrored negative frequencies, so the bins end there.
    const int columns = VelocityColumns(settings);
    int bins = 0;
    if (info.frequencyStep > 0.0) {
      const double span = (static_cast<double>(settings.fFreqMax) - settings.fFreqMin) / info.frequencyStep;
      bins = span >= 0.0 ? static_cast<int>(std::min(span, static_cast<double>(n))) + 1 : 0;
      bins = std::min(bins, n / 2 + 1);
    }
    int w = 1;
    while (bins / w > kDispRows && w < 64) w *= 2;
    const int rows = std::min(bins / w, kDispRows);
    info.binStep = w;
    info.columns = columns;
    if (used > 0 && rows > 0 && columns > 0) {
      // 5. Spectra of the traces used, as far as the rows reach.
      std::vector<std::vector<float>> re, im;
      Spectra(record, uses, window, n, (rows - 1) * w + 1, re, im);
      // 6. The stack.
      PhaseShiftInput in;
      in.re = &re;
      in.im = &im;
      in.distance = info.spread.distance;
      in.traces = used;
      in.rows = rows;
      in.columns = columns;
      in.binStep = w;
      in.frequencyStep = info.frequencyStep;
      in.velocityMin = settings.fVelMin;
      in.velocityStep = settings.fVelStep;
      const std::vector<float> image = PhaseShiftStack(in);
      // 7. Row headers and peaks.
      for (int r = 0; r < rows; ++r) {
        const double frequency = static_cast<double>(r) * w * info.frequencyStep;
        CHeader& h = record.pDispHeader[r];
        h = CHeader();
        h.fReceiverLoc100 = static_cast<float>(frequency * 100.0);
        h.nReceiverLoc = static_cast<int32_t>(h.fReceiverLoc100 + 0.5f);
        h.nSamples = columns;
        h.fSampleInterval = settings.fVelStep * 1000000.0f;
        h.nComponent = 1;
        float rowMax = 0.0f;
        for (int l = 0; l < columns; ++l) {
          const float value = image[static_cast<size_t>(r) * columns + l];
          record.ppDispImage[r][l] = value;
          rowMax = std::max(rowMax, std::fabs(value));
        }
        record.fDispRowMax[r] = rowMax;
      }
      record.nDispRows = rows;
      info.rows = rows;
    }
  }
  // 8. The stored-only values.
  if (store) settings.SaveExtras(*store);
  return info;
}

}  // namespace zentrova

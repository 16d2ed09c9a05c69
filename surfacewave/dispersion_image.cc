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

namespace zentrova {
namespace {

int TransformLength(int m) {
  int n = 8;
  while (n < m) n *= 2;
  return n;
}

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

}  // namespace

DispersionImageInfo ComputeDispersionImage(SeismicRecord& record, DispersionSettings& settings, Settings* store) {
  DispersionImageInfo info;
  if (!record.bAnalysisBuffers) record.AllocateAnalysisBuffers();
  record.nDispRows = 0;
  const int traces = std::clamp(std::min<int>(record.nTraces, static_cast<int>(record.pHeader.size())), 0, kDispTraces);
  if (traces > 0) {
    // 1. The first 256 traces, each cut to 4096 samples (in the record too).
    for (int i = 0; i < traces; ++i) {
      CHeader& h = record.pHeader[i];
      std::vector<float>& data = record.ppData[i];
      h.nSamples = std::clamp(h.nSamples, 0, std::min<int>(kDispSamples, static_cast<int>(data.size())));
      if (data.size() > static_cast<size_t>(h.nSamples)) data.resize(h.nSamples);
      record.pDispHeader[i] = h;
      record.fDispRowMax[i] = h.fMaxAmplitude;
      std::copy(data.begin(), data.end(), record.ppDispImage[i].begin());
    }
    const int m = record.pHeader[traces - 1].nSamples;
    const double dt = record.pHeader[0].fSampleInterval / 1000.0;  // ms
    // 2. The louder end is the source end.
    settings.nDirection = record.pHeader[traces - 1].fMaxAmplitude < record.pHeader[0].fMaxAmplitude ? 0 : 1;
    // 3. Transform length and frequency step.
    const int n = TransformLength(m);
    info.transformLength = n;
    info.frequencyStep = dt > 0.0 ? 1000.0 / (n * dt) : 0.0;
    for (int i = 0; i < traces; ++i) record.pDispHeader[i].nSamples = n;
    // 4. Spectra of the traces with signal, packed in order of use.
    struct Use {
      int trace;
      int own;     // its samples (a shorter trace is padded with zeros)
      float peak;  // its largest absolute sample
    };
    std::vector<Use> uses;
    std::vector<float> position;
    for (int i = 0; i < traces && info.frequencyStep > 0.0; ++i) {
      const CHeader& h = record.pDispHeader[i];
      const int64_t offset = std::llabs(static_cast<int64_t>(h.nReceiverLoc) - h.nSourceLoc);
      if (record.fDispRowMax[i] <= 1e-16f || offset > int64_t{100000} * 100) continue;
      // Scaled by the largest absolute value: the spectrum is reduced to
      // unit length later, so only the sign of the divisor would matter,
      // and a negative or zero signed maximum would turn or destroy the trace.
      const int own = std::min(m, record.pHeader[i].nSamples);
      const std::vector<float>& samples = record.ppDispImage[i];
      float peak = 0.0f;
      bool finite = true;
      for (int t = 0; t < own; ++t) {
        finite = finite && std::isfinite(samples[t]);
        peak = std::max(peak, std::fabs(samples[t]));
      }
      // A trace with a sample that is not a number (or infinite) would
      // turn its whole spectrum into NaN: it carries no usable signal.
      if (!finite || !(peak > 0.0f)) continue;
      uses.push_back({i, own, peak});
      position.push_back(static_cast<float>(h.nReceiverLoc) / 100.0f);
    }
    const int used = static_cast<int>(uses.size());
    // Two real traces go through one complex transform (the first as the
    // real part, the second as the imaginary part) and are parted by the
    // symmetry of real spectra. Slot u is written only after every trace up
    // to the pair's second has been read, so no unread samples are lost.
    std::vector<double> re(n), im(n);
    const FftPlan fft(n);
    const auto load = [&](const Use& use, std::vector<double>& part) {
      const std::vector<float>& samples = record.ppDispImage[use.trace];
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
      float* re1 = record.ppDispImage[u].data();
      float* im1 = record.ppDispImag[u].data();
      if (!pair) {
        for (int k = 0; k < n; ++k) {
          re1[k] = static_cast<float>(re[k]);
          im1[k] = static_cast<float>(im[k]);
        }
        continue;
      }
      float* re2 = record.ppDispImage[u + 1].data();
      float* im2 = record.ppDispImag[u + 1].data();
      for (int k = 0; k < n; ++k) {
        const int mirror = (n - k) & (n - 1);
        const double a = re[k], b = im[k], c = re[mirror], d = im[mirror];
        re1[k] = static_cast<float>((a + c) * 0.5);
        im1[k] = static_cast<float>((b - d) * 0.5);
        re2[k] = static_cast<float>((b + d) * 0.5);
        im2[k] = static_cast<float>((c - a) * 0.5);
      }
    }
    info.tracesUsed = used;
    // 5. Columns and rows. Bins above the Nyquist frequency would be the
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
      // 6. The stack.
      PhaseShiftInput in;
      in.re = &record.ppDispImage;
      in.im = &record.ppDispImag;
      in.position = std::move(position);
      in.traces = used;
      in.rows = rows;
      in.columns = columns;
      in.binStep = w;
      in.frequencyStep = info.frequencyStep;
      in.velocityMin = settings.fVelMin;
      in.velocityStep = settings.fVelStep;
      in.direction = settings.nDirection;
      const std::vector<float> image = PhaseShiftStack(in);
      // 7. Row headers and peaks.
      for (int r = 0; r < rows; ++r) {
        const double frequency = static_cast<double>(r) * w * info.frequencyStep;
        CHeader& h = record.pDispHeader[r];
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

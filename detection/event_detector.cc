#include "detection/event_detector.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

// Window length in samples: ms x 1000 / dt, truncated; 0 for a sample
// interval or window that gives no usable length.
int64_t WindowSamples(float ms, float dtUs, int64_t ns) {
  const double v = static_cast<double>(ms) * 1000.0 / static_cast<double>(dtUs);
  if (!(v > 0.0)) return 0;
  return v >= static_cast<double>(ns) + 1.0 ? ns + 1 : static_cast<int64_t>(v);
}

// The channel triggers when RMS2 / RMS1 > ratio with RMS1 > 0. The square
// roots and the division are taken only near the threshold: away from it
// S2 L1 against ratio^2 S1 L2 decides the same.
bool Triggers(double s1, double s2, double l1, double l2, double ratio, double ratio2) {
  if (!(s1 > 0.0)) return false;  // RMS1 = 0 (or a sum that rounding took below 0)
  if (ratio >= 0.0 && s2 >= 0.0) {
    const double lhs = s2 * l1;
    const double rhs = ratio2 * s1 * l2;
    if (lhs > rhs * (1.0 + 1e-9)) return true;
    if (lhs < rhs * (1.0 - 1e-9)) return false;
  }
  const double rms1 = std::sqrt(s1 / l1);
  const double rms2 = std::sqrt(s2 / l2);
  return rms1 > 0.0 && rms2 / rms1 > ratio;
}

struct Channel {
  int trace;
  const float* x;
  double s1 = 0.0;
  double s2 = 0.0;
};

double Square(float v) { return static_cast<double>(v) * static_cast<double>(v); }

}  // namespace

DetectorWindows ComputeWindows(const EventDetectionParameters& p, const SeismicRecord& record) {
  DetectorWindows w;
  if (record.nTraces <= 0 || record.pHeader.empty()) return w;
  const CHeader& h = record.pHeader[0];
  w.ns = std::min<int64_t>(std::max(h.nSamples, 0), static_cast<int64_t>(record.ppData[0].size()));
  if (!(h.fSampleInterval > 0.0f) || !std::isfinite(h.fSampleInterval)) return w;
  w.L1 = WindowSamples(p.fTimeWindow1, h.fSampleInterval, w.ns);
  w.L2 = WindowSamples(p.fTimeWindow2, h.fSampleInterval, w.ns);
  return w;
}

int DetectEvents(EventDetectionParameters& p, const SeismicRecord& record, FileSystem& fs,
                 const std::string& eventFile, int64_t now) {
  const DetectorWindows w = ComputeWindows(p, record);
  const int64_t L1 = w.L1, L2 = w.L2, ns = w.ns;
  const int traces = std::min<int>(record.nTraces, static_cast<int>(record.ppData.size()));

  std::string text = Printf("%d %lld : %lld %lld\r\n", record.nTraces, static_cast<long long>(ns),
                            static_cast<long long>(L1), static_cast<long long>(ns - L2));
  for (int i = 0; i < p.nChannels; ++i) {
    const int c = p.nChannelList[i];
    double mid = 0.0;
    if (c >= 0 && c < traces && static_cast<int64_t>(record.ppData[c].size()) > ns / 2) mid = record.ppData[c][ns / 2];
    text += Printf("%d %d %f\r\n", i, c, mid);
  }

  p.nEvents = 0;
  p.fEventTime.clear();
  p.nEventChannels.clear();
  std::fill(p.nTraceTriggers.begin(), p.nTraceTriggers.end(), 0);
  for (auto& times : p.fTraceTriggerTime) times.clear();

  // The channels evaluated: each trace of the record named by the list,
  // once, in trace order, that holds the first trace's samples.
  std::vector<char> listed(static_cast<size_t>(std::max(traces, 0)), 0);
  for (int i = 0; i < p.nChannels; ++i) {
    const int c = p.nChannelList[i];
    if (c >= 0 && c < traces) listed[c] = 1;
  }
  std::vector<Channel> channels;
  for (int t = 0; t < traces; ++t) {
    if (listed[t] && static_cast<int64_t>(record.ppData[t].size()) >= ns) channels.push_back({t, record.ppData[t].data()});
  }

  const double dt = record.pHeader.empty() ? 0.0 : record.pHeader[0].fSampleInterval;
  const float merge = std::max(p.fTimeWindow1, p.fTimeWindow2) / 1000.0f;
  const double ratio = p.fRmsRatio;
  const double ratio2 = ratio * ratio;
  const double l1 = static_cast<double>(L1), l2 = static_cast<double>(L2);
  const bool windows = L1 > 0 && L2 > 0;
  float tLast = 0.0f;
  for (int64_t k = L1; k < ns - L2; ++k) {
    const float t = static_cast<float>(dt * static_cast<double>(k) / 1000000.0);
    int m = 0;
    for (Channel& c : channels) {
      if (k == L1) {
        c.s1 = 0.0;
        c.s2 = 0.0;
        for (int64_t j = 0; j < L1; ++j) c.s1 += Square(c.x[j]);
        for (int64_t j = L1; j < L1 + L2; ++j) c.s2 += Square(c.x[j]);
      } else {
        c.s1 = c.s1 - Square(c.x[k - L1 - 1]) + Square(c.x[k - 1]);
        c.s2 = c.s2 - Square(c.x[k - 1]) + Square(c.x[k + L2 - 1]);
      }
      if (!windows || !Triggers(c.s1, c.s2, l1, l2, ratio, ratio2)) continue;
      ++m;
      if (c.trace < p.nMaxChannels) {
        int& count = p.nTraceTriggers[c.trace];
        if (count < EventDetectionParameters::kMaxTriggerTimes) p.fTraceTriggerTime[c.trace].push_back(t);
        ++count;
      }
    }
    const bool candidate = p.nMethod == 1 ? m >= p.nMinimumChannels : m > 0;
    if (!candidate) continue;
    if (p.nEvents == 0 || t - tLast > merge) {
      p.fEventTime.push_back(t);
      p.nEventChannels.push_back(m);
      ++p.nEvents;
      tLast = t;
      if (p.nEvents >= EventDetectionParameters::kMaxEvents) break;
    }
  }
  if (p.bDetectEnd == 1) {
    for (float& t : p.fEventTime) t += p.fTimeWindow1 / 1000.0f;
  }

  if (eventFile.empty()) return p.nEvents;
  const CivilTime c = SecondsToLocal(now).value_or(CivilTime{});
  const std::string date = Printf("%d/%.2d/%.2d", c.year, c.month, c.day);
  const std::string clock = Printf(" %.2d:%.2d:%.2d", c.hour, c.minute, c.second);
  for (int e = 0; e < p.nEvents; ++e) {
    text += Printf("Event: %s %s %s %d %f\r\n", record.strFileName.c_str(), date.c_str(), clock.c_str(),
                   p.nEventChannels[e], static_cast<double>(p.fEventTime[e]));
  }
  WriteWholeFile(fs, eventFile, text);  // a file that cannot be written loses its lines only
  return p.nEvents;
}

}  // namespace zentrova

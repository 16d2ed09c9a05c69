#include "detection/event_message.h"

#include <algorithm>
#include <cmath>

#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {

std::string OnsetText(const EventDetectionParameters& p, int e) {
  return Printf("Onset = %.3f s (event time %.3f s)", static_cast<double>(p.fEventOnset[e]),
                static_cast<double>(p.fEventTime[e]));
}

std::string EventSummary(const EventDetectionParameters& p, const SeismicRecord& record) {
  if (p.nEvents <= 0 || p.fEventOnset.empty()) return Printf("%d events", std::max(p.nEvents, 0));
  const double onset = static_cast<double>(p.fEventOnset[0]);
  std::string when = Printf("+%.3f s", onset);
  if (record.time.bTimeValid == 1) {
    const double at = static_cast<double>(record.time.tFirstSample) + record.time.nFirstSampleMs / 1000.0 + onset;
    if (const auto c = SecondsToLocal(static_cast<int64_t>(std::floor(at)))) {
      when = Printf("%.2d:%.2d:%.2d", c->hour, c->minute, c->second);
    }
  }
  const int channels = p.nEventChannels.empty() ? record.nTraces : p.nEventChannels[0];
  const std::string tail = Printf(", %d channel%s", channels, channels == 1 ? "" : "s");
  if (p.nEvents == 1) return "event " + when + tail;
  return Printf("%d events, first ", p.nEvents) + when + tail;
}

std::string EventMessage(const EventDetectionParameters& p, int fileNumber) {
  std::string text = Printf("%d events were detected in %d", p.nEvents, fileNumber);
  const int known = std::min({p.nEvents, static_cast<int>(p.fEventOnset.size()), static_cast<int>(p.fEventTime.size())});
  const int listed = std::min(known, kMailedOnsets);
  const int rated = std::min(static_cast<int>(p.fEventMaxRatio.size()), static_cast<int>(p.nEventMaxRatioChannel.size()));
  for (int e = 0; e < listed; ++e) {
    text += Printf("\nEvent %d: ", e + 1) + OnsetText(p, e);
    if (e < rated && p.nEventMaxRatioChannel[e] >= 0) {
      text += Printf(", largest RMS ratio %.2f on channel %d", static_cast<double>(p.fEventMaxRatio[e]),
                     p.nEventMaxRatioChannel[e]);
    }
  }
  if (known > listed) text += Printf("\nOnsets of %d more events are not listed", known - listed);
  return text;
}

}  // namespace zentrova

#include "detection/event_detection_parameters.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "detection/channel_list.h"
#include "monitor/settings.h"
#include "platform/printf.h"

namespace zentrova {

EventDetectionParameters::EventDetectionParameters() {
  nMinimumChannels = std::min(5, nMaxChannels);
  sChannelAnd = "0-" + std::to_string(nMaxChannels);
  sChannelOr = sChannelAnd;
  nTraceTriggers.assign(static_cast<size_t>(nMaxChannels), 0);
  fTraceTriggerTime.assign(static_cast<size_t>(nMaxChannels), {});
  fEventTime.reserve(64);
  nEventChannels.reserve(64);
}

void EventDetectionParameters::SetChannels(const std::string& text, int largestCount) {
  std::vector<int> parsed = ParseChannelList(text, largestCount);
  if (parsed.size() > static_cast<size_t>(nMaxChannels)) parsed.resize(static_cast<size_t>(nMaxChannels));
  nChannelList = parsed;
  nChannels = static_cast<int>(parsed.size());
}

namespace {

std::string Hz(float v) { return Printf("%g", static_cast<double>(v)); }

// The band-pass corners in order; the note says what was changed.
std::string OrderBandPass(EventDetectionParameters& p) {
  if (p.bBandPass != 1) return "";
  const float low = p.fBandPassLow, high = p.fBandPassHigh;
  const std::string given = "EVENT_DETECTION_BANDPASS_LOW=" + Hz(low) + " and EVENT_DETECTION_BANDPASS_HIGH=" + Hz(high);
  if (low > 0.0f && high > 0.0f && low > high) {
    std::swap(p.fBandPassLow, p.fBandPassHigh);
    return given + " are out of order; " + Hz(p.fBandPassLow) + " to " + Hz(p.fBandPassHigh) + " Hz is used.";
  }
  if (low == high) {
    p.bBandPass = 0;
    return given + (low > 0.0f ? " leave no band between them" : " leave both sides open") +
           "; the band-pass is not used.";
  }
  return "";
}

}  // namespace

std::vector<std::string> EventDetectionParameters::LoadDetectionParameters(KeyValueStore& product) {
  auto text = [&](const char* name, std::string& field) {
    if (auto v = product.Get(name)) field = *v;
  };
  auto integer = [&](const char* name, int& field) {
    if (auto v = product.Get(name)) ParseStoredInt(*v, field);
  };
  auto real = [&](const char* name, float& field) {
    double d = field;
    if (auto v = product.Get(name); v && ParseStoredFloat(*v, d) && std::abs(d) < 3.0e38) field = static_cast<float>(d);
  };
  text("EVENT_DETECTION_CHANNEL_AND", sChannelAnd);
  text("EVENT_DETECTION_CHANNEL_OR", sChannelOr);
  integer("EVENT_DETECTION_METHOD", nMethod);
  real("EVENT_DETECTION_RMS_RATIO", fRmsRatio);
  real("EVENT_DETECTION_TIME_WINDOW_1", fTimeWindow1);
  real("EVENT_DETECTION_TIME_WINDOW_2", fTimeWindow2);
  integer("EVENT_DETECTION_MINIMUM_N_CHANNEL", nMinimumChannels);
  integer("EVENT_DETECTION_DETECT_END", bDetectEnd);
  real("EVENT_DETECTION_MINIMUM_DURATION", fMinimumDuration);
  integer("EVENT_DETECTION_GLITCH_PERCENT", nGlitchPercent);
  integer("EVENT_DETECTION_GLITCH_SAMPLES", nGlitchSamples);
  integer("EVENT_DETECTION_WHOLE_EVENTS", bWholeEvents);
  real("EVENT_DETECTION_EVENT_GAP", fEventGap);
  integer("EVENT_DETECTION_BANDPASS", bBandPass);
  real("EVENT_DETECTION_BANDPASS_LOW", fBandPassLow);
  real("EVENT_DETECTION_BANDPASS_HIGH", fBandPassHigh);
  SetChannels(ActiveListText(), 1024);
  std::vector<std::string> notes;
  if (std::string note = OrderBandPass(*this); !note.empty()) notes.push_back(note);
  return notes;
}

void EventDetectionParameters::SaveDetectionParameters(KeyValueStore& product) const {
  product.Set("EVENT_DETECTION_CHANNEL_AND", sChannelAnd);
  product.Set("EVENT_DETECTION_CHANNEL_OR", sChannelOr);
  product.Set("EVENT_DETECTION_METHOD", std::to_string(nMethod));
  product.Set("EVENT_DETECTION_RMS_RATIO", FormatStoredFloat(fRmsRatio));
  product.Set("EVENT_DETECTION_TIME_WINDOW_1", FormatStoredFloat(fTimeWindow1));
  product.Set("EVENT_DETECTION_TIME_WINDOW_2", FormatStoredFloat(fTimeWindow2));
  product.Set("EVENT_DETECTION_MINIMUM_N_CHANNEL", std::to_string(nMinimumChannels));
  product.Set("EVENT_DETECTION_DETECT_END", std::to_string(bDetectEnd));
}

}  // namespace zentrova

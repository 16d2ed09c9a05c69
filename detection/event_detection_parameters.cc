#include "detection/event_detection_parameters.h"

#include <algorithm>
#include <cmath>

#include "detection/channel_list.h"
#include "monitor/settings.h"

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

void EventDetectionParameters::LoadDetectionParameters(KeyValueStore& product) {
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

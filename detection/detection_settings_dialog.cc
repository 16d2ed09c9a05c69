#include "detection/detection_settings_dialog.h"

#include <cmath>

#include "detection/channel_list.h"
#include "detection/event_run.h"
#include "monitor/settings.h"
#include "platform/printf.h"

namespace zentrova {

std::string CDlgEventDetectionParameters::ShowFloat(float v) { return Printf("%g", static_cast<double>(v)); }

CDlgEventDetectionParameters::CDlgEventDetectionParameters(CZentrovaDoc& doc) : doc_(doc) {
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  EventDetectionParameters& p = DetectionParameters(doc_);
  p.LoadDetectionParameters(doc_.platform.product);
  nMethod = p.nMethod == 1 ? 1 : 0;
  sChannelOr = p.sChannelOr;
  sChannelAnd = p.sChannelAnd;
  sMinimumChannels = std::to_string(p.nMinimumChannels);
  sTimeWindow1 = ShowFloat(p.fTimeWindow1);
  sTimeWindow2 = ShowFloat(p.fTimeWindow2);
  sRmsRatio = ShowFloat(p.fRmsRatio);
}

CDlgEventDetectionParameters::Outcome CDlgEventDetectionParameters::OnOK() {
  Outcome out;
  int minimum = 0;
  if (!ParseStoredInt(sMinimumChannels, minimum)) return {false, "Enter an integer.", kMinimumChannels};
  double w1 = 0, w2 = 0, ratio = 0;
  const std::pair<const std::string*, std::pair<double*, Field>> floats[] = {
      {&sTimeWindow1, {&w1, kTimeWindow1}}, {&sTimeWindow2, {&w2, kTimeWindow2}}, {&sRmsRatio, {&ratio, kRmsRatio}}};
  for (const auto& [text, target] : floats) {
    if (!ParseStoredFloat(*text, *target.first) || std::fabs(*target.first) > 3.0e38) {
      return {false, "Enter a number.", target.second};
    }
  }
  std::lock_guard<std::recursive_mutex> lock(doc_.mutex);
  EventDetectionParameters& p = DetectionParameters(doc_);
  p.nMethod = nMethod == 1 ? 1 : 0;
  const std::string& listText = p.nMethod == 1 ? sChannelAnd : sChannelOr;
  p.SetChannels(listText, p.nMaxChannels);
  const std::string canonical = FormatChannelList(p.nChannelList);
  if (p.nMethod == 1) {
    p.sChannelAnd = canonical;
  } else {
    p.sChannelOr = canonical;
  }
  p.nMinimumChannels = minimum;
  p.fRmsRatio = static_cast<float>(ratio);
  p.fTimeWindow1 = static_cast<float>(w1);
  p.fTimeWindow2 = static_cast<float>(w2);
  p.SaveDetectionParameters(doc_.platform.product);
  doc_.bEventDetection = 1;  // for this run; the profile key is not written here
  doc_.activityLog.Add("Event detection active");
  out.accepted = true;
  return out;
}

}  // namespace zentrova

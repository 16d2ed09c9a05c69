#pragma once
// What the RMS-ratio detector needs besides the record, and the results of
// its last run. Stored as text in the product key (EVENT_DETECTION_...).

#include <string>
#include <vector>

#include "platform/key_value_store.h"

namespace zentrova {

struct EventDetectionParameters {
  static constexpr int kMaxEvents = 10000;
  static constexpr int kMaxTriggerTimes = 10000;

  EventDetectionParameters();

  // Reads the stored values (an absent one keeps its field) and parses the
  // active list text into nChannelList. Returns, in the station's words,
  // the stored values not used as they stand: band-pass corners out of
  // order are swapped; equal ones, or none, make no band, and the band-pass
  // is not used.
  std::vector<std::string> LoadDetectionParameters(KeyValueStore& product);
  // Writes the eight values the dialog edits; the trigger rules are set in
  // the store by hand and never written here.
  void SaveDetectionParameters(KeyValueStore& product) const;
  // The list text in force: sChannelAnd with AND, sChannelOr otherwise.
  const std::string& ActiveListText() const { return nMethod == 1 ? sChannelAnd : sChannelOr; }
  // Parses text into nChannelList (at most nMaxChannels entries).
  void SetChannels(const std::string& text, int largestCount);

  // Results of the last run.
  int nEvents = 0;
  std::vector<int> nTraceTriggers;                   // per trace index, nMaxChannels entries
  std::vector<float> fEventTime;                     // seconds from the first sample
  std::vector<std::vector<float>> fTraceTriggerTime;  // per trace index, the first 10000 trigger times
  std::vector<int> nEventChannels;
  // Where each event begins (seconds from the first sample): the detector's
  // event time is the first test sample whose W2 holds enough of the event,
  // up to W2 before its energy arrives. Never moved by bDetectEnd; not in
  // the event file.
  std::vector<float> fEventOnset;
  // The largest RMS ratio (RMS2 / RMS1) any channel reached from the event's
  // first candidate to its last, and the trace index of that channel (-1
  // when no channel triggered, as with AND and no channel needed).
  // A ratio beyond kLargestRatio (a background of nearly nothing before the
  // event) is given as kLargestRatio.
  static constexpr float kLargestRatio = 1e10f;
  std::vector<float> fEventMaxRatio;
  std::vector<int> nEventMaxRatioChannel;
  // Seconds from the event's first candidate to the end of its last.
  std::vector<float> fEventDuration;
  // How the record's sampling changed the band-pass (a corner at or above
  // its Nyquist frequency is left out), in the station's words; empty when
  // the band-pass ran as set or was off.
  std::string sBandPassNote;
  // The last of those notes the station said, so that each is said once
  // for a run of records sampled alike.
  std::string sBandPassNoteSaid;

  // Parameters.
  int nChannels = 0;
  std::vector<int> nChannelList;
  int nMethod = 1;  // 1 AND, anything else OR
  float fTimeWindow1 = 100.0f;
  float fTimeWindow2 = 500.0f;
  float fRmsRatio = 10.0f;
  int nMinimumChannels = 5;
  int bDetectEnd = 0;
  // Trigger rules, stored but without a control in the dialog; the
  // defaults leave the detector as it always was.
  float fMinimumDuration = 0.0f;  // s: the combined trigger must last this long
  int nGlitchPercent = 0;         // 0 off; else a trigger beginning on one sample on this share of the channels...
  int nGlitchSamples = 0;         // ...and lasting fewer samples than this is no event
  int bWholeEvents = 0;           // 1: an event lasts to the end of its trigger; the next follows fEventGap later
  float fEventGap = 0.0f;         // s
  int bBandPass = 0;              // 1: the ratio is taken on band-passed traces
  float fBandPassLow = 1.0f;      // Hz, 0: no low corner
  float fBandPassHigh = 10.0f;    // Hz, 0: no high corner
  std::string sChannelAnd;
  std::string sChannelOr;
  int nMaxChannels = 512;
};

}  // namespace zentrova

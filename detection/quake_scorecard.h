#pragma once
// How well the detector finds earthquakes in labelled records (an
// analyst's P onset per record). Each record is scored twice: its part
// before 28 s is background noise, and any event found there is a false
// alarm; its part from 20 s on holds the quake, which counts as detected
// when the first event found there begins (its onset) within 0.5 s of the
// P onset. The parts are scanned as records of their own, so that one
// part's samples never reach into the other's windows.

#include <memory>
#include <string>
#include <vector>

#include "detection/event_detection_parameters.h"
#include "platform/file_system.h"
#include "records/seismic_record.h"

namespace zentrova {

inline constexpr double kNoiseEndsS = 28.0;
inline constexpr double kEventPartBeginsS = 20.0;
inline constexpr double kDetectedWithinS = 0.5;

// One labelled record, cut into its two parts.
struct LabelledQuake {
  std::string file;
  double pickS = 0.0;  // the P onset, seconds from the record's first sample
  std::unique_ptr<SeismicRecord> noise = std::make_unique<SeismicRecord>();
  std::unique_ptr<SeismicRecord> event = std::make_unique<SeismicRecord>();  // begins kEventPartBeginsS in
};

struct QuakeSet {
  std::vector<LabelledQuake> quakes;
  std::string why;  // what could not be read; empty when every record was
};

// The records listed in FOLDER/labels.csv ("file,p_sample,..." with a head
// line), read and cut.
QuakeSet ReadLabelledQuakes(FileSystem& fs, const std::string& folder);

struct QuakeScore {
  int records = 0;
  int detected = 0;
  int detectedByTime = 0;  // the same with the first event's time in place of its onset
  int falseAlarms = 0;     // records with an event in their noise part
  double medianOnsetErrorS = 0.0;  // |onset - P| over the detected records (0 for none)
};

QuakeScore ScoreQuakes(const std::vector<LabelledQuake>& quakes, const EventDetectionParameters& p);

// "43 of 52 (82.7 %)"
std::string ShareText(int part, int whole);

// A table line: name, detections (by onset and by event time), false
// alarms, median onset error.
std::string ScorecardLine(const std::string& name, const QuakeScore& s);

// One threshold of the textbook STA/LTA yardstick (bench/quake_anchor.py).
struct AnchorScore {
  double threshold = 0.0;
  int records = 0;
  int detected = 0;
  int falseAlarms = 0;
};

// The script's lines "threshold records detected false-alarms".
std::vector<AnchorScore> ParseAnchorScores(const std::string& text);
// The threshold with most detections less false alarms (fewer false alarms
// among equals); a score of no records when there is none.
AnchorScore BestAnchorScore(const std::vector<AnchorScore>& scores);

}  // namespace zentrova

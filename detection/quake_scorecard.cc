#include "detection/quake_scorecard.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "detection/event_detector.h"
#include "platform/memory_file_system.h"
#include "platform/number_text.h"
#include "platform/printf.h"
#include "records/seg2_reader.h"

namespace zentrova {
namespace {

// Samples [from, to) of every trace as a record of their own.
void CutPart(const SeismicRecord& whole, int64_t from, int64_t to, SeismicRecord& part) {
  part.AllocateTraces(whole.nTraces);
  part.nTraces = whole.nTraces;
  part.bAllocated = 1;
  part.strFileName = whole.strFileName;
  for (int i = 0; i < whole.nTraces; ++i) {
    const std::vector<float>& x = whole.ppData[i];
    const int64_t a = std::min<int64_t>(from, static_cast<int64_t>(x.size()));
    const int64_t b = std::min<int64_t>(std::max(to, a), static_cast<int64_t>(x.size()));
    part.pHeader[i] = whole.pHeader[i];
    part.ppData[i].assign(x.begin() + a, x.begin() + b);
    part.pHeader[i].nSamples = static_cast<int32_t>(b - a);
  }
}

std::string ReadFileText(FileSystem& fs, const std::string& path) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return "";
  std::string text(static_cast<size_t>(std::min<uint64_t>((*file)->Size(), 1 << 20)), '\0');
  auto n = (*file)->ReadAt(0, text.size(), text.data());
  text.resize(n.ok() ? *n : 0);
  return text;
}

}  // namespace

QuakeSet ReadLabelledQuakes(FileSystem& fs, const std::string& folder) {
  QuakeSet set;
  std::istringstream labels(ReadFileText(fs, folder + "/labels.csv"));
  std::string line;
  if (!std::getline(labels, line)) {
    set.why = "no labels in " + folder + "/labels.csv";
    return set;
  }
  while (std::getline(labels, line)) {
    std::istringstream fields(line);
    std::string file, pick;
    std::getline(fields, file, ',');
    std::getline(fields, pick, ',');
    const auto pSample = WholeInteger(pick);
    if (file.empty() || !pSample) continue;
    SeismicRecord whole;
    int status = 0;
    if (ReadSeg2File(fs, whole, folder + "/" + file, 1, 1, status) <= 0 || whole.nTraces <= 0 ||
        !(whole.pHeader[0].fSampleInterval > 0.0f)) {
      set.why += (set.why.empty() ? "cannot read " : ", ") + file;
      continue;
    }
    const double dt = whole.pHeader[0].fSampleInterval / 1e6;
    LabelledQuake q;
    q.file = file;
    q.pickS = static_cast<double>(*pSample) * dt;
    CutPart(whole, 0, std::llround(kNoiseEndsS / dt), *q.noise);
    CutPart(whole, std::llround(kEventPartBeginsS / dt), whole.pHeader[0].nSamples, *q.event);
    set.quakes.push_back(std::move(q));
  }
  return set;
}

QuakeScore ScoreQuakes(const std::vector<LabelledQuake>& quakes, const EventDetectionParameters& p) {
  QuakeScore score;
  MemoryFileSystem none;  // no event file
  EventDetectionParameters q = p;
  std::vector<double> errors;
  for (const LabelledQuake& quake : quakes) {
    ++score.records;
    if (DetectEvents(q, *quake.noise, none, "", 0) > 0) ++score.falseAlarms;
    if (DetectEvents(q, *quake.event, none, "", 0) == 0) continue;
    if (std::fabs(kEventPartBeginsS + q.fEventTime[0] - quake.pickS) <= kDetectedWithinS) ++score.detectedByTime;
    const double error = std::fabs(kEventPartBeginsS + q.fEventOnset[0] - quake.pickS);
    if (error <= kDetectedWithinS) {
      ++score.detected;
      errors.push_back(error);
    }
  }
  if (!errors.empty()) {
    std::sort(errors.begin(), errors.end());
    const size_t n = errors.size();
    score.medianOnsetErrorS = n % 2 ? errors[n / 2] : (errors[n / 2 - 1] + errors[n / 2]) / 2.0;
  }
  return score;
}

std::string ScorecardLine(const std::string& name, const QuakeScore& s) {
  return Printf("%-34s detected %s (by event time %d), false alarms %s, median onset error %.3f s", name.c_str(),
                ShareText(s.detected, s.records).c_str(), s.detectedByTime, ShareText(s.falseAlarms, s.records).c_str(),
                s.medianOnsetErrorS);
}

std::vector<AnchorScore> ParseAnchorScores(const std::string& text) {
  std::vector<AnchorScore> scores;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    AnchorScore a;
    if (fields >> a.threshold >> a.records >> a.detected >> a.falseAlarms) scores.push_back(a);
  }
  return scores;
}

AnchorScore BestAnchorScore(const std::vector<AnchorScore>& scores) {
  AnchorScore best;
  for (const AnchorScore& a : scores) {
    const int margin = a.detected - a.falseAlarms, bestMargin = best.detected - best.falseAlarms;
    if (best.records == 0 || margin > bestMargin || (margin == bestMargin && a.falseAlarms < best.falseAlarms)) best = a;
  }
  return best;
}

std::string ShareText(int part, int whole) {
  return Printf("%d of %d (%.1f %%)", part, whole, whole > 0 ? 100.0 * part / whole : 0.0);
}

}  // namespace zentrova

// The detector on 52 earthquake records labelled by analysts (none of them
// here): with the recommended settings of bench/data/detect_quakes.ini it
// must find more quakes and raise fewer false alarms than a textbook
// STA/LTA at its best threshold, computed in the same run by an
// independent script (bench/quake_anchor.py, numpy).

#include <filesystem>
#include <iostream>

#include <gtest/gtest.h>

#include "detection/quake_scorecard.h"
#include "platform/linux_file_system.h"
#include "testing/child_process.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"
#include "tools/seg2_tool/detection_options.h"

namespace zentrova {
namespace {

const std::string kSource = ZENTROVA_SOURCE_DIR;

QuakeScore Score(FileSystem& fs, const std::vector<LabelledQuake>& quakes, const DetectionSource& source) {
  EventDetectionParameters p;
  const LoadedDetection loaded = LoadDetection(fs, source, p);
  EXPECT_EQ(loaded.error, "");
  return ScoreQuakes(quakes, p);
}

TEST(DetectScorecard, TheRecommendedSettingsBeatTheTextbookStaLtaOnDetectionsAndFalseAlarms) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const std::string folder = testing::SharedDataFolder() + "/quakes";
  if (!std::filesystem::exists(folder + "/labels.csv")) GTEST_SKIP() << "no labelled earthquakes in " << folder;
  LinuxFileSystem fs;
  const QuakeSet set = ReadLabelledQuakes(fs, folder);
  ASSERT_EQ(set.why, "");
  ASSERT_EQ(set.quakes.size(), 52u);

  testing::TempFolder config;  // no product.ini: the built-in parameters
  DetectionSource defaults;
  defaults.configDir = config.path();
  DetectionSource orDefaults = defaults;
  orDefaults.overrides = {{"EVENT_DETECTION_METHOD", "0"}, {"EVENT_DETECTION_CHANNEL_OR", "0-2"}};
  DetectionSource recommended;
  recommended.configFile = kSource + "/bench/data/detect_quakes.ini";
  const QuakeScore plain = Score(fs, set.quakes, defaults);
  const QuakeScore plainOr = Score(fs, set.quakes, orDefaults);
  const QuakeScore tuned = Score(fs, set.quakes, recommended);
  std::cout << ScorecardLine("built-in parameters", plain) << "\n"
            << ScorecardLine("built-in, OR over the 3 channels", plainOr) << "\n"
            << ScorecardLine("bench/data/detect_quakes.ini", tuned) << "\n";
  // AND over five channels: three components never make an event.
  EXPECT_EQ(plain.detected + plain.falseAlarms, 0);

  const testing::ProcessResult anchor = testing::RunProcess({"/usr/bin/python3", kSource + "/bench/quake_anchor.py", folder});
  if (anchor.exitCode != 0) GTEST_SKIP() << "the STA/LTA yardstick did not run (it needs /usr/bin/python3 with numpy): " << anchor.err;
  const std::vector<AnchorScore> scores = ParseAnchorScores(anchor.out);
  const AnchorScore best = BestAnchorScore(scores);
  for (const AnchorScore& a : scores) {
    std::cout << "STA/LTA energy ratio > " << a.threshold << ": detected " << ShareText(a.detected, a.records)
              << ", false alarms " << ShareText(a.falseAlarms, a.records) << (a.threshold == best.threshold ? " (best)" : "")
              << "\n";
    // The yardstick as published for these records.
    if (a.threshold == 15) {
      EXPECT_EQ(a.detected * 100 + a.falseAlarms, 43 * 100 + 9);
    }
    if (a.threshold == 20) {
      EXPECT_EQ(a.detected * 100 + a.falseAlarms, 42 * 100 + 5);
    }
  }
  ASSERT_EQ(best.records, 52);
  EXPECT_GT(tuned.detected, best.detected);
  EXPECT_LT(tuned.falseAlarms, best.falseAlarms);
}

}  // namespace
}  // namespace zentrova

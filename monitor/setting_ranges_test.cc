#include "monitor/setting_ranges.h"

#include <gtest/gtest.h>

#include "monitor/ranged_store.h"
#include "monitor/zentrova_doc.h"
#include "platform/clock.h"
#include "platform/memory_file_system.h"
#include "platform/system_info.h"
#include "platform/prompt.h"

namespace zentrova {
namespace {

TEST(SettingRanges, ReplacesAnUnsoundValueByTheNearestSoundOne) {
  struct Case {
    const char* key;
    const char* stored;
    const char* used;
    const char* note;  // "" when the stored value is sound
  };
  const Case cases[] = {
      {"nMinNoFile", "7", "7", ""},
      {"nMinNoFile", "-1", "0", "nMinNoFile=-1 is out of range (0 to 10080); 0 is used."},
      {"nMinNoFile", "abc", "5", "nMinNoFile=abc is not a number; 5 is used."},
      {"nMinNoFile", "5 min", "5", "nMinNoFile=5 min is not a number; 5 is used."},
      {"nMinNoFile", "2.6", "3", "nMinNoFile=2.6 is not written as a whole number; 3 is used."},
      {"iInterval", "99", "4", "iInterval=99 is out of range (0 to 4); 4 is used."},
      {"iInterval", "-1", "0", "iInterval=-1 is out of range (0 to 4); 0 is used."},
      {"bMoveToFolder", "2", "1", "bMoveToFolder=2 is out of range (0 to 1); 1 is used."},
      {"fBatteryWarning", "11.500000", "11.500000", ""},
      {"fBatteryWarning", "nan", "11.000000", "fBatteryWarning=nan is not a number; 11 is used."},
      {"fBatteryShutdown", "-3", "0.000000", "fBatteryShutdown=-3 is out of range (0 to 100); 0 is used."},
      {"dDiskSpaceRatio", "1.5", "1.000000", "dDiskSpaceRatio=1.5 is out of range (0 to 1); 1 is used."},
      {"bActive_9", "7", "1", "bActive_9=7 is out of range (0 to 1); 1 is used."},
      {"iBatteryCheckInterval", "0", "1", "iBatteryCheckInterval=0 is out of range (1 to 1440); 1 is used."},
      {"iReportInterval", "", "", ""},
      // Too large for a double, yet a number: beyond the end of the range.
      {"fBatteryWarning", "1e400", "100.000000", "fBatteryWarning=1e400 is out of range (0 to 100); 100 is used."},
      {"fBatteryWarning", " -1e400 ", "0.000000", "fBatteryWarning= -1e400  is out of range (0 to 100); 0 is used."},
      {"nMinNoFile", "1e400", "10080", "nMinNoFile=1e400 is out of range (0 to 10080); 10080 is used."},
      {"fBatteryWarning", "inf", "11.000000", "fBatteryWarning=inf is not a number; 11 is used."},
      {"fBatteryWarning", "1e400x", "11.000000", "fBatteryWarning=1e400x is not a number; 11 is used."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
    MemoryStore inner;
    inner.values[c.key] = c.stored;
    RangedStore store(inner, ProfileSettingRanges(), "Zentrova.ini");
    EXPECT_EQ(store.Get(c.key), std::optional<std::string>(c.used));
    if (*c.note) {
      ASSERT_EQ(store.notes().size(), 1u);
      EXPECT_EQ(store.notes()[0], std::string("Zentrova.ini: ") + c.note);
    } else {
      EXPECT_TRUE(store.notes().empty());
    }
  }
}

TEST(SettingRanges, TheProductValuesToo) {
  MemoryStore inner;
  inner.values = {{"iPortNumber", "99999"}, {"EVENT_DETECTION_MINIMUM_N_CHANNEL", "0"}, {"SMTPServer", "x"},
                  {"EVENT_DETECTION_EVENT_GAP", "1e400"}};
  RangedStore store(inner, ProductSettingRanges(), "product.ini");
  EXPECT_EQ(store.Get("iPortNumber"), "65535");
  EXPECT_EQ(store.Get("EVENT_DETECTION_MINIMUM_N_CHANNEL"), "1");
  EXPECT_EQ(store.Get("EVENT_DETECTION_EVENT_GAP"), "86400.000000");
  EXPECT_EQ(store.Get("SMTPServer"), "x");
  EXPECT_EQ(store.Get("SMTPUsername"), std::nullopt);
  EXPECT_EQ(store.notes().size(), 3u);
  store.Set("iPortNumber", "465");
  EXPECT_EQ(inner.values["iPortNumber"], "465");
}

// The document built on the stores sees only sound values, and the
// defaults of the table are the document's own.
TEST(SettingRanges, TheDocumentSeesSoundValuesAndTheSameDefaults) {
  MemoryFileSystem fs;
  FakeClock clock{1584259445};
  FixedSystemInfo system;
  RecordingPrompt prompt;
  MemoryStore emptyProfile, emptyProduct;
  Platform plain{fs, emptyProfile, emptyProduct, clock, system, prompt};
  CZentrovaDoc defaults(plain);
  auto fallback = [](const char* key) { return FindSettingRange(ProfileSettingRanges(), key)->fallback; };
  EXPECT_EQ(defaults.settingsBlock.nMinNoFile, fallback("nMinNoFile"));
  EXPECT_EQ(defaults.settingsBlock.fBatteryWarning, static_cast<float>(fallback("fBatteryWarning")));
  EXPECT_EQ(defaults.settingsBlock.fBatteryShutdown, static_cast<float>(fallback("fBatteryShutdown")));
  EXPECT_EQ(defaults.settingsBlock.dDiskSpaceRatio, fallback("dDiskSpaceRatio"));
  EXPECT_EQ(defaults.settingsBlock.bReportEMail, fallback("bReportEMail"));
  EXPECT_EQ(defaults.nDataConcatenate, fallback("nDataConcatenate"));
  EXPECT_EQ(defaults.iReportInterval, fallback("iReportInterval"));
  EXPECT_EQ(defaults.iBatteryCheckInterval, fallback("iBatteryCheckInterval"));

  MemoryStore profile, product;
  profile.values = {{"nMinNoFile", "-1"}, {"iBatteryCheckInterval", "abc"}, {"fBatteryWarning", "1e9"}};
  RangedStore rangedProfile(profile, ProfileSettingRanges(), "Zentrova.ini");
  RangedStore rangedProduct(product, ProductSettingRanges(), "product.ini");
  Platform ranged{fs, rangedProfile, rangedProduct, clock, system, prompt};
  CZentrovaDoc doc(ranged);
  EXPECT_EQ(doc.settingsBlock.nMinNoFile, 0);
  EXPECT_EQ(doc.iBatteryCheckInterval, 15);
  EXPECT_FLOAT_EQ(doc.settingsBlock.fBatteryWarning, 100.0f);
  EXPECT_EQ(rangedProfile.notes().size(), 3u);
}

}  // namespace
}  // namespace zentrova

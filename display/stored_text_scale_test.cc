#include "display/stored_text_scale.h"

#include <gtest/gtest.h>

#include "display/plot_frame.h"
#include "display/text_scale.h"
#include "platform/key_value_store.h"

namespace zentrova {
namespace {

TEST(StoredTextScale, TheStoredFactorSizesEveryPlotText) {
  struct Case {
    const char* stored;  // nullptr: no value stored
    int caption, label;
  };
  const Case cases[] = {{nullptr, 50, 35}, {"1.500000", 75, 52}, {"1.0", 50, 35}, {"9", 50, 35}, {"abc", 50, 35}};
  for (const Case& c : cases) {
    MemoryStore profile, product;
    if (c.stored) profile.Set(kTextScaleKey, c.stored);
    Settings settings(profile, product);
    UseStoredTextScale(settings);
    EXPECT_EQ(CaptionFont().height, c.caption) << (c.stored ? c.stored : "none");
    EXPECT_EQ(TickLabelFont().height, c.label) << (c.stored ? c.stored : "none");
  }
  SetTextScale(1.0f);
}

}  // namespace
}  // namespace zentrova

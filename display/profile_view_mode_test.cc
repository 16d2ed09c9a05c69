#include "display/profile_view_mode.h"

#include <gtest/gtest.h>

#include "platform/key_value_store.h"

namespace zentrova {
namespace {

struct Stores {
  MemoryStore profile;
  MemoryStore product;
  Settings settings{profile, product};
};

TEST(ProfileViewMode, ReadsTheStoredModeWithinZeroToTwo) {
  struct Case {
    const char* stored;
    int mode;
    const char* title;
  };
  for (const Case c : {Case{"", 0, "Distance (m)"}, Case{"1", 1, "Frequency (Hz)"}, Case{"2", 2, "Depth (m)"},
                       Case{"3", 0, "Distance (m)"}, Case{"-1", 0, "Distance (m)"}, Case{"x", 0, "Distance (m)"}}) {
    SCOPED_TRACE(c.stored);
    Stores st;
    if (*c.stored) st.profile.values[kViewModeKey] = c.stored;
    const ProfileViewMode mode(st.settings);
    EXPECT_EQ(mode.iViewMode, c.mode);
    EXPECT_EQ(mode.VerticalTitle(), c.title);
  }
}

TEST(ProfileViewMode, ACommandSetsAndStoresItsModeAndTheActiveOneIsCheckedAndDisabled) {
  Stores st;
  ProfileViewMode mode(st.settings);
  const int commands[3] = {32802, 32803, 32804};
  for (int m : {2, 1, 0, 2}) {
    SCOPED_TRACE(m);
    ASSERT_TRUE(mode.RunCommand(commands[m]));
    EXPECT_EQ(mode.iViewMode, m);
    EXPECT_EQ(st.profile.values[kViewModeKey], std::to_string(m));  // stored at once
    for (int other = 0; other < 3; ++other) {
      EXPECT_TRUE(mode.HandlesCommand(commands[other]));
      EXPECT_EQ(mode.CommandChecked(commands[other]), other == m);
      EXPECT_EQ(mode.CommandEnabled(commands[other]), other != m);
    }
  }
  EXPECT_FALSE(mode.HandlesCommand(32801));
  EXPECT_FALSE(mode.RunCommand(32805));
  EXPECT_EQ(mode.iViewMode, 2);
  // A reopened view starts in the last mode.
  EXPECT_EQ(ProfileViewMode(st.settings).iViewMode, 2);
  EXPECT_EQ(ProfileModeMenuText(0), "Max. amplitude");
  EXPECT_EQ(ProfileModeMenuText(1), "Phase velocity");
  EXPECT_EQ(ProfileModeMenuText(2), "S-wave velocity profile");
}

}  // namespace
}  // namespace zentrova

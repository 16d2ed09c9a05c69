// The phase-velocity and profile windows and what all three views share:
// the factory, the closed state at destruction, the drawn flags.

#include <gtest/gtest.h>

#include <QImage>

#include "app/views/phase_velocity_view.h"
#include "app/views/profile_view.h"
#include "app/views/views_test_support.h"
#include "app/views/waveform_view.h"

namespace zentrova {
namespace {

using testing::ViewsFixture;

TEST(ViewWindows, EachTemplateMakesItsViewAndOthersNone) {
  ViewsFixture f;
  for (int id : {kWaveformViewTemplate, kPhaseVelocityViewTemplate, kProfileViewTemplate}) {
    auto view = f.Open(id);
    ASSERT_NE(view, nullptr) << id;
    EXPECT_EQ(view->TemplateId(), id);
  }
  EXPECT_EQ(CreateViewWindow(130, f.Sources(), nullptr), nullptr);
  EXPECT_EQ(CreateViewWindow(313, f.Sources(), nullptr), nullptr);
}

TEST(ViewWindows, AClosedViewStoresItsClosedStateUnlessTheProgramIsExiting) {
  struct Case {
    int templateId;
    const char* key;
    int exiting;
    const char* stored;
  };
  const Case cases[] = {
      {kWaveformViewTemplate, "bWaveformView", 0, "0"},
      {kWaveformViewTemplate, "bWaveformView", 1, "1"},
      {kPhaseVelocityViewTemplate, "bPhaseVelocityView", 0, "0"},
      {kPhaseVelocityViewTemplate, "bPhaseVelocityView", 1, "1"},
      {kProfileViewTemplate, "bSeisProfileView", 0, "0"},
      {kProfileViewTemplate, "bSeisProfileView", 1, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " exiting " + std::to_string(c.exiting));
    ViewsFixture f;
    f.st.profile.values[c.key] = "1";  // as the shell stores it when it opens the view
    auto view = f.Open(c.templateId);
    ASSERT_NE(view, nullptr);
    f.bExiting = c.exiting;
    view.reset();
    EXPECT_EQ(f.st.profile.values[c.key], c.stored);
  }
}

TEST(ViewWindows, DrawingTheVelocityViewsSetsTheDocumentsDrawnFlags) {
  ViewsFixture f;
  EXPECT_EQ(f.Doc().bPhaseViewDrawn, 0);
  EXPECT_EQ(f.Doc().bProfileViewDrawn, 0);
  auto phase = f.Open(kPhaseVelocityViewTemplate);
  phase->resize(600, 400);
  phase->grab();
  EXPECT_EQ(f.Doc().bPhaseViewDrawn, 1);
  EXPECT_EQ(f.Doc().bProfileViewDrawn, 0);
  auto profile = f.Open(kProfileViewTemplate);
  profile->resize(600, 400);
  profile->grab();
  EXPECT_EQ(f.Doc().bProfileViewDrawn, 1);
}

TEST(PhaseVelocityView, HasNoCommandsAndTheTitlesOfItsAxes) {
  ViewsFixture f;
  auto view = f.Open(kPhaseVelocityViewTemplate);
  auto* phase = static_cast<CPhaseVelocityView*>(view.get());
  EXPECT_EQ(phase->axes.strXTitle, "Phase velocity (m/sec)");
  EXPECT_EQ(phase->axes.strYTitle, "Frequency (Hz)");
  EXPECT_EQ(phase->axes.bYDown, 1);
  for (int id : {32781, 32782, 32783, 32802}) EXPECT_FALSE(phase->HandlesCommand(id)) << id;
}

// The three mode commands against the mode: the active one checked and
// disabled, the others enabled without a check mark.
void ExpectModeRule(const CSeisProfileView& view, int mode) {
  for (int m = 0; m < 3; ++m) {
    const int id = 32802 + m;
    EXPECT_TRUE(view.HandlesCommand(id)) << id;
    EXPECT_EQ(view.CommandChecked(id), m == mode) << id;
    EXPECT_EQ(view.CommandEnabled(id), m != mode) << id;
  }
  EXPECT_FALSE(view.HandlesCommand(32781));
  EXPECT_FALSE(view.HandlesCommand(32805));
}

TEST(ProfileView, StartsInTheStoredModeWithItsTitleAndRule) {
  struct Case {
    const char* stored;
    int mode;
    const char* title;
  };
  for (const Case c : {Case{nullptr, 0, "Distance (m)"}, Case{"1", 1, "Frequency (Hz)"}, Case{"2", 2, "Depth (m)"},
                       Case{"7", 0, "Distance (m)"}, Case{"-1", 0, "Distance (m)"}}) {
    SCOPED_TRACE(c.stored ? c.stored : "none");
    ViewsFixture f;
    if (c.stored) f.st.profile.values["iViewMode"] = c.stored;
    auto view = f.Open(kProfileViewTemplate);
    auto* profile = static_cast<CSeisProfileView*>(view.get());
    EXPECT_EQ(profile->ViewMode(), c.mode);
    EXPECT_EQ(profile->axes.strYTitle, c.title);
    EXPECT_EQ(profile->axes.strXTitle, "Shot");
    ExpectModeRule(*profile, c.mode);
  }
}

TEST(ProfileView, AModeCommandStoresTheModeAtOnceAndAReopenedViewStartsInIt) {
  struct Step {
    int command;
    int mode;
    const char* title;
  };
  ViewsFixture f;
  {
    auto view = f.Open(kProfileViewTemplate);
    auto* profile = static_cast<CSeisProfileView*>(view.get());
    for (const Step s : {Step{32804, 2, "Depth (m)"}, Step{32803, 1, "Frequency (Hz)"}, Step{32802, 0, "Distance (m)"},
                         Step{32803, 1, "Frequency (Hz)"}}) {
      SCOPED_TRACE(s.command);
      profile->RunCommand(s.command);
      EXPECT_EQ(f.st.profile.values["iViewMode"], std::to_string(s.mode));
      EXPECT_EQ(profile->ViewMode(), s.mode);
      EXPECT_EQ(profile->axes.strYTitle, s.title);
      ExpectModeRule(*profile, s.mode);
    }
    // The active mode's command is disabled and does nothing.
    f.st.profile.values["iViewMode"] = "9";
    profile->RunCommand(32803);
    EXPECT_EQ(f.st.profile.values["iViewMode"], "9");
    profile->RunCommand(32781);
    EXPECT_EQ(profile->ViewMode(), 1);
    f.st.profile.values["iViewMode"] = "1";
  }
  auto again = f.Open(kProfileViewTemplate);
  EXPECT_EQ(static_cast<CSeisProfileView*>(again.get())->ViewMode(), 1);
}

}  // namespace
}  // namespace zentrova

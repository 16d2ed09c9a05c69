// Each view on real records, as an operator sees it: the records go
// through real monitor cycles with the analysis, the windows are rendered
// and kept in ${ZENTROVA_BINARY_DIR}/pictures/views for a person to look at.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <filesystem>

#include "app/views/profile_view.h"
#include "app/views/views_test_support.h"
#include "testing/shared_data.h"

namespace zentrova {
namespace {

using testing::ViewsFixture;

// The share of pixels of the picture that are not the background.
double InkShare(const QImage& image) {
  long ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += (image.pixel(x, y) & 0xffffffu) != 0xffffffu;
  return static_cast<double>(ink) / (static_cast<double>(image.width()) * image.height());
}

QImage Render(ViewWindow& view, const std::string& name) {
  view.resize(1000, 700);
  const QImage image = view.grab().toImage();
  const std::string path = testing::ViewPicturesFolder() + "/" + name + ".png";
  EXPECT_TRUE(image.save(QString::fromStdString(path))) << path;
  return image;
}

// Three shots of a line survey through the cycles, each analysed.
void AnalyseShots(ViewsFixture& f) {
  CZentrovaDoc& doc = f.Doc();
  ConnectSurfaceWaves(doc, *f.followUp);
  doc.MoveExistingFiles();
  for (const char* shot : {"1", "6", "10"}) {
    const std::string name = std::string("swprocess_wghs_") + shot + ".dat";
    std::filesystem::copy_file(testing::SharedSeg2Folder() + "/" + name, f.st.root.Path(name));
    std::filesystem::rename(f.st.root.Path(name), f.st.watched + "/" + name);
    ASSERT_EQ(doc.CheckNewFiles(), 1) << name;
  }
}

TEST(ViewPictures, EachViewOnRealRecords) {
  ZENTROVA_NEEDS_SHARED_DATA();
  ViewsFixture f;
  // As the shell opens the three views: their flags make the cycles read the samples.
  f.Doc().views = OpenViews{1, 1, 1};
  auto waveform = f.Open(kWaveformViewTemplate);
  auto phase = f.Open(kPhaseVelocityViewTemplate);
  auto profile = f.Open(kProfileViewTemplate);
  // Drawn once before the records come, as when the windows are open: the
  // cycles then run the analysis and collect the profile.
  for (ViewWindow* view : {waveform.get(), phase.get(), profile.get()}) view->grab();
  AnalyseShots(f);
  ASSERT_EQ(f.followUp->profiles.Count(), 3);
  for (ViewWindow* view : {waveform.get(), phase.get(), profile.get()}) view->UpdateFromDocument();

  EXPECT_EQ(waveform->windowTitle(), "Waveform data - swprocess_wghs_10.dat");
  EXPECT_EQ(phase->windowTitle(), "Phase velocity - swprocess_wghs_10.dat");
  EXPECT_EQ(profile->windowTitle(), "Profile - Max. amplitude (3 shots)");

  const double plain = InkShare(Render(*waveform, "waveform"));
  EXPECT_GT(plain, 0.02);
  waveform->RunCommand(32781);
  EXPECT_GT(InkShare(Render(*waveform, "waveform_normalized")), plain);  // the quiet traces grow
  EXPECT_GT(InkShare(Render(*phase, "phase_velocity")), 0.3);  // the dispersion image fills the frame
  const char* modes[] = {"profile_max_amplitude", "profile_phase_velocity", "profile_s_wave_velocity"};
  for (int mode = 0; mode < 3; ++mode) {
    if (mode > 0) profile->RunCommand(32802 + mode);
    EXPECT_GT(InkShare(Render(*profile, modes[mode])), 0.05) << modes[mode];
  }
  // The S-wave columns leave their layers in the station's current folder, the watched one.
  EXPECT_TRUE(std::filesystem::exists(f.st.watched + "/ShowSWaveVelocityProfile.txt"));
}

}  // namespace
}  // namespace zentrova

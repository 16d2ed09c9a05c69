// The waveform window: its commands' rules, the gain and its keys, the
// normalisation, and a paint while the monitor thread replaces the record.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <atomic>
#include <cmath>
#include <thread>

#include "app/views/phase_velocity_view.h"
#include "app/views/views_test_support.h"
#include "app/views/waveform_view.h"

namespace zentrova {
namespace {

using testing::ViewsFixture;

CWaveformView& Waveform(std::unique_ptr<ViewWindow>& view) { return *static_cast<CWaveformView*>(view.get()); }

// Sends a key press as the window gets it; true when the window took it.
bool Press(ViewWindow& view, int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &event);
  return event.isAccepted();
}

TEST(WaveformView, CommandsAreEnabledOnlyWhileTheRecordHoldsATrace) {
  struct Case {
    int traces;
    bool enabled;
  };
  for (const Case c : {Case{0, false}, Case{1, true}, Case{3, true}}) {
    SCOPED_TRACE(c.traces);
    ViewsFixture f;
    if (c.traces > 0) {
      ASSERT_EQ(f.Read(f.st.WriteRecord("1.sg2", c.traces)), c.traces);
    }
    auto view = f.Open(kWaveformViewTemplate);
    for (int id : {32781, 32782, 32783}) {
      EXPECT_TRUE(view->HandlesCommand(id)) << id;
      EXPECT_EQ(view->CommandEnabled(id), c.enabled) << id;
      EXPECT_FALSE(view->CommandChecked(id)) << id;
    }
    for (int id : {32780, 32784, 32802}) EXPECT_FALSE(view->HandlesCommand(id)) << id;
  }
}

TEST(WaveformView, NormalizeTogglesWithItsCheckMark) {
  ViewsFixture f;
  f.Read(f.st.WriteRecord("1.sg2", 3));
  auto view = f.Open(kWaveformViewTemplate);
  EXPECT_EQ(Waveform(view).bNormalize, 0);
  for (int expected : {1, 0, 1}) {
    view->RunCommand(32781);
    EXPECT_EQ(Waveform(view).bNormalize, expected);
    EXPECT_EQ(view->CommandChecked(32781), expected == 1);
    EXPECT_FALSE(view->CommandChecked(32782));
  }
}

TEST(WaveformView, UpAndDownStepTheGainByTheSquareRootOfTwo) {
  ViewsFixture f;
  f.Read(f.st.WriteRecord("1.sg2", 3));
  auto view = f.Open(kWaveformViewTemplate);
  CWaveformView& w = Waveform(view);
  EXPECT_FLOAT_EQ(w.fGain, 0.8f);
  EXPECT_TRUE(Press(*view, Qt::Key_Up));
  EXPECT_NEAR(w.fGain, 1.1314f, 1e-4);
  EXPECT_TRUE(Press(*view, Qt::Key_Up));
  EXPECT_NEAR(w.fGain, 1.6f, 1e-5);
  EXPECT_TRUE(Press(*view, Qt::Key_Down));
  EXPECT_NEAR(w.fGain, 1.1314f, 1e-4);
  view->RunCommand(32783);
  EXPECT_NEAR(w.fGain, 0.8f, 1e-6);
  view->RunCommand(32782);
  EXPECT_NEAR(w.fGain, 1.1314f, 1e-4);
  // Other keys are left to the frame and change nothing.
  for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_A, Qt::Key_Plus}) {
    EXPECT_FALSE(Press(*view, key)) << key;
  }
  EXPECT_NEAR(w.fGain, 1.1314f, 1e-4);
  EXPECT_EQ(w.bNormalize, 0);
}

TEST(WaveformView, WithoutTracesTheGainStaysAndTheKeysDoNothing) {
  ViewsFixture f;
  auto view = f.Open(kWaveformViewTemplate);
  Press(*view, Qt::Key_Up);
  view->RunCommand(32782);
  Press(*view, Qt::Key_Down);
  view->RunCommand(32783);
  EXPECT_FLOAT_EQ(Waveform(view).fGain, 0.8f);
}

TEST(WaveformView, ThePictureFollowsTheGainAndTheNormalisation) {
  ViewsFixture f;
  f.Read(f.st.WriteRecord("1.sg2", 3));
  {
    // One loud trace among quiet ones, so that normalising changes the picture.
    std::lock_guard<std::recursive_mutex> lock(f.Doc().mutex);
    SeismicRecord& r = f.Doc().record;
    for (int j = 0; j < r.pHeader[1].nSamples; ++j) r.ppData[1][j] = (j % 10 < 5 ? 8.0f : -8.0f);
    for (int j = 0; j < r.pHeader[0].nSamples; ++j) r.ppData[0][j] = (j % 10 < 5 ? 1.0f : -1.0f);
    r.ComputeSummary();
  }
  auto view = f.Open(kWaveformViewTemplate);
  view->resize(800, 600);
  const QImage plain = view->grab().toImage();
  view->RunCommand(32781);
  const QImage normalised = view->grab().toImage();
  view->RunCommand(32781);
  EXPECT_EQ(view->grab().toImage(), plain);
  EXPECT_NE(normalised, plain);
  Press(*view, Qt::Key_Up);
  EXPECT_NE(view->grab().toImage(), plain);
  Press(*view, Qt::Key_Down);
  EXPECT_EQ(view->grab().toImage(), plain);
}

// The monitor thread reads one record after another into the document
// while the windows paint it.
TEST(ViewThreads, APaintWhileAnotherThreadReplacesTheRecord) {
  ViewsFixture f;
  const std::string small = f.st.WriteRecord("1.sg2", 3);
  const std::string large = f.st.WriteRecord("2.sg2", 24);
  ASSERT_EQ(f.Read(small), 3);
  auto waveform = f.Open(kWaveformViewTemplate);
  auto phase = f.Open(kPhaseVelocityViewTemplate);
  auto profile = f.Open(kProfileViewTemplate);
  for (ViewWindow* v : {waveform.get(), phase.get(), profile.get()}) v->resize(500, 400);

  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::thread monitor([&] {
    for (int i = 0; !stop.load() || i < 20; ++i) {
      f.Read(i % 2 == 0 ? large : small);
      reads.fetch_add(1);
    }
  });
  int paints = 0;
  while (reads.load() < 20 || paints < 20) {
    for (ViewWindow* v : {waveform.get(), phase.get(), profile.get()}) {
      v->grab();
      v->UpdateFromDocument();
      v->CommandEnabled(32782);
    }
    Press(*waveform, Qt::Key_Up);
    ++paints;
  }
  stop = true;
  monitor.join();
  const std::string title = waveform->windowTitle().toStdString();
  EXPECT_TRUE(title == "Waveform data - 1.sg2" || title == "Waveform data - 2.sg2") << title;
}

}  // namespace
}  // namespace zentrova

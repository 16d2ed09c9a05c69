#include "display/profile_drawing.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "display/caption_fit.h"
#include "display/colour_scale.h"
#include "display/plot_area.h"
#include "display/plot_frame.h"
#include "display/recording_surface.h"
#include "monitor/station_fixture.h"
#include "platform/forwarding_file_system.h"
#include "platform/linux_file_system.h"
#include "surfacewave/surface_wave_input.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using Kind = RecordingSurface::Kind;

// 2000 x 1500 page units: a plot area of 1741 x 1250 (the colour bar's values
// take 9 units beyond the right margin), about 87 units per shot.
constexpr PageSize kArea{2000, 1500};

// The real file system with the process's current folder somewhere else.
class FolderFileSystem : public ForwardingFileSystem {
 public:
  FolderFileSystem(FileSystem& base, std::string folder) : ForwardingFileSystem(base), folder_(std::move(folder)) {}
  std::string CurrentFolder() override { return folder_; }

 private:
  std::string folder_;
};

struct Drawing {
  testing::TempFolder folder;
  LinuxFileSystem real;
  FolderFileSystem fs{real, folder.path()};
  CDrawingParameter dp;
  RecordingSurface surface{kArea};
  PlotAxes axes;

  void Draw(const ProfileList& list, int mode) {
    axes = ProfileAxes(mode);
    DrawProfile(surface, axes, list, mode, dp, fs);
  }
  std::vector<RecordingSurface::Primitive> Cells() const { return surface.Of(Kind::kRectangle); }
};

// Three receivers 2 m apart from 5 m, log amplitudes over -1 .. 2.
SurfaceWaveResult AmplitudeShot() {
  SurfaceWaveResult r;
  r.nAmpTraces = 3;
  r.fPosition[0] = 5.0f;
  r.fPosition[1] = 7.0f;
  r.fPosition[2] = 9.0f;
  r.fLogAmplitude[0] = -1.0f;
  r.fLogAmplitude[1] = 0.55f;
  r.fLogAmplitude[2] = 2.0f;
  r.fPosMin = 5.0f;
  r.fPosMax = 9.0f;
  r.fLogAmpMin = -1.0f;
  r.fLogAmpMax = 2.0f;
  return r;
}

TEST(ProfileDrawing, NothingAtAllForAnEmptyListButTheViewCountsAsDrawn) {
  Drawing d;
  const ProfileList list;
  for (int mode : {0, 1, 2}) d.Draw(list, mode);
  EXPECT_TRUE(d.surface.drawn.empty());
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  ASSERT_EQ(doc.bProfileViewDrawn, 0);
  DrawProfileView(d.surface, d.axes, doc, list, 0);
  EXPECT_EQ(doc.bProfileViewDrawn, 1);
  EXPECT_TRUE(d.surface.drawn.empty());
}

TEST(ProfileDrawing, AmplitudeCellsCentredOnTheReceiversInTheSpreadSpectrum) {
  Drawing d;
  ProfileList list;
  list.AppendResult(AmplitudeShot());
  list.AppendResult(AmplitudeShot());
  d.Draw(list, 0);

  const auto& caption = d.surface.drawn.front();
  EXPECT_EQ(caption.text, "Number of shots = 2");
  EXPECT_EQ(caption.points[0], (PagePoint{10, -10}));
  EXPECT_FALSE(caption.font.has_value());  // the surface's own font
  EXPECT_EQ(d.axes.strYTitle, "Distance (m)");
  EXPECT_EQ(d.axes.fXStep, 2.0f);
  EXPECT_EQ(d.axes.fYStep, 2.0f);
  EXPECT_EQ(d.axes.nXTicks, 11);
  EXPECT_EQ(d.axes.nYTicks, 3);  // 5, 7, 9 m
  EXPECT_FLOAT_EQ(d.axes.fYScale, 312.5f);

  // 312.5 units per m from 5 m at the top edge; cells 2 m high, the first
  // and the last trimmed to the frame (5 to 9 m).
  const auto cells = d.Cells();
  ASSERT_EQ(cells.size(), 6u);
  struct Case {
    PageRect box;
    Rgb colour;
  };
  const Case expected[6] = {
      {{{150, -150}, {237, -462}}, {255, 0, 255}},  // 4 .. 6 m, the lowest amplitude
      {{{150, -462}, {237, -1087}}, {160, 255, 0}},  // 6 .. 8 m, 0.55 over -1 .. 2 in twelfths
      {{{150, -1087}, {237, -1400}}, {0, 0, 255}},  // 8 .. 10 m, the highest
      {{{237, -150}, {324, -462}}, {255, 0, 255}},
      {{{237, -462}, {324, -1087}}, {160, 255, 0}},
      {{{237, -1087}, {324, -1400}}, {0, 0, 255}}};
  for (size_t i = 0; i < cells.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cells[i].box, expected[i].box);
    EXPECT_EQ(cells[i].fill, expected[i].colour);
    EXPECT_EQ(cells[i].pen, kDefaultPen);
  }
  // Over the grid and the frame.
  EXPECT_EQ(d.surface.drawn.back().kind, Kind::kRectangle);
  EXPECT_FALSE(d.real.Exists(d.folder.Path(kShowProfileFileName)));  // only the model writes it
}

// AmplitudeShot's receivers and peaks, analysed from a record, with the
// trace at 7 m dead (all its samples zero).
SurfaceWaveResult ShotWithADeadTrace() {
  SeismicRecord record;
  record.AllocateTraces(3);
  record.nTraces = 3;
  const float peaks[3] = {0.1f, 0.0f, 100.0f};
  for (int i = 0; i < 3; ++i) {
    record.pHeader[i].nReceiverLoc = 500 + 200 * i;
    record.pHeader[i].fMaxAmplitude = peaks[i];
  }
  SurfaceWaveResult r;
  PrepareSurfaceWaveInput(record, r);
  return r;
}

TEST(ProfileDrawing, ADeadTraceIsACellWithoutDataAndLeavesTheOtherColours) {
  // The dead trace's shot between two sound ones: every other cell keeps
  // the colour the spread spectrum gives it.
  Drawing d;
  ProfileList list;
  list.AppendResult(AmplitudeShot());
  list.AppendResult(ShotWithADeadTrace());
  list.AppendResult(AmplitudeShot());
  d.Draw(list, 0);
  EXPECT_EQ(list.range[0].fColourMin, -1.0f);
  EXPECT_EQ(list.range[0].fColourMax, 2.0f);
  const auto cells = d.Cells();
  ASSERT_EQ(cells.size(), 9u);
  const std::vector<Rgb> sound = {{255, 0, 255}, {160, 255, 0}, {0, 0, 255}};
  const std::vector<Rgb> dead = {{255, 0, 255}, kNoDataColour, {0, 0, 255}};
  for (size_t i = 0; i < cells.size(); ++i) {
    SCOPED_TRACE(i);
    const std::vector<Rgb>& column = i / 3 == 1 ? dead : sound;
    EXPECT_EQ(cells[i].fill, column[i % 3]);
    EXPECT_EQ(cells[i].box.a.y, cells[i % 3].box.a.y);  // the same rows in every column
    EXPECT_EQ(cells[i].box.b.y, cells[i % 3].box.b.y);
  }
  EXPECT_EQ(cells[4].box, (PageRect{{237, -462}, {324, -1087}}));  // 6 .. 8 m, drawn all the same
}

TEST(ProfileDrawing, PickCellsByTheVelocityScaleAndASinglePickOneHertzHigh) {
  Drawing d;
  ProfileList list;
  list.SetPickRange(DispersionSettings());  // 0 .. 50 Hz: 25 units per Hz
  SurfaceWaveResult picks;
  picks.nPicks = 4;
  // 40 Hz has no resolved pick (velocity 0): no cell.
  const float freq[4] = {10.0f, 20.0f, 30.0f, 40.0f};
  const float vel[4] = {250.0f, 30.0f, 600.0f, 0.0f};
  for (int i = 0; i < 4; ++i) {
    picks.fPickFrequency[i] = freq[i];
    picks.fPickVelocity[i] = vel[i];
  }
  SurfaceWaveResult single;
  single.nPicks = 1;
  single.fPickFrequency[0] = 10.0f;
  single.fPickVelocity[0] = 150.0f;
  list.AppendResult(picks);
  list.AppendResult(single);
  d.Draw(list, 1);
  EXPECT_EQ(d.axes.strYTitle, "Frequency (Hz)");
  const auto cells = d.Cells();
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_EQ(cells[0].box, (PageRect{{150, -275}, {237, -525}}));  // 5 .. 15 Hz
  EXPECT_EQ(cells[0].fill, (Rgb{0, 255, 0}));
  EXPECT_EQ(cells[1].box, (PageRect{{150, -525}, {237, -775}}));
  EXPECT_EQ(cells[1].fill, (Rgb{255, 0, 255}));
  EXPECT_EQ(cells[2].fill, (Rgb{160, 0, 255}));
  EXPECT_EQ(cells[3].box, (PageRect{{237, -387}, {324, -412}}));  // 9.5 .. 10.5 Hz
  EXPECT_EQ(cells[3].fill, (Rgb{255, 255, 0}));  // 150 m/s: the first threshold above is 160
}

SurfaceWaveResult Model(std::vector<float> bottoms, std::vector<float> vs) {
  SurfaceWaveResult r;
  r.nLayers = static_cast<int>(bottoms.size());
  for (size_t i = 0; i < bottoms.size(); ++i) {
    r.fLayerBottom[i] = bottoms[i];
    r.fVs[i] = vs[i];
  }
  return r;
}

TEST(ProfileDrawing, ModelCellsStopBelowTheFrameAndTheNewestLayersGoToTheTextFile) {
  Drawing d;
  ProfileList list;
  list.SetModelRange(DispersionSettings());  // 0 .. 15 m: 83.33 units per m
  // A layer whose top lies below 15 m ends the column.
  list.AppendResult(Model({5.0f, 20.0f, kHalfSpaceBottom}, {100.0f, 200.0f, 300.0f}));
  // The half-space is cut at the frame's bottom.
  list.AppendResult(Model({5.0f, 10.0f, kHalfSpaceBottom}, {100.0f, 250.0f, 600.0f}));
  d.Draw(list, 2);
  EXPECT_EQ(d.axes.strYTitle, "Depth (m)");
  const auto cells = d.Cells();
  ASSERT_EQ(cells.size(), 5u);
  const int bottom = 1400;  // frame bottom
  EXPECT_EQ(cells[0].box, (PageRect{{150, -150}, {237, -566}}));
  EXPECT_EQ(cells[0].fill, (Rgb{255, 180, 0}));  // 100 m/s: below 110
  EXPECT_EQ(cells[1].box, (PageRect{{150, -566}, {237, -bottom}}));  // 5 .. 20 m cut to 15 m
  EXPECT_EQ(cells[2].box, (PageRect{{237, -150}, {324, -566}}));
  EXPECT_EQ(cells[3].box, (PageRect{{237, -566}, {324, -983}}));
  EXPECT_EQ(cells[3].fill, (Rgb{0, 255, 0}));
  EXPECT_EQ(cells[4].box, (PageRect{{237, -983}, {324, -bottom}}));  // the half-space
  EXPECT_EQ(cells[4].fill, (Rgb{160, 0, 255}));
  EXPECT_EQ(d.folder.Read(kShowProfileFileName),
            "0 0.000000 5.000000 100.000000 \r\n"
            "1 5.000000 10.000000 250.000000 \r\n"
            "2 10.000000 15.000000 600.000000 \r\n");
}

// A repaint of the same models leaves the text file as it is (the same
// file, never replaced); a new model replaces it with the newest layers.
TEST(ProfileDrawing, TheTextFileIsReplacedOnlyWhenTheNewestModelChanges) {
  Drawing d;
  ProfileList list;
  list.SetModelRange(DispersionSettings());
  list.AppendResult(Model({5.0f, kHalfSpaceBottom}, {100.0f, 200.0f}));
  const std::string name = d.folder.Path(kShowProfileFileName);
  auto inode = [&] {
    struct stat st = {};
    return ::stat(name.c_str(), &st) == 0 ? st.st_ino : 0;
  };
  d.Draw(list, 2);
  const ino_t first = inode();
  ASSERT_NE(first, 0u);
  for (int repaint = 0; repaint < 3; ++repaint) d.Draw(list, 2);
  EXPECT_EQ(inode(), first) << "a repaint replaced the text file";
  EXPECT_EQ(d.folder.Read(kShowProfileFileName), "0 0.000000 5.000000 100.000000 \r\n1 5.000000 15.000000 200.000000 \r\n");
  list.AppendResult(Model({8.0f, kHalfSpaceBottom}, {150.0f, 300.0f}));
  d.Draw(list, 2);
  EXPECT_EQ(d.folder.Read(kShowProfileFileName), "0 0.000000 8.000000 150.000000 \r\n1 8.000000 15.000000 300.000000 \r\n");
}

TEST(ProfileDrawing, AnUnwritableTextFileLeavesTheColumnsDrawn) {
  Drawing d;
  FolderFileSystem missing(d.real, d.folder.Path("no/such/folder"));
  ProfileList list;
  list.SetModelRange(DispersionSettings());
  list.AppendResult(Model({5.0f, kHalfSpaceBottom}, {100.0f, 200.0f}));
  d.axes = ProfileAxes(2);
  DrawProfile(d.surface, d.axes, list, 2, d.dp, missing);
  EXPECT_EQ(d.Cells().size(), 2u);
}

// What others may leave at the text file's name in the watched folder: a
// link to a private file, a FIFO nobody reads, a folder. The link's file
// and the folder stay as they were, the FIFO is never written (nor waited
// on), and the columns are drawn all the same.
TEST(ProfileDrawing, TheTextFileNeverFollowsALinkNorWritesIntoAFifo) {
  Drawing d;
  ProfileList list;
  list.SetModelRange(DispersionSettings());
  list.AppendResult(Model({5.0f, kHalfSpaceBottom}, {100.0f, 200.0f}));
  const std::string name = d.folder.Path(kShowProfileFileName);
  const std::string text = "0 0.000000 5.000000 100.000000 \r\n1 5.000000 15.000000 200.000000 \r\n";

  d.folder.Write("private.txt", "private");
  std::filesystem::create_symlink(d.folder.Path("private.txt"), name);
  d.Draw(list, 2);
  EXPECT_EQ(d.folder.Read("private.txt"), "private");
  EXPECT_FALSE(std::filesystem::is_symlink(name));
  EXPECT_EQ(d.folder.Read(kShowProfileFileName), text);
  std::filesystem::remove(name);

  // A reader that is there but takes nothing: a writer that opens the FIFO
  // gets through and its text lands in the pipe.
  ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
  const int reader = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  d.Draw(list, 2);
  char byte = 0;
  EXPECT_EQ(::read(reader, &byte, 1), 0) << "the text went into the FIFO";
  ::close(reader);
  EXPECT_EQ(d.folder.Read(kShowProfileFileName), text);
  std::filesystem::remove(name);

  std::filesystem::create_directory(name);
  d.Draw(list, 2);
  EXPECT_TRUE(std::filesystem::is_directory(name));
  EXPECT_EQ(d.Cells().size(), 6u);  // three drawings of two cells
  EXPECT_FALSE(std::filesystem::exists(name + ".part"));
}

TEST(ProfileDrawing, TwentyOneShotsFillTheWholeRangeWithTheLastTwenty) {
  Drawing d;
  ProfileList list;
  for (int i = 0; i < 21; ++i) {
    SurfaceWaveResult r = AmplitudeShot();
    r.nAmpTraces = i == 0 ? 3 : 2;  // the oldest one stands out by its third cell
    list.AppendResult(r);
  }
  d.Draw(list, 0);
  EXPECT_EQ(d.surface.drawn.front().text, "Number of shots = 20");
  const auto cells = d.Cells();
  ASSERT_EQ(cells.size(), 40u);
  EXPECT_EQ(cells.front().box.a.x, 150);
  EXPECT_EQ(cells.back().box.b.x, FrameRight(d.axes, d.dp));  // the frame's right edge
}

// A shot of `traces` receivers `spacing` m apart from 0 m, log amplitudes
// over lo .. hi.
SurfaceWaveResult SpreadShot(int traces, float spacing, float lo = -1.0f, float hi = 2.0f) {
  SurfaceWaveResult r;
  r.nAmpTraces = traces;
  for (int i = 0; i < traces; ++i) {
    r.fPosition[i] = spacing * static_cast<float>(i);
    r.fLogAmplitude[i] = lo + (hi - lo) * static_cast<float>(i) / static_cast<float>(std::max(traces - 1, 1));
  }
  r.fPosMin = 0.0f;
  r.fPosMax = spacing * static_cast<float>(traces - 1);
  r.fLogAmpMin = lo;
  r.fLogAmpMax = hi;
  return r;
}

// The distance labels of a long spread stand apart on round values, and
// the colour bar's values end inside the picture.
TEST(ProfileDrawing, LabelsOfALongSpreadAreThinnedAndTheBarsValuesFit) {
  for (int traces : {24, 48, 96, 200}) {
    SCOPED_TRACE(traces);
    Drawing d;
    ProfileList list;
    list.AppendResult(SpreadShot(traces, 2.0f, -5.43f, -4.63f));
    d.Draw(list, 0);
    const int right = FrameRight(d.axes, d.dp);
    std::vector<int> distanceLabels;
    std::vector<std::string> barValues;
    for (const auto& t : d.surface.Of(Kind::kText)) {
      if (t.font == TickLabelFont() && t.points[0].x < d.dp.nLeftMargin && t.points[0].y < -100) {
        distanceLabels.push_back(t.points[0].y);
        EXPECT_EQ(std::fmod(std::stof(t.text), d.axes.fYStep), 0.0f) << t.text;
      }
      if (t.points[0].x > right) {
        barValues.push_back(t.text);
        EXPECT_LE(t.points[0].x + DrawnTextWidth(t.text, *t.font), kArea.width) << t.text << " is cut";
      }
    }
    EXPECT_GE(distanceLabels.size(), 3u);
    for (size_t k = 1; k < distanceLabels.size(); ++k) {
      EXPECT_GE(distanceLabels[k - 1] - distanceLabels[k], TickLabelFont().height) << "labels pile up";
    }
    EXPECT_EQ(barValues, (std::vector<std::string>{"-5.43", "-4.63", "-5.03"}));
  }
}

// A single receiver, or all at one place: a frame of a cell's height and
// the cells in it.
TEST(ProfileDrawing, ASpreadWithoutLengthHasAFrameAndItsCells) {
  for (const SurfaceWaveResult& shot : {SpreadShot(1, 2.0f), SpreadShot(24, 0.0f)}) {
    SCOPED_TRACE(shot.nAmpTraces);
    Drawing d;
    ProfileList list;
    list.AppendResult(shot);
    d.Draw(list, 0);
    EXPECT_FLOAT_EQ(d.axes.fYMin, -kSingleCellHalfHeight);
    EXPECT_FLOAT_EQ(d.axes.fYMax, kSingleCellHalfHeight);
    EXPECT_EQ(FrameBottom(d.axes, d.dp), kArea.height - d.dp.nBottomMargin);
    EXPECT_EQ(d.axes.nYTicks, 1);  // at the receivers' place
    EXPECT_FLOAT_EQ(d.axes.fYFirst, 0.0f);
    const auto cells = d.Cells();
    ASSERT_EQ(cells.size(), static_cast<size_t>(shot.nAmpTraces));
    for (const auto& cell : cells) EXPECT_EQ(cell.box.b.y - cell.box.a.y, -1250);  // the frame's height
  }
}

TEST(ProfileDrawing, AStoredModeOutsideTheThreeDrawsTheAmplitudes) {
  Drawing d;
  ProfileList list;
  list.AppendResult(AmplitudeShot());
  d.Draw(list, 7);
  EXPECT_EQ(d.axes.strYTitle, "Distance (m)");
  EXPECT_EQ(d.Cells().size(), 3u);
}

}  // namespace
}  // namespace zentrova

// The record tool's pictures, made as a user makes them.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "display/cairo_surface.h"
#include "display/colour_scale.h"
#include "display/dispersion_curve_drawing.h"
#include "testing/child_process.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::RunProcess;

const std::string kTool = ZENTROVA_SEG2_TOOL;

// The tool with its configuration folder inside `home`.
testing::ProcessResult RunPlot(const testing::TempFolder& home, const std::vector<std::string>& args) {
  std::filesystem::create_directories(home.Path("config"));
  std::vector<std::string> argv = {"/usr/bin/env", "ZENTROVA_CONFIG_DIR=" + home.Path("config"), kTool, "plot"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProcess(argv);
}

struct PngSize {
  int width = -1;
  int height = -1;
};

// Width and height from a PNG file's header; -1 when it is no PNG.
PngSize SizeOfPng(const std::string& path) {
  const std::string bytes = testing::ReadFileBytes(path);
  PngSize size;
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) {
    return size;
  }
  const auto be32 = [&](size_t at) {
    return static_cast<int>((static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24) |
                            (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 16) |
                            (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 8) |
                            static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])));
  };
  size.width = be32(16);
  size.height = be32(20);
  return size;
}

// The records of the shared data: the files with an independent reading beside them.
std::vector<std::string> SharedRecords() {
  std::vector<std::string> records;
  for (const auto& e : std::filesystem::directory_iterator(testing::SharedSeg2Folder())) {
    const std::string path = e.path().string();
    if (std::filesystem::exists(path + ".ref.json")) records.push_back(path);
  }
  std::sort(records.begin(), records.end());
  return records;
}

std::string PicturesFolder() {
  const std::string folder = std::string(ZENTROVA_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(folder);
  return folder;
}

// Every view of every shared record, but the dispersion image of the two
// without a spread (one trace; sixty traces of one receiver place), which
// is refused.
TEST(Seg2ToolPlot, EverySharedRecordRendersInEveryView) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, out;
  const std::vector<std::string> records = SharedRecords();
  ASSERT_GE(records.size(), 15u);
  const std::set<std::string> withoutSpread = {"obspy_20180307_031245000.0.seg2", "ph5_test_data_seg2_15001.dat"};
  for (const std::string& record : records) {
    SCOPED_TRACE(record);
    const std::string name = std::filesystem::path(record).filename().string();
    struct Case {
      std::vector<std::string> options;
      PngSize size;
    };
    const Case cases[] = {{{}, {666, 333}},  // as the event e-mail carries it
                          {{"--view", "phase-velocity"}, {1000, 750}},
                          {{"--view", "profile", "--size", "500x400"}, {500, 400}},
                          {{"--view", "dispersion-curve", "--size", "500x400"}, {500, 400}}};
    int k = 0;
    for (const Case& c : cases) {
      const std::string png = out.Path(name + "." + std::to_string(k++) + ".png");
      std::vector<std::string> args = {record, png};
      args.insert(args.end(), c.options.begin(), c.options.end());
      const auto run = RunPlot(home, args);
      if (withoutSpread.count(name) == 1 && c.options == std::vector<std::string>{"--view", "phase-velocity"}) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("no spread)"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(png));
        continue;
      }
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(run.err, "");
      const PngSize size = SizeOfPng(png);
      EXPECT_EQ(size.width, c.size.width);
      EXPECT_EQ(size.height, c.size.height);
    }
  }
  // The tool reads the stored settings and writes none; no text file is left.
  EXPECT_TRUE(std::filesystem::is_empty(home.Path("config")));
}

TEST(Seg2ToolPlot, PicturesOfAMaswShotForAPersonToLookAt) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home;
  const std::string shot = testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat";
  const std::string folder = PicturesFolder();
  struct Case {
    const char* mode;  // the profile view's stored mode
    std::vector<std::string> options;
    const char* name;
  };
  const Case cases[] = {{"0", {"--view", "phase-velocity"}, "masw_phase_velocity.png"},
                        {"0", {"--view", "profile"}, "masw_profile_amplitude.png"},
                        {"1", {"--view", "profile"}, "masw_profile_phase_velocity.png"},
                        {"2", {"--view", "profile"}, "masw_profile_s_wave.png"},
                        {"0", {"--events"}, "masw_waveforms_events.png"},
                        {"0", {"--by-offset", "--normalize"}, "masw_waveforms_by_offset.png"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    home.Write("config/Zentrova.ini", std::string("[General]\niViewMode=") + c.mode + "\n");
    const std::string png = folder + "/" + c.name;
    std::filesystem::remove(png);
    std::vector<std::string> args = {shot, png};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto run = RunPlot(home, args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GT(SizeOfPng(png).width, 0);
  }
}

// The pictures the README shows and the ones a reader of a record most
// needs: a loud 3-trace record, a 24-trace MASW shot recorded from half a
// second before the shot (placed by offset), and a record that triggers
// the detector for a second and more.
TEST(Seg2ToolPlot, TheTriggersOfALongEventAreRunsNotABar) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home;
  const std::string folder = PicturesFolder();
  struct Case {
    const char* record;
    std::vector<std::string> options;
    const char* name;
  };
  const Case cases[] = {
      {"obspy_20130107_103041000.CET.3c.cont.0.seg2", {}, "three_traces.png"},
      {"swprocess_wghs_1.dat", {"--by-offset", "--normalize"}, "masw_shot_with_delay_by_offset.png"},
      {"swprocess_wghs_6.dat", {"--events"}, "masw_shot_events.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string png = folder + "/" + c.name;
    std::filesystem::remove(png);
    std::vector<std::string> args = {testing::SharedSeg2Folder() + "/" + c.record, png};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto run = RunPlot(home, args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
  // The event record triggers on its first 14 traces for up to 400 ms
  // each: a disc where each run begins and a thin line for the run leave
  // under a thirtieth of the frame red (a disc at every triggered sample
  // made a red band of a ninth of it).
  const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(folder + "/masw_shot_events.png"));
  ASSERT_TRUE(image);
  int red = 0, frame = 0;
  for (int y = 76; y < 283; ++y) {
    for (int x = 76; x < 616; ++x) {
      ++frame;
      red += image->pixels[static_cast<size_t>(y) * image->width + x] == 0xFF0000;
    }
  }
  std::cout << "red in the frame: " << red << " of " << frame << " pixels\n";
  EXPECT_GT(red, 0);
  EXPECT_LT(red, frame / 30);
}

uint32_t LittleEndian(const std::string& bytes, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

// Zeroes the samples of trace `index` of a SEG-2 record, as a dead channel
// leaves them.
void ZeroTrace(std::string& bytes, int index) {
  const size_t at = LittleEndian(bytes, 32 + 4 * static_cast<size_t>(index), 4);
  const size_t descriptor = LittleEndian(bytes, at + 2, 2);
  const size_t size = LittleEndian(bytes, at + 4, 4);
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at + descriptor), size, '\0');
}

TEST(Seg2ToolPlot, ADeadChannelIsShownAsNoDataInTheProfile) {
  ZENTROVA_NEEDS_SHARED_DATA();
  // The MASW shot (24 receivers 2 m apart from 0 m) with the trace at 10 m
  // dead: its cell is grey, the others keep the colours of their amplitudes.
  testing::TempFolder home, files;
  std::string bytes = testing::ReadFileBytes(testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat");
  ZeroTrace(bytes, 5);
  files.Write("dead.dat", bytes);
  const std::string png = PicturesFolder() + "/masw_profile_dead_channel.png";
  std::filesystem::remove(png);
  const auto run = RunPlot(home, {files.Path("dead.dat"), png, "--view", "profile"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(png));
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, 1000);
  // The first shot's column spans pixels 75 .. 118; 0 .. 46 m span 75 .. 700.
  const uint32_t noData = RgbImage::Pack(kNoDataColour);
  std::set<uint32_t> colours;
  for (int i = 0; i < 24; ++i) {
    SCOPED_TRACE(i);
    const int y = 75 + static_cast<int>(2.0 * i * 625.0 / 46.0) + 4;
    const uint32_t pixel = image->pixels[static_cast<size_t>(y * image->width + 96)];
    EXPECT_EQ(pixel == noData, i == 5);
    if (i != 5) colours.insert(pixel);
  }
  EXPECT_GE(colours.size(), 8u) << "the sound traces are not spread over the colours";
}

TEST(Seg2ToolPlot, TheEventsComeFromTheStoredDetectionParameters) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, out;
  const std::string shot = testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat";
  const auto plain = RunPlot(home, {shot, out.Path("plain.png")});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_EQ(plain.out, "");
  const auto found = RunPlot(home, {shot, out.Path("found.png"), "--events"});
  ASSERT_EQ(found.exitCode, 0) << found.err;
  EXPECT_EQ(found.out, shot + ": 1 events\n");
  EXPECT_NE(testing::ReadFileBytes(out.Path("found.png")), testing::ReadFileBytes(out.Path("plain.png")));
  // A ratio no shot reaches: no event, and the picture without markers.
  home.Write("config/product.ini", "[Kalvane Applications]\nEVENT_DETECTION_RMS_RATIO=100000.000000\n");
  const auto none = RunPlot(home, {shot, out.Path("none.png"), "--events"});
  ASSERT_EQ(none.exitCode, 0) << none.err;
  EXPECT_EQ(none.out, shot + ": 0 events\n");
  EXPECT_EQ(testing::ReadFileBytes(out.Path("none.png")), testing::ReadFileBytes(out.Path("plain.png")));
}

// Dark pixels of a picture inside the box from (x0, y0) to (x1, y1).
int DarkPixelsIn(const RgbImage& image, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1 && y < image.height; ++y) {
    for (int x = x0; x < x1 && x < image.width; ++x) n += (image.pixels[static_cast<size_t>(y) * image.width + x] & 0xFF) < 128;
  }
  return n;
}

// A record whose name is not UTF-8 (a Latin-1 "latein1.dat"): every view is
// drawn whole, the caption with its name and the frame below it.
TEST(Seg2ToolPlot, ARecordNamedInAnotherEncodingIsDrawn) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, files;
  files.Write("lat\xe9in1.dat", testing::ReadFileBytes(testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat"));
  for (const std::string view : {"waveform", "phase-velocity"}) {
    SCOPED_TRACE(view);
    const std::string png = files.Path(view + ".png");
    const auto run = RunPlot(home, {files.Path("lat\xe9in1.dat"), png, "--view", view});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(png));
    ASSERT_TRUE(image);
    EXPECT_GT(DarkPixelsIn(*image, 0, 0, image->width / 2, 20), 100) << "no caption";
    EXPECT_GT(DarkPixelsIn(*image, 0, image->height / 3, image->width, image->height / 3 + 1), 2) << "no frame";
  }
}

// The MASW shot with every receiver at 5 m: each "RECEIVER_LOCATION d.dd"
// becomes "0..05.00", as long as it was.
std::string AllReceiversAtOnePlace(std::string bytes) {
  const std::string key = "RECEIVER_LOCATION ";
  for (size_t at = bytes.find(key); at != std::string::npos; at = bytes.find(key, at + 1)) {
    const size_t digits = at + key.size();
    const size_t point = bytes.find('.', digits);
    for (size_t i = digits; i < point; ++i) bytes[i] = i + 1 == point ? '5' : '0';
    bytes[point + 1] = bytes[point + 2] = '0';
  }
  return bytes;
}

// One trace, or receivers that all stand at one place, have no spread:
// there is no dispersion image to draw, and the tool says so as for any
// other record it cannot analyse. The profile has a frame all the same.
TEST(Seg2ToolPlot, ARecordWithoutASpreadHasNoDispersionImage) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, files;
  const std::string shot = testing::ReadFileBytes(testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat");
  std::string one = shot;
  one[6] = 1;  // the file descriptor's trace count
  one[7] = 0;
  files.Write("one.dat", one);
  files.Write("together.dat", AllReceiversAtOnePlace(shot));
  for (const std::string name : {"one.dat", "together.dat"}) {
    SCOPED_TRACE(name);
    const std::string png = files.Path(name + ".png");
    const auto run = RunPlot(home, {files.Path(name), png, "--view", "phase-velocity"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "zentrova-seg2: " + files.Path(name) +
                           ": no dispersion image (one trace, or all receivers at one place: no spread)\n");
    EXPECT_FALSE(std::filesystem::exists(png));
    const auto profile = RunPlot(home, {files.Path(name), png, "--view", "profile"});
    ASSERT_EQ(profile.exitCode, 0) << profile.err;
    const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(png));
    ASSERT_TRUE(image);
    // The frame's left edge from its top (75) to its bottom (700), the shot's column beside it.
    EXPECT_EQ(image->pixels[static_cast<size_t>(400) * image->width + 74], 0u);
    EXPECT_NE(image->pixels[static_cast<size_t>(400) * image->width + 90], 0xFFFFFFu);
  }
}

TEST(Seg2ToolPlot, EveryFailureEndsWithOneLineAndNoPicture) {
  testing::TempFolder home, files;
  files.Write("text.sg2", "this is not a record\n");
  files.Write("empty.dat", "");
  // The shape of a record is not needed to reach the checks of the options.
  const std::string missing = files.Path("missing.sg2");
  struct Case {
    std::vector<std::string> args;
    std::string says;
  };
  const std::string png = files.Path("out.png");
  const Case cases[] = {
      {{missing, png}, "cannot open " + missing},
      {{files.Path("text.sg2"), png}, "not a SEG-2 record"},
      {{files.Path("empty.dat"), png}, "not a SEG-2 record"},
      {{missing, png, "--size", "10x10"}, "bad size \"10x10\""},
      {{missing, png, "--size", "640"}, "bad size \"640\""},
      {{missing, png, "--size", "20000x300"}, "bad size \"20000x300\""},
      {{missing, png, "--size", "-5x300"}, "bad size \"-5x300\""},
      {{missing, png, "--view", "map"}, "unknown view \"map\""},
      {{missing, png, "--view"}, "--view wants a value"},
      {{missing, png, "--view", "profile", "--events"}, "--normalize and --events belong to the waveform view"},
      {{missing, png, "--view", "phase-velocity", "--by-offset"}, "--by-offset belongs to the waveform view"},
      {{missing, png, "--colour"}, "plot does not know \"--colour\""},
      {{missing}, "plot wants a FILE and an OUT.png"},
      {{missing, "--view", "dispersion-curve"}, "plot wants a FILE and an OUT.png"},
      {{missing, missing, png}, "only the dispersion-curve view takes several FILEs"},
      {{missing, missing, png, "--view", "profile"}, "only the dispersion-curve view takes several FILEs"},
      {{missing, files.Path("text.sg2"), png, "--view", "dispersion-curve"}, "cannot open " + missing},
      {{missing, png, "--view", "dispersion-curve", "--normalize"},
       "--normalize and --events belong to the waveform view"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    const auto run = RunPlot(home, c.args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(std::filesystem::exists(png));
  }
}

TEST(Seg2ToolPlot, APictureThatCannotBeWrittenIsSaid) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, files;
  const std::string shot = testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat";
  for (const std::string& png : {files.Path("no/such/folder/out.png"), files.path()}) {
    SCOPED_TRACE(png);
    const auto run = RunPlot(home, {shot, png});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("zentrova-seg2: cannot write " + png, 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

// OUT that is the record (by its name, by another spelling of it, as the
// name a link to the record points at) or any other file that is no
// picture: the tool says so and the file stays whole. An older picture is
// replaced; so is a link, without its file being touched.
TEST(Seg2ToolPlot, OnlyAPictureIsReplaced) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, files;
  const std::string original = testing::ReadFileBytes(testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat");
  files.Write("shot.dat", original);
  files.Write("notes.txt", "field notes");
  const std::string shot = files.Path("shot.dat");
  std::filesystem::create_symlink(shot, files.Path("link.dat"));
  struct Case {
    std::string file, out, kept;
  };
  const Case cases[] = {
      {shot, shot, "shot.dat"},
      {shot, files.path() + "/./shot.dat", "shot.dat"},
      {files.Path("link.dat"), shot, "shot.dat"},
      {shot, files.Path("notes.txt"), "notes.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + " -> " + c.out);
    const std::string before = files.Read(c.kept);
    const auto run = RunPlot(home, {c.file, c.out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "zentrova-seg2: " + c.out + " is not a PNG picture and is left as it is\n");
    EXPECT_TRUE(files.Read(c.kept) == before) << c.kept << " was changed";
  }
  EXPECT_TRUE(files.Read("shot.dat") == original) << "the record was changed";

  ASSERT_EQ(RunPlot(home, {shot, files.Path("old.png"), "--size", "100x50"}).exitCode, 0);
  ASSERT_EQ(RunPlot(home, {shot, files.Path("old.png")}).exitCode, 0);
  EXPECT_EQ(SizeOfPng(files.Path("old.png")).width, 666);
  std::filesystem::create_symlink(shot, files.Path("to-shot.png"));
  ASSERT_EQ(RunPlot(home, {shot, files.Path("to-shot.png")}).exitCode, 0);
  EXPECT_FALSE(std::filesystem::is_symlink(files.Path("to-shot.png")));
  EXPECT_TRUE(files.Read("shot.dat") == original) << "the record was changed";
}

// OUT that is a device, a FIFO or a folder is refused in one line and
// stays what it was.
TEST(Seg2ToolPlot, AnOutThatIsNoRegularFileIsRefused) {
  testing::TempFolder home, files;
  files.Write("text.sg2", "this is not a record\n");
  ASSERT_EQ(::mkfifo(files.Path("fifo.png").c_str(), 0600), 0);
  std::filesystem::create_directories(files.Path("folder.png"));
  struct Case {
    std::string out, kind;
  };
  const Case cases[] = {{"/dev/null", "device node"}, {files.Path("fifo.png"), "FIFO"},
                        {files.Path("folder.png"), "folder"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    const auto run = RunPlot(home, {files.Path("text.sg2"), c.out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "zentrova-seg2: cannot write " + c.out + ": is a " + c.kind + ", not a regular file\n");
  }
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  EXPECT_TRUE(std::filesystem::is_fifo(files.Path("fifo.png")));
  EXPECT_TRUE(std::filesystem::is_directory(files.Path("folder.png")));
}

// A picture that cannot be written is said once, with the operating
// system's reason.
TEST(Seg2ToolPlot, AWriteFailureIsSaidOnce) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, files;
  const std::string shot = testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat";
  const std::string png = files.Path("no/such/out.png");
  const auto run = RunPlot(home, {shot, png});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "zentrova-seg2: cannot write " + png + ": cannot create " + png + ".part: No such file or directory\n");
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

// Pixels of each colour in a picture.
std::map<uint32_t, int> ColourCounts(const RgbImage& image) {
  std::map<uint32_t, int> counts;
  for (const uint32_t p : image.pixels) ++counts[p];
  return counts;
}

std::vector<std::string> MaswShots(std::initializer_list<int> numbers) {
  std::vector<std::string> shots;
  for (const int n : numbers) {
    shots.push_back(testing::SharedSeg2Folder() + "/swprocess_wghs_" + std::to_string(n) + ".dat");
  }
  return shots;
}

// The picks of the five shots of the MASW line and their combined curve;
// one shot alone gives its picks only. The legend holds a short sample of
// the line (about 80 pixels), of the band (about 180) and one marker per
// shot (about 40): the counts below ask for many times as much, so they are
// met only inside the plot.
TEST(Seg2ToolPlot, TheDispersionCurveOfALine) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, out;
  struct Case {
    std::vector<std::string> shots;
    std::vector<std::string> options;
    PngSize size;
    bool combined;
    std::string keep;  // the name of its copy for a person to look at
  };
  const Case cases[] = {
      {MaswShots({6, 7, 8, 9, 10}), {}, {1000, 750}, true, "masw_dispersion_curve_5_shots.png"},
      {MaswShots({6, 7, 8, 9, 10}), {"--size", "640x480"}, {640, 480}, true, ""},
      {MaswShots({7}), {}, {1000, 750}, false, "masw_dispersion_curve_1_shot.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shots.size());
    const std::string png = c.keep.empty() ? out.Path("curve.png") : PicturesFolder() + "/" + c.keep;
    std::filesystem::remove(png);
    std::vector<std::string> args = c.shots;
    args.push_back(png);
    args.insert(args.end(), {"--view", "dispersion-curve"});
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto run = RunPlot(home, args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    const auto image = CairoSurface::DecodePng(testing::ReadFileBytes(png));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, c.size.width);
    EXPECT_EQ(image->height, c.size.height);
    std::map<uint32_t, int> counts = ColourCounts(*image);
    // The smaller picture asks for less, by its area.
    const double scale = 1000.0 * 750.0 / (c.size.width * c.size.height);
    const int line = counts[RgbImage::Pack(kCombinedLineColour)];
    const int band = counts[RgbImage::Pack(kCombinedBandColour)];
    if (c.combined) {
      EXPECT_GE(line * scale, 1200) << "the mean is not drawn";
      // Where the shots agree the band is narrow; the legend's swatch alone
      // takes about 180 pixels.
      EXPECT_GE(band * scale, 450) << "the band is not drawn";
    } else {
      EXPECT_EQ(line, 0);
      EXPECT_EQ(band, 0);
    }
    int shotsSeen = 0;
    for (size_t i = 0; i < c.shots.size(); ++i) {
      if (counts[RgbImage::Pack(ShotColour(i))] * scale >= 400) ++shotsSeen;
    }
    EXPECT_EQ(shotsSeen, c.shots.size() == 1 ? 1 : 5) << "markers of too few shots";
  }
  EXPECT_TRUE(std::filesystem::is_empty(home.Path("config")));
}

// A record of another line among the shots: the tool names it and draws nothing.
TEST(Seg2ToolPlot, AShotOfAnotherLineIsNamed) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, out;
  const std::string other = testing::SharedSeg2Folder() + "/albca_sw_Shot1.dat";
  const std::string png = out.Path("curve.png");
  const auto run = RunPlot(home, {MaswShots({6})[0], other, png, "--view", "dispersion-curve"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("zentrova-seg2: " + other + " is not a shot of the line of ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace zentrova

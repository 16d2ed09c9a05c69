#include "tools/seg2_tool/plot_command.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

#include "detection/event_detection_parameters.h"
#include "detection/event_detector.h"
#include "display/cairo_surface.h"
#include "display/dispersion_curve_drawing.h"
#include "display/phase_velocity_drawing.h"
#include "display/profile_drawing.h"
#include "display/profile_view_mode.h"
#include "display/stored_text_scale.h"
#include "display/waveform_drawing.h"
#include "monitor/zentrova_doc.h"
#include "platform/clock.h"
#include "platform/key_value_store.h"
#include "platform/memory_file_system.h"
#include "platform/system_info.h"
#include "surfacewave/surface_wave_analysis.h"
#include "tools/seg2_tool/detection_options.h"
#include "tools/seg2_tool/dispersion_report.h"
#include "tools/seg2_tool/line_analysis.h"
#include "tools/seg2_tool/record_reading.h"

namespace zentrova {
namespace {

// A store that reads another and keeps what is written in memory: the tool
// looks at the station's settings but never changes them.
class ReadOnlyStore : public KeyValueStore {
 public:
  explicit ReadOnlyStore(KeyValueStore& base) : base_(base) {}
  std::optional<std::string> Get(const std::string& key) override {
    auto it = written_.find(key);
    return it != written_.end() ? std::optional<std::string>(it->second) : base_.Get(key);
  }
  bool Set(const std::string& key, const std::string& value) override {
    written_[key] = value;
    return true;
  }

 private:
  KeyValueStore& base_;
  std::map<std::string, std::string> written_;
};

enum class View { kWaveform, kPhaseVelocity, kProfile, kDispersionCurve };

struct PlotRequest {
  std::string file;                // the first record
  std::vector<std::string> files;  // all of them
  std::string out;
  View view = View::kWaveform;
  bool normalize = false;
  bool events = false;
  bool byOffset = false;
  std::optional<PageSize> size;  // pixels
  DetectionSource detection;     // with --events
  bool detectionOptions = false;
};

int Fail(const std::string& why) {
  std::cerr << "zentrova-seg2: " << why << "\n";
  return 1;
}

// "WxH" with whole numbers within the limits.
bool ParseSize(const std::string& text, PageSize& size) {
  const size_t x = text.find('x');
  if (x == std::string::npos || x == 0 || x + 1 >= text.size() || x > 5 || text.size() - x - 1 > 5) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i != x && (text[i] < '0' || text[i] > '9')) return false;
  }
  size.width = std::atoi(text.substr(0, x).c_str());
  size.height = std::atoi(text.substr(x + 1).c_str());
  const auto within = [](int v) { return v >= kMinPlotPixels && v <= kMaxPlotPixels; };
  return within(size.width) && within(size.height);
}

// Empty when the arguments make a request; otherwise why not.
std::string ParseRequest(const std::vector<std::string>& args, PlotRequest& r) {
  // The records and OUT.png, OUT.png last, among the options anywhere.
  std::vector<std::string> positional;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      positional.push_back(a);
    } else if (a == "--normalize") {
      r.normalize = true;
    } else if (a == "--events") {
      r.events = true;
    } else if (a == "--by-offset") {
      r.byOffset = true;
    } else if (a == "--view" || a == "--size") {
      if (i + 1 >= args.size()) return a + " wants a value";
      const std::string& v = args[++i];
      if (a == "--size") {
        PageSize s;
        if (!ParseSize(v, s)) {
          return "bad size \"" + v + "\": WxH in pixels, each from " + std::to_string(kMinPlotPixels) + " to " +
                 std::to_string(kMaxPlotPixels);
        }
        r.size = s;
      } else if (v == "waveform") {
        r.view = View::kWaveform;
      } else if (v == "phase-velocity") {
        r.view = View::kPhaseVelocity;
      } else if (v == "profile") {
        r.view = View::kProfile;
      } else if (v == "dispersion-curve") {
        r.view = View::kDispersionCurve;
      } else {
        return "unknown view \"" + v + "\" (waveform, phase-velocity, profile or dispersion-curve)";
      }
    } else if (std::string why; TakeDetectionOption(args, i, r.detection, why)) {
      if (!why.empty()) return why;
      r.detectionOptions = true;
    } else {
      return "plot does not know \"" + a + "\"";
    }
  }
  if (positional.size() < 2) return "plot wants a FILE and an OUT.png";
  r.out = positional.back();
  r.files.assign(positional.begin(), positional.end() - 1);
  r.file = r.files.front();
  if (r.detectionOptions && !r.events) return "the detection options belong to --events";
  if (r.view != View::kWaveform && (r.normalize || r.events)) {
    return "--normalize and --events belong to the waveform view";
  }
  if (r.view != View::kWaveform && r.byOffset) {
    return "--by-offset belongs to the waveform view";
  }
  if (r.view != View::kDispersionCurve && r.files.size() > 1) {
    return "only the dispersion-curve view takes several FILEs";
  }
  return "";
}

// The station's two stores, read only.
struct StoredSettings {
  explicit StoredSettings(FileSystem& fs)
      : profileFile(fs, system.ConfigFolder() + "/Zentrova.ini", "General"),
        productFile(fs, system.ConfigFolder() + "/product.ini", "Kalvane Applications") {}
  LinuxSystemInfo system;
  IniFileStore profileFile;
  IniFileStore productFile;
  ReadOnlyStore profile{profileFile};
  ReadOnlyStore product{productFile};
  Settings settings{profile, product};
};

std::string ReadInto(FileSystem& fs, SeismicRecord& record, const std::string& path) {
  const Outcome o = ReadRecord(fs, record, path);
  if (o.result == -1) return o.why;
  if (!o.read) return path + " rejected: " + o.why;
  record.strFileName = BaseName(path);  // the caption's name, as the station's pipeline sets it
  return "";
}

// The waveform picture of the record, drawn as the event image draws it.
std::string DrawWaveformPicture(FileSystem& fs, StoredSettings& stored, const PlotRequest& r, CairoSurface& surface) {
  SystemClock clock;
  StderrPrompt prompt;
  Platform platform{fs, stored.profile, stored.product, clock, stored.system, prompt};
  CZentrovaDoc doc(platform);
  const std::string why = ReadInto(fs, doc.record, r.file);
  if (!why.empty()) return why;
  doc.bEventDetection = 0;
  if (r.events) {
    auto p = std::make_shared<EventDetectionParameters>();
    const LoadedDetection loaded = LoadDetection(fs, r.detection, *p);  // as `detect` reads them
    if (!loaded.error.empty()) return loaded.error;
    for (const std::string& note : loaded.notes) std::cerr << "zentrova-seg2: " << note << "\n";
    DetectEvents(*p, doc.record, fs, "", clock.Now());
    if (!p->sBandPassNote.empty()) std::cerr << "zentrova-seg2: " << r.file << ": " << p->sBandPassNote << "\n";
    std::cout << r.file << ": " << p->nEvents << " events\n";
    doc.pDetectionParameters = p;
    doc.bEventDetection = 1;
  }
  PlotAxes axes;
  axes.bYDown = 1;
  axes.bXTitle = 1;
  axes.bYTitle = 1;
  // The event image's 1333 x 666 page units at its own size.
  const PageSize area = r.size ? surface.AreaSize() : PageSize{1333, 666};
  DrawWaveforms(surface, axes, doc, area, 1.0f, r.normalize ? 1 : 0,
                r.byOffset ? TracePlacement::kByOffset : TracePlacement::kByNumber);
  return "";
}

std::string DrawAnalysisPicture(FileSystem& fs, StoredSettings& stored, const PlotRequest& r, CairoSurface& surface) {
  SeismicRecord record(fs.CurrentFolder());
  std::string why = ReadInto(fs, record, r.file);
  if (!why.empty()) return why;
  if (record.nTraces <= 0) return r.file + ": the record has no trace";
  DispersionSettings settings;
  settings.Load(stored.settings);
  // The analysis' text files are not wanted here.
  MemoryFileSystem textFiles;
  SurfaceWaveResult result;
  ProfileList profiles;
  const SurfaceWaveAnalysis analysis =
      AnalyseSurfaceWaves(record, settings, nullptr, textFiles, "/", true, result, &profiles);
  if (analysis.image.rows == 0) return r.file + ": no dispersion image (" + NoImageReason(analysis.image) + ")";
  const CDrawingParameter dp;
  // Without two receivers apart there are no phase differences to turn
  // into velocities: the image would be one colour.
  if (r.view == View::kPhaseVelocity && !(analysis.image.spread.smallestSpacing > 0.0)) {
    return r.file + ": no dispersion image (one trace, or all receivers at one place: no spread)";
  }
  if (r.view == View::kPhaseVelocity) {
    PlotAxes axes = PhaseVelocityAxes();
    DrawPhaseVelocity(surface, axes, record, settings, dp);
  } else {
    profiles.AppendResult(result);
    const int mode = ProfileViewMode(stored.settings).iViewMode;
    PlotAxes axes = ProfileAxes(mode);
    DrawProfile(surface, axes, profiles, mode, dp, textFiles);
  }
  return "";
}

// The picks of each shot and, for several shots of one line, their
// combined curve.
std::string DrawDispersionCurvePicture(FileSystem& fs, StoredSettings& stored, const PlotRequest& r,
                                       CairoSurface& surface) {
  DispersionSettings settings;
  settings.Load(stored.settings);
  const LineAnalysis line = AnalyseLine(fs, settings, r.files, "");
  if (!line.error.empty()) return line.error;
  std::vector<ShotCurve> shots;
  for (const ShotReport& shot : line.shots) shots.push_back({BaseName(shot.file), shot.analysis.curve});
  DrawDispersionCurves(surface, shots, line.combined);
  return "";
}

// Why the picture may not replace what stands at `out`, empty when it may.
// Only a picture is replaced: OUT given as the record itself (under its own
// name, another spelling of it, or the name a link to the record points at)
// or as any other file would otherwise be lost, and a device, a FIFO or a
// folder is no place for a picture. A link or a missing name is replaced
// by the new file without being followed or opened.
std::string NotReplaceable(FileSystem& fs, const std::string& out) {
  const auto info = fs.Inspect(out);
  if (!info.ok() || info->type == EntryType::kLink) return "";
  if (info->type != EntryType::kRegular) {
    return "cannot write " + out + ": is a " + EntryTypeName(info->type) + ", not a regular file";
  }
  if (info->size == 0) return "";
  static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
  char head[sizeof kPngSignature - 1] = {};
  auto file = fs.OpenEntryForRead(out);
  const auto n = file.ok() ? (*file)->ReadAt(0, sizeof head, head) : StatusOr<size_t>(file.status());
  if (n.ok() && *n == sizeof head && std::memcmp(head, kPngSignature, sizeof head) == 0) return "";
  return out + " is not a PNG picture and is left as it is";
}

}  // namespace

int PlotCommand(FileSystem& fs, const std::vector<std::string>& args) {
  PlotRequest r;
  const std::string bad = ParseRequest(args, r);
  if (!bad.empty()) return Fail(bad);
  const std::string kept = NotReplaceable(fs, r.out);
  if (!kept.empty()) return Fail(kept);
  const PageSize pixels = r.size.value_or(r.view == View::kWaveform ? PageSize{666, 333} : PageSize{1000, 750});
  CairoSurface surface(pixels.width, pixels.height);
  if (!surface.ok()) {
    return Fail("cannot make a picture of " + std::to_string(pixels.width) + " x " + std::to_string(pixels.height));
  }
  StoredSettings stored(fs);
  UseStoredTextScale(stored.settings);
  const std::string why = r.view == View::kWaveform           ? DrawWaveformPicture(fs, stored, r, surface)
                         : r.view == View::kDispersionCurve ? DrawDispersionCurvePicture(fs, stored, r, surface)
                                                            : DrawAnalysisPicture(fs, stored, r, surface);
  if (!why.empty()) return Fail(why);
  if (const std::string failed = surface.DrawingError(); !failed.empty()) return Fail(r.out + " not written: " + failed);
  const PngResult written = surface.WritePng(fs, r.out);
  if (!written.ok) return Fail("cannot write " + r.out + ": " + written.error);
  return 0;
}

}  // namespace zentrova

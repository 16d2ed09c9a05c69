#include "tools/seg2_tool/detection_options.h"

#include <map>
#include <optional>

#include "detection/channel_list.h"
#include "monitor/ranged_store.h"
#include "monitor/setting_ranges.h"
#include "monitor/settings.h"
#include "platform/number_text.h"
#include "platform/printf.h"
#include "platform/system_info.h"
#include "tools/seg2_tool/record_reading.h"

namespace zentrova {
namespace {

// The command line's values before the stored ones; writes go nowhere.
class OverlayStore : public KeyValueStore {
 public:
  OverlayStore(KeyValueStore& base, const Entries& overrides) : base_(base) {
    for (const auto& [key, value] : overrides) values_[key] = value;
  }
  std::optional<std::string> Get(const std::string& key) override {
    auto it = values_.find(key);
    return it != values_.end() ? std::optional<std::string>(it->second) : base_.Get(key);
  }
  bool Set(const std::string&, const std::string&) override { return false; }

 private:
  KeyValueStore& base_;
  std::map<std::string, std::string> values_;
};

// The first of two stores that holds a key.
class FirstOfStore : public KeyValueStore {
 public:
  FirstOfStore(KeyValueStore& first, KeyValueStore& second) : first_(first), second_(second) {}
  std::optional<std::string> Get(const std::string& key) override {
    auto v = first_.Get(key);
    return v ? v : second_.Get(key);
  }
  bool Set(const std::string&, const std::string&) override { return false; }

 private:
  KeyValueStore& first_;
  KeyValueStore& second_;
};

std::string Shown(double v) { return Printf("%g", v); }

// A number within [lowest, highest], else why not.
std::optional<double> NumberWithin(const std::string& option, const std::string& text, double lowest, double highest,
                                   std::string& why) {
  const std::optional<double> v = WholeNumber(text);
  if (v && *v >= lowest && *v <= highest) return v;
  why = option + " wants a number from " + Shown(lowest) + " to " + Shown(highest) + ", not \"" + text + "\"";
  return std::nullopt;
}

std::optional<int64_t> WholeWithin(const std::string& option, const std::string& text, int64_t lowest, int64_t highest,
                                   std::string& why) {
  const std::optional<int64_t> v = WholeInteger(text);
  if (v && *v >= lowest && *v <= highest) return v;
  why = option + " wants a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
        ", not \"" + text + "\"";
  return std::nullopt;
}

// The range of a stored key.
const SettingRange& RangeOf(const char* key) { return *FindSettingRange(ProductSettingRanges(), key); }

// A value for a float key, given in the key's own unit times `scale` (1000
// for seconds given for a key in milliseconds).
bool TakeFloat(const std::string& option, const std::string& text, const char* key, double scale,
               DetectionSource& s, std::string& why) {
  const SettingRange& r = RangeOf(key);
  const auto v = NumberWithin(option, text, r.lowest / scale, r.highest / scale, why);
  // All the digits a float holds: the station's own six decimals would
  // make 1e-9 Hz a corner of 0.
  if (v) s.overrides.emplace_back(key, Printf("%.9g", *v * scale));
  return v.has_value();
}

bool TakeInteger(const std::string& option, const std::string& text, const char* key, DetectionSource& s,
                 std::string& why) {
  const SettingRange& r = RangeOf(key);
  const auto v = WholeWithin(option, text, static_cast<int64_t>(r.lowest), static_cast<int64_t>(r.highest), why);
  if (v) s.overrides.emplace_back(key, std::to_string(*v));
  return v.has_value();
}

// "A:B" as two texts.
bool SplitPair(const std::string& text, std::string& a, std::string& b) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) return false;
  a = text.substr(0, colon);
  b = text.substr(colon + 1);
  return true;
}

// The options that take a value; `value` is that value.
void TakeValued(const std::string& option, const std::string& value, DetectionSource& s, std::string& why) {
  if (option == "--config-dir" || option == "--config") {
    if (!(option == "--config-dir" ? s.configFile : s.configDir).empty()) {
      why = "only one of --config-dir and --config";
    } else {
      (option == "--config-dir" ? s.configDir : s.configFile) = value;
    }
  } else if (option == "--ratio") {
    TakeFloat(option, value, "EVENT_DETECTION_RMS_RATIO", 1.0, s, why);
  } else if (option == "--window1" || option == "--window2") {
    TakeFloat(option, value, option == "--window1" ? "EVENT_DETECTION_TIME_WINDOW_1" : "EVENT_DETECTION_TIME_WINDOW_2",
              1000.0, s, why);
  } else if (option == "--and") {
    if (TakeInteger(option, value, "EVENT_DETECTION_MINIMUM_N_CHANNEL", s, why)) {
      s.overrides.emplace_back("EVENT_DETECTION_METHOD", "1");
    }
  } else if (option == "--channels") {
    if (ParseChannelList(value, 1024).empty()) {
      why = "--channels wants a channel list such as \"0-9, 15, 20\", not \"" + value + "\"";
    } else {
      s.overrides.emplace_back("EVENT_DETECTION_CHANNEL_AND", value);
      s.overrides.emplace_back("EVENT_DETECTION_CHANNEL_OR", value);
    }
  } else if (option == "--min-duration") {
    TakeFloat(option, value, "EVENT_DETECTION_MINIMUM_DURATION", 1.0, s, why);
  } else if (option == "--detect-end") {
    TakeInteger(option, value, "EVENT_DETECTION_DETECT_END", s, why);
  } else if (value == "off") {
    const char* key = option == "--glitch" ? "EVENT_DETECTION_GLITCH_PERCENT"
                      : option == "--gap"  ? "EVENT_DETECTION_WHOLE_EVENTS"
                                           : "EVENT_DETECTION_BANDPASS";
    s.overrides.emplace_back(key, "0");
  } else if (option == "--gap") {
    if (TakeFloat(option, value, "EVENT_DETECTION_EVENT_GAP", 1.0, s, why)) {
      s.overrides.emplace_back("EVENT_DETECTION_WHOLE_EVENTS", "1");
    }
  } else {  // --glitch P:N, --bandpass LOW:HIGH
    std::string a, b;
    const bool glitch = option == "--glitch";
    if (!SplitPair(value, a, b)) {
      why = option + (glitch ? " wants PERCENT:SAMPLES or off" : " wants LOW:HIGH in Hz or off") + ", not \"" +
            value + "\"";
    } else if (glitch) {
      if (TakeInteger(option, a, "EVENT_DETECTION_GLITCH_PERCENT", s, why)) {
        TakeInteger(option, b, "EVENT_DETECTION_GLITCH_SAMPLES", s, why);
      }
    } else if (TakeFloat(option, a, "EVENT_DETECTION_BANDPASS_LOW", 1.0, s, why) &&
               TakeFloat(option, b, "EVENT_DETECTION_BANDPASS_HIGH", 1.0, s, why)) {
      const double low = *WholeNumber(a), high = *WholeNumber(b);
      if ((high > 0.0 && low >= high) || (low == 0.0 && high == 0.0)) {
        why = "--bandpass wants LOW below HIGH (0 leaves that side open), not \"" + value + "\"";
      } else {
        s.overrides.emplace_back("EVENT_DETECTION_BANDPASS", "1");
      }
    }
  }
}

bool Valued(const std::string& option) {
  static const char* const kValued[] = {"--config-dir", "--config", "--ratio",  "--window1",      "--window2",
                                        "--and",        "--channels", "--glitch", "--min-duration", "--gap",
                                        "--bandpass",   "--detect-end"};
  for (const char* v : kValued) {
    if (option == v) return true;
  }
  return false;
}

}  // namespace

bool TakeDetectionOption(const std::vector<std::string>& args, size_t& i, DetectionSource& source, std::string& why) {
  why.clear();
  const std::string& option = args[i];
  if (option == "--or") {
    source.overrides.emplace_back("EVENT_DETECTION_METHOD", "0");
    return true;
  }
  if (!Valued(option)) return false;
  if (i + 1 >= args.size()) {
    why = option + " wants a value";
    return true;
  }
  TakeValued(option, args[++i], source, why);
  return true;
}

NumberRange DetectionOptionRange(const std::string& option) {
  const bool ratio = option == "--ratio";
  const SettingRange& r = RangeOf(ratio                  ? "EVENT_DETECTION_RMS_RATIO"
                                  : option == "--window1" ? "EVENT_DETECTION_TIME_WINDOW_1"
                                                          : "EVENT_DETECTION_TIME_WINDOW_2");
  const double scale = ratio ? 1.0 : 1000.0;
  return {r.lowest / scale, r.highest / scale};
}

LoadedDetection LoadDetection(FileSystem& fs, const DetectionSource& source, EventDetectionParameters& p) {
  LoadedDetection out;
  LinuxSystemInfo system;
  const bool file = !source.configFile.empty();
  const std::string folder = source.configDir.empty() ? system.ConfigFolder() : source.configDir;
  out.origin = file ? source.configFile : folder + "/product.ini";
  if (!file && !source.configDir.empty() && !fs.IsDirectory(folder)) {
    out.error = "the configuration folder " + folder + " is not a folder";
    return out;
  }
  // Read as the station reads its settings, and said in the station's words
  // when it cannot be: the station then runs on its built-in values too.
  const auto text = ReadSettingsFile(fs, out.origin);
  const bool nothingThere = !text.ok() && text.status().code() == Status::Code::kNotFound && !fs.Inspect(out.origin).ok();
  if (!text.ok() && (file || !nothingThere)) {
    const std::string unread = "Settings file " + out.origin + " could not be read (" + text.status().message() + ")";
    if (file) {
      out.error = unread;
      return out;
    }
    out.notes.push_back(unread + "; the built-in detection parameters are used");
  } else if (!text.ok()) {
    out.notes.push_back("no " + out.origin + ": the built-in detection parameters are used");
  }
  IniFileStore product(fs, out.origin, "Kalvane Applications");
  IniFileStore general(fs, out.origin, "General");
  FirstOfStore either(product, general);
  KeyValueStore& stored = file ? static_cast<KeyValueStore&>(either) : product;
  RangedStore ranged(stored, ProductSettingRanges(), BaseName(out.origin));
  for (const std::string& note : ranged.notes()) {
    if (note.find(": EVENT_DETECTION_") != std::string::npos) out.notes.push_back(note);
  }
  OverlayStore overlay(ranged, source.overrides);
  for (const std::string& note : p.LoadDetectionParameters(overlay)) out.notes.push_back(BaseName(out.origin) + ": " + note);
  return out;
}

std::string DescribeDetection(const EventDetectionParameters& p) {
  const auto f = [](float v) { return Printf("%g", static_cast<double>(v)); };
  const std::string list = FormatChannelList(p.nChannelList);
  std::string text = "W1 " + f(p.fTimeWindow1) + " ms, W2 " + f(p.fTimeWindow2) + " ms, RMS ratio " + f(p.fRmsRatio) +
                     (p.nMethod == 1 ? ", AND: " + std::to_string(p.nMinimumChannels) + " of channels " + list
                                     : ", OR over channels " + list);
  if (p.fMinimumDuration > 0) text += ", at least " + f(p.fMinimumDuration) + " s";
  if (p.nGlitchPercent > 0 && p.nGlitchSamples > 0) {
    text += ", glitch: " + std::to_string(p.nGlitchPercent) + " % at once under " + std::to_string(p.nGlitchSamples) +
            " samples";
  }
  text += p.bWholeEvents == 1 ? ", whole events " + f(p.fEventGap) + " s apart" : ", merged events";
  if (p.bBandPass == 1) {
    const bool low = p.fBandPassLow > 0.0f, high = p.fBandPassHigh > 0.0f;
    text += low && high ? ", band-pass " + f(p.fBandPassLow) + " to " + f(p.fBandPassHigh) + " Hz"
            : low       ? ", band-pass from " + f(p.fBandPassLow) + " Hz"
            : high      ? ", band-pass up to " + f(p.fBandPassHigh) + " Hz"
                        : ", band-pass with both sides open";
  }
  if (p.bDetectEnd == 1) text += ", times moved by W1";
  return text;
}

}  // namespace zentrova

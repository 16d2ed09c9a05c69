#include "tools/seg2_tool/invert_command.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "inversion/profile_parameters.h"
#include "tools/seg2_tool/dispersion_command.h"
#include "platform/json_text.h"
#include "tools/seg2_tool/line_analysis.h"
#include "tools/seg2_tool/line_curve.h"

namespace zentrova {
namespace {

// The search never runs longer than this, whatever the budget.
constexpr double kTimeLimitSeconds = 300.0;
constexpr uint64_t kMaxCurveFileBytes = 1 << 20;

struct InvertRequest {
  std::vector<std::string> files;
  std::string curveFile;
  bool json = false;
  InversionOptions options;
};

bool WholeNumber(const std::string& text, long min, long max, long& value) {
  if (text.empty() || text.size() > 12) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  value = std::atol(text.c_str());
  return value >= min && value <= max;
}

std::string Parse(const std::vector<std::string>& args, InvertRequest& r) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    long v = 0;
    const bool hasValue = i + 1 < args.size();
    if (a == "--json") {
      r.json = true;
    } else if (a == "--curve") {
      if (!hasValue || args[i + 1].empty()) return "--curve wants a CSV file";
      r.curveFile = args[++i];
    } else if (a == "--models") {
      if (!hasValue || !WholeNumber(args[i + 1], 100, 200000, v)) return "--models wants a number from 100 to 200000";
      r.options.models = static_cast<int>(v);
      ++i;
    } else if (a == "--seed") {
      if (!hasValue || !WholeNumber(args[i + 1], 0, 999999999999L, v)) return "--seed wants a whole number";
      r.options.seed = static_cast<uint64_t>(v);
      ++i;
    } else if (a == "--layers") {
      if (!hasValue || !WholeNumber(args[i + 1], kMinSearchLayers, kMaxSearchLayers, v)) {
        return "--layers wants a number from " + std::to_string(kMinSearchLayers) + " to " +
               std::to_string(kMaxSearchLayers);
      }
      r.options.layers = static_cast<int>(v);
      ++i;
    } else if (a.rfind("--", 0) == 0) {
      return "invert does not know \"" + a + "\"";
    } else {
      r.files.push_back(a);
    }
  }
  if (r.files.empty() == r.curveFile.empty()) return "invert wants one FILE or more, or --curve CSV";
  return "";
}

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
  size_t start = 0;
  while (start < s.size() && (s[start] == ' ' || s[start] == '\t')) ++start;
  return s.substr(start);
}

// A number taking the whole field.
bool Field(const std::string& text, double& v) {
  const std::string t = Trimmed(text);
  if (t.empty()) return false;
  char* end = nullptr;
  v = std::strtod(t.c_str(), &end);
  return end == t.c_str() + t.size();
}

std::string Number(double v) { return JsonNumber(v); }

}  // namespace

ObservedCurve ReadCurveCsv(const std::string& text, std::string& why) {
  ObservedCurve curve;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  why.clear();
  while (std::getline(in, line)) {
    ++number;
    line = Trimmed(line);
    if (number == 1) {
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line = line.substr(3);
      if (line != "frequency,velocity,sigma") {
        why = "the first line is not \"frequency,velocity,sigma\"";
        return {};
      }
      continue;
    }
    if (line.empty()) continue;
    std::vector<std::string> fields;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, ',')) fields.push_back(cell);
    ObservedPoint p;
    if (fields.size() != 3 || !Field(fields[0], p.frequency) || !Field(fields[1], p.velocity) ||
        !Field(fields[2], p.sigma)) {
      why = "line " + std::to_string(number) + " is not three numbers";
      return {};
    }
    if (curve.size() >= static_cast<size_t>(kMaxCurvePoints)) {
      why = "the curve has more than " + std::to_string(kMaxCurvePoints) + " points";
      return {};
    }
    curve.push_back(p);
  }
  if (number == 0) why = "the file is empty";
  return curve;
}

std::string ProfileJson(const VsProfile& p) {
  std::ostringstream o;
  o << "{\"layers\": [";
  for (size_t i = 0; i < p.layers.size(); ++i) {
    const ProfileLayer& l = p.layers[i];
    o << (i ? ", " : "") << "{\"top\": " << Number(l.top) << ", \"bottom\": " << Number(l.bottom)
      << ", \"vs\": " << Number(l.vs) << ", \"vp\": " << Number(l.vp) << ", \"density\": " << Number(l.density)
      << ", \"vs_min\": " << Number(l.vsMin) << ", \"vs_max\": " << Number(l.vsMax) << "}";
  }
  o << "], \"misfit\": " << Number(p.misfit) << ", \"accept_misfit\": " << Number(p.acceptBound)
    << ", \"vs30\": " << Number(p.vs30) << ", \"vs30_min\": " << Number(p.vs30Min)
    << ", \"vs30_max\": " << Number(p.vs30Max) << ", \"vs30_extrapolated\": " << JsonFlag(p.vs30Extrapolated)
    << ", \"resolved_depth\": " << Number(p.resolvedDepth) << ", \"models_tried\": " << p.modelsTried
    << ", \"models_accepted\": " << p.modelsAccepted << ", \"seed\": " << p.seed
    << ", \"stopped\": " << JsonFlag(p.stopped) << ", \"curve\": [";
  for (size_t i = 0; i < p.curve.size(); ++i) {
    const ObservedPoint& c = p.curve[i];
    o << (i ? ", " : "") << "{\"frequency\": " << Number(c.frequency) << ", \"velocity\": " << Number(c.velocity)
      << ", \"sigma\": " << Number(c.sigma) << ", \"model\": " << Number(i < p.bestCurve.size() ? p.bestCurve[i] : 0.0)
      << "}";
  }
  o << "]}";
  return o.str();
}

std::string ProfileText(const VsProfile& p) {
  std::ostringstream o;
  char line[200];
  std::snprintf(line, sizeof line, "Vs30 = %.0f m/s (accepted models %.0f to %.0f)\n", p.vs30, p.vs30Min, p.vs30Max);
  o << line;
  if (p.vs30Extrapolated) {
    std::snprintf(line, sizeof line, "extrapolated below %.1f m\n", p.resolvedDepth);
    o << line;
  }
  std::snprintf(line, sizeof line, "resolved depth %.1f m, misfit %.3f (accepted up to %.3f), %d models tried, %d accepted, seed %llu%s\n",
                p.resolvedDepth, p.misfit, p.acceptBound, p.modelsTried, p.modelsAccepted,
                static_cast<unsigned long long>(p.seed), p.stopped ? ", stopped early" : "");
  o << line << "   top m  bottom m   vs m/s   range m/s      vp m/s\n";
  for (const ProfileLayer& l : p.layers) {
    if (std::isinf(l.bottom)) {
      std::snprintf(line, sizeof line, "%8.2f         -  %7.1f  %6.1f-%-6.1f %7.1f\n", l.top, l.vs, l.vsMin, l.vsMax, l.vp);
    } else {
      std::snprintf(line, sizeof line, "%8.2f  %8.2f  %7.1f  %6.1f-%-6.1f %7.1f\n", l.top, l.bottom, l.vs, l.vsMin,
                    l.vsMax, l.vp);
    }
    o << line;
  }
  return o.str();
}

int InvertCommand(FileSystem& fs, const std::vector<std::string>& args, std::string& usageError) {
  InvertRequest r;
  usageError = Parse(args, r);
  if (!usageError.empty()) return 2;
  ObservedCurve curve;
  if (!r.curveFile.empty()) {
    const std::optional<uint64_t> size = [&]() -> std::optional<uint64_t> {
      auto s = fs.FileSize(r.curveFile);
      return s.ok() ? std::optional<uint64_t>(*s) : std::nullopt;
    }();
    if (size && *size > kMaxCurveFileBytes) {
      std::cerr << "zentrova-seg2: " << OneLine(r.curveFile) << ": too large for a curve\n";
      return 1;
    }
    auto text = ReadWholeFile(fs, r.curveFile);
    if (!text.ok()) {
      std::cerr << "zentrova-seg2: cannot read " << OneLine(r.curveFile) << ": " << OneLine(text.status().message()) << "\n";
      return 1;
    }
    std::string why;
    curve = ReadCurveCsv(*text, why);
    if (!why.empty()) {
      std::cerr << "zentrova-seg2: " << OneLine(r.curveFile) << ": " << why << "\n";
      return 1;
    }
  } else {
    const LineAnalysis line = AnalyseLine(fs, StoredDispersionSettings(fs), r.files, "");
    if (!line.error.empty()) {
      std::cerr << "zentrova-seg2: " << OneLine(line.error) << "\n";
      return 1;
    }
    curve = line.shots.size() == 1 ? CurveOfShot(line.shots[0].analysis.curve) : CurveOfLine(line.combined);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kTimeLimitSeconds);
  r.options.keepGoing = [deadline] { return std::chrono::steady_clock::now() < deadline; };
  const VsProfile profile = InvertCurve(curve, r.options);
  if (!profile.error.empty()) {
    std::cerr << "zentrova-seg2: no profile: " << OneLine(profile.error) << "\n";
    return 1;
  }
  std::cout << (r.json ? ProfileJson(profile) + "\n" : ProfileText(profile));
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "zentrova-seg2: cannot write the output\n";
    return 1;
  }
  return 0;
}

}  // namespace zentrova

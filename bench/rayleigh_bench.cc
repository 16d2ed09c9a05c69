// The Rayleigh forward model: the fundamental mode of a model of five layers
// over a half-space at 60 frequencies (3 to 80 Hz, spaced evenly in log
// frequency), alone and with the first higher mode, against, in the same
// run, a numpy version of the same recursion and search vectorised over the
// frequencies (bench/rayleigh_numpy.py, run with /usr/bin/python3); the
// two curves are compared.
//
//   rayleigh_bench [rounds]

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "inversion/rayleigh_modes.h"

namespace {

using namespace zentrova;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double TimeMs(const LayeredModel& model, const std::vector<double>& f, const ModeSearch& search, int rounds,
              std::vector<RayleighModes>& out) {
  std::vector<double> ms;
  for (int r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    out = RayleighPhaseVelocities(model, f, search);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return Median(ms);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 201;
  const LayeredModel model = {{1.5, 300.0, 120.0, 1800.0}, {3.0, 450.0, 180.0, 1850.0}, {4.0, 600.0, 250.0, 1900.0},
                              {6.0, 900.0, 300.0, 1950.0}, {8.0, 1500.0, 380.0, 2000.0}, {0.0, 1800.0, 500.0, 2100.0}};
  std::vector<double> f;
  for (int i = 0; i < 60; ++i) f.push_back(3.0 * std::pow(80.0 / 3.0, i / 59.0));
  ModeSearch fundamentalOnly;
  fundamentalOnly.higherMode = false;
  std::vector<RayleighModes> ours, both;
  const double ms = TimeMs(model, f, fundamentalOnly, rounds, ours);
  const double msBoth = TimeMs(model, f, ModeSearch{}, rounds, both);
  std::printf("Rayleigh forward model, 5 layers over a half-space, 60 frequencies (medians of %d rounds)\n", rounds);
  std::printf("  fundamental mode         %8.3f ms (target < 1 ms) %s\n", ms, ms < 1.0 ? "met" : "MISSED");
  std::printf("  with the first higher    %8.3f ms\n", msBoth);

  std::ostringstream command;
  command.precision(17);
  command << "/usr/bin/python3 '" << ZENTROVA_SOURCE_DIR << "/bench/rayleigh_numpy.py' " << std::max(3, rounds / 20)
          << " " << fundamentalOnly.step << " " << fundamentalOnly.phaseStep << " ";
  for (size_t i = 0; i < f.size(); ++i) command << (i ? "," : "") << f[i];
  command << " '";
  for (size_t i = 0; i < model.size(); ++i) {
    command << (i ? ";" : "") << model[i].thickness << "," << model[i].vp << "," << model[i].vs << "," << model[i].density;
  }
  command << "'";
  double numpyMs = -1.0, worst = 0.0;
  int compared = 0;
  if (FILE* pipe = ::popen(command.str().c_str(), "r")) {
    char line[1 << 14];
    std::string text;
    while (std::fgets(line, sizeof line, pipe)) text += line;
    ::pclose(pipe);
    std::istringstream in(text);
    if (in >> numpyMs) {
      double v = 0.0;
      for (size_t i = 0; i < ours.size() && in >> v; ++i, ++compared) {
        worst = std::max(worst, std::fabs(v / ours[i].fundamental - 1.0));
      }
    }
  }
  if (numpyMs <= 0.0) {
    std::printf("  numpy: not run (needs /usr/bin/python3 with numpy)\n");
    return ms < 1.0 ? 0 : 3;
  }
  std::printf("  numpy, same formulas     %8.3f ms   numpy / ours %6.1f   curves agree to %.1e at %d of %zu frequencies\n",
              numpyMs, numpyMs / ms, worst, compared, f.size());
  return ms < 1.0 && compared == static_cast<int>(f.size()) && worst < 1e-6 ? 0 : 3;
}

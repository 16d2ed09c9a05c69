#include "tools/seg2_tool/line_analysis.h"

#include "platform/printf.h"
#include "records/seismic_record.h"
#include "tools/seg2_tool/record_reading.h"

namespace zentrova {
namespace {

struct LineShape {
  int traces = 0;
  float intervalUs = 0.0f;
};

std::string Shape(const LineShape& s) {
  return Printf("%d traces at %g ms", s.traces, static_cast<double>(s.intervalUs) / 1000.0);
}

// Where the shot's text files go; empty for none.
std::string ShotFolder(FileSystem& fs, const std::string& filesFolder, const std::string& file, size_t shots) {
  if (filesFolder.empty()) return "";
  const std::string folder = shots == 1 ? filesFolder : filesFolder + fs.Separator() + BaseName(file);
  CreateFolders(fs, folder);
  return folder;
}

}  // namespace

LineAnalysis AnalyseLine(FileSystem& fs, const DispersionSettings& settings, const std::vector<std::string>& files,
                         const std::string& filesFolder) {
  LineAnalysis line;
  LineShape first;
  for (const std::string& path : files) {
    SeismicRecord record(fs.CurrentFolder());
    const Outcome o = ReadRecord(fs, record, path);
    if (o.result == -1) return {{}, {}, o.why};
    if (!o.read) return {{}, {}, path + " rejected: " + o.why};
    if (record.nTraces <= 0) return {{}, {}, path + ": the record has no trace"};
    const LineShape shape{record.nTraces, record.pHeader[0].fSampleInterval};
    if (line.shots.empty()) {
      first = shape;
    } else if (shape.traces != first.traces || shape.intervalUs != first.intervalUs) {
      return {{}, {}, path + " is not a shot of the line of " + files.front() + ": " + Shape(shape) + ", not " +
                          Shape(first)};
    }
    const std::string folder = ShotFolder(fs, filesFolder, path, files.size());
    if (!filesFolder.empty() && !fs.IsDirectory(folder)) return {{}, {}, "cannot create the folder " + folder};
    ShotReport shot;
    shot.file = path;
    shot.settings = settings;
    shot.sampleInterval = record.pHeader[0].fSampleInterval / 1e6;
    // The tool only looks: the station's stored values are not written back.
    shot.analysis = AnalyseSurfaceWaves(record, shot.settings, nullptr, fs, folder, true, shot.result);
    if (shot.analysis.image.rows == 0) {
      return {{}, {}, path + ": no dispersion image (" + NoImageReason(shot.analysis.image) + ")"};
    }
    line.shots.push_back(std::move(shot));
  }
  if (line.shots.size() >= 2) {
    std::vector<DispersionCurve> curves;
    for (const ShotReport& s : line.shots) curves.push_back(s.analysis.curve);
    line.combined = CombineShots(curves);
  }
  return line;
}

}  // namespace zentrova

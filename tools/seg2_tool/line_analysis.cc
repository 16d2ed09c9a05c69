#include "tools/seg2_tool/line_analysis.h"

#include <set>

#include "platform/memory_file_system.h"
#include "platform/printf.h"
#include "records/seismic_record.h"
#include "surfacewave/dispersion_picks.h"
#include "surfacewave/initial_model.h"
#include "surfacewave/text_file.h"
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

// The folders the shots' text files go to: the folder itself for one shot,
// else one per shot named after its file (two of one name kept apart).
std::vector<std::string> ShotFolders(FileSystem& fs, const std::string& filesFolder,
                                     const std::vector<std::string>& files) {
  if (files.size() == 1) return {filesFolder};
  std::vector<std::string> folders;
  std::set<std::string> taken;
  for (const std::string& file : files) {
    std::string name = BaseName(file);
    for (int n = 2; taken.count(name); ++n) name = BaseName(file) + "_" + std::to_string(n);
    taken.insert(name);
    folders.push_back(filesFolder + fs.Separator() + name);
  }
  return folders;
}

// Writes the text files the analyses left in `texts` into their folders;
// empty when all were written, else why not.
std::string WriteTextFiles(FileSystem& fs, FileSystem& texts, const std::string& filesFolder,
                           const std::vector<std::string>& files) {
  const std::vector<std::string> folders = ShotFolders(fs, filesFolder, files);
  for (size_t i = 0; i < files.size(); ++i) {
    CreateFolders(fs, folders[i]);
    if (!fs.IsDirectory(folders[i])) return "cannot create the folder " + folders[i];
    for (const char* name : {kPickFileName, kModelFileName}) {
      const auto text = ReadWholeFile(texts, "/" + std::to_string(i) + "/" + name);
      const std::string path = folders[i] + fs.Separator() + name;
      if (!text.ok() || !ReplaceTextFile(fs, path, *text)) return "cannot write " + path;
    }
  }
  return "";
}

}  // namespace

LineAnalysis AnalyseLine(FileSystem& fs, const DispersionSettings& settings, const std::vector<std::string>& files,
                         const std::string& filesFolder) {
  LineAnalysis line;
  LineShape first;
  std::set<std::string> seen;
  // The text files are kept in memory until every shot is analysed: a line
  // that is refused leaves nothing behind.
  MemoryFileSystem texts;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string& path = files[i];
    if (!seen.insert(path).second) return {{}, {}, path + " is given twice"};
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
    const std::string folder = "/" + std::to_string(i);
    texts.CreateFolder(folder);
    ShotReport shot;
    shot.file = path;
    shot.settings = settings;
    shot.traces = record.nTraces;
    shot.sampleInterval = record.pHeader[0].fSampleInterval / 1e6;
    // The tool only looks: the station's stored values are not written back.
    shot.analysis = AnalyseSurfaceWaves(record, shot.settings, nullptr, texts, folder, true, shot.result);
    if (shot.analysis.image.rows == 0) {
      return {{}, {}, path + ": no dispersion image (" + NoImageReason(shot.analysis.image) + ")"};
    }
    line.shots.push_back(std::move(shot));
  }
  if (!filesFolder.empty()) {
    const std::string why = WriteTextFiles(fs, texts, filesFolder, files);
    if (!why.empty()) return {{}, {}, why};
  }
  if (line.shots.size() >= 2) {
    std::vector<DispersionCurve> curves;
    for (const ShotReport& s : line.shots) curves.push_back(s.analysis.curve);
    line.combined = CombineShots(curves);
  }
  return line;
}

}  // namespace zentrova

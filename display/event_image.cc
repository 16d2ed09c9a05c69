#include "display/event_image.h"

#include "detection/event_message.h"
#include "display/caption_fit.h"
#include "display/cairo_surface.h"
#include "display/plot_frame.h"
#include "display/waveform_drawing.h"
#include "monitor/file_name_text.h"
#include "monitor/free_name_move.h"
#include "platform/fitting_name.h"
#include "platform/local_time.h"
#include "platform/printf.h"
#include "records/record_file_name.h"

namespace zentrova {
namespace {

// The second caption line: as small as the tick labels, between the first
// and the frame's top labels.
constexpr PagePoint kOnsetCaptionAt{10, -65};

std::string CaptionNaming(const CZentrovaDoc& doc, RecordMoment moment, const std::string& name) {
  const CivilTime c = SecondsToLocal(moment.time).value_or(CivilTime{});
  return Printf("%s %d/%.2d/%.2d %.2d:%.2d:%06.3f %s", doc.settingsBlock.sMyName.c_str(), c.year, c.month, c.day,
                c.hour, c.minute, c.second + moment.ms / 1000.0, name.c_str());
}

void DrawCaption(DrawingSurface& surface, const CZentrovaDoc& doc, RecordMoment moment) {
  const FittedCaption caption = FitCaption(
      doc.record.strFileName, [&](const std::string& name) { return CaptionNaming(doc, moment, name); },
      kEventImageArea.width - 2 * kCaptionIndent);
  surface.Text({kCaptionIndent, -10}, caption.text, caption.font);
  const std::string onset = EventImageOnsetCaption(doc);
  if (!onset.empty()) surface.Text(kOnsetCaptionAt, onset, TickLabelFont());
}

}  // namespace

std::string EventImageName(const CZentrovaDoc& doc, RecordMoment moment, int imageNumber) {
  const std::string stem = RecordNameStem(moment.time, moment.ms, FileNameText(doc.settingsBlock.sMyName), imageNumber);
  return NameWithSuffix("Waveform_" + stem, ".png");
}

std::string EventImageCaption(const CZentrovaDoc& doc, RecordMoment moment) {
  return CaptionNaming(doc, moment, doc.record.strFileName);
}

std::string EventImageOnsetCaption(const CZentrovaDoc& doc) {
  const EventDetectionParameters* p = doc.bEventDetection == 1 ? doc.pDetectionParameters.get() : nullptr;
  if (!p || p->nEvents < 1 || p->fEventOnset.empty() || p->fEventTime.empty()) return "";
  std::string text = OnsetText(*p, 0);
  if (p->nEvents > 1) text += Printf(", the first of %d events", p->nEvents);
  return text;
}

std::string WriteEventImage(CZentrovaDoc& doc, const std::string& baseFolder, int imageNumber, int mode) {
  FileSystem& fs = doc.platform.fs;
  const std::string folder = JoinPath(fs, baseFolder, "EventImage");
  const auto entry = fs.Inspect(folder);
  // A link of that name leads into a folder that is not the station's.
  if (entry.ok() && entry->type == EntryType::kLink) return "";
  if (!entry.ok()) (void)fs.CreateFolder(folder);
  const RecordMoment moment = doc.settingsBlock.NamingMoment(doc.platform.clock.Now());
  const std::string name = EventImageName(doc, moment, imageNumber);

  CairoSurface surface(kEventImageWidth, kEventImageHeight, kImagePixelsPerUnit);
  surface.FillRect({{0, 0}, {2000, -1000}}, kWindowBackground);
  DrawCaption(surface, doc, moment);
  PlotAxes axes;
  axes.bYDown = 1;
  axes.bXTitle = 1;
  axes.bYTitle = 1;
  DrawWaveformPlot(surface, axes, doc, kEventImageArea, 1.0f, 0);
  // Written whole under a name of its own, then moved to the first free
  // name: the picture of another record is never replaced.
  const std::string drawn = JoinPath(fs, folder, NameWithSuffix(name, ".new"));
  if (surface.WritePng(fs, drawn, mode).ok) {
    const Placement placed = MoveUnderFreeName(fs, drawn, folder, name);
    if (placed.status.ok() && placed.sourceRemains) (void)fs.Remove(drawn);
    if (placed.status.ok()) return placed.target;
  }
  if (fs.Inspect(drawn).ok()) (void)fs.Remove(drawn);
  return FirstFreePath(fs, folder, name);
}

void ConnectEventImage(CZentrovaDoc& doc) {
  doc.services.drawEventImage = [&doc](int number, int mode) {
    return WriteEventImage(doc, doc.settingsBlock.strDestinationFolder, number, mode);
  };
}

}  // namespace zentrova

#include "display/event_image.h"

#include "display/cairo_surface.h"
#include "display/waveform_drawing.h"
#include "platform/printf.h"

namespace zentrova {

std::string WriteEventImage(CZentrovaDoc& doc, const std::string& baseFolder, int imageNumber, int mode) {
  FileSystem& fs = doc.platform.fs;
  const std::string folder = JoinPath(fs, baseFolder, "EventImage");
  const auto entry = fs.Inspect(folder);
  // A link of that name leads into a folder that is not the station's.
  if (entry.ok() && entry->type == EntryType::kLink) return "";
  if (!entry.ok()) (void)fs.CreateFolder(folder);
  const std::string path = JoinPath(fs, folder, Printf("Waveform_%d.png", imageNumber));

  CairoSurface surface(kEventImageWidth, kEventImageHeight, kImagePixelsPerUnit);
  surface.FillRect({{0, 0}, {2000, -1000}}, kWindowBackground);
  PlotAxes axes;
  axes.bYDown = 1;
  DrawWaveforms(surface, axes, doc, kEventImageArea, 1.0f, 0);
  if (!surface.WritePng(fs, path, mode).ok && fs.Inspect(path).ok()) (void)fs.Remove(path);
  return path;
}

void ConnectEventImage(CZentrovaDoc& doc) {
  doc.services.drawEventImage = [&doc](int number, int mode) {
    return WriteEventImage(doc, doc.settingsBlock.strDestinationFolder, number, mode);
  };
}

}  // namespace zentrova

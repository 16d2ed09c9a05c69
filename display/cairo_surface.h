#pragma once
// A drawing surface on an image in memory (32 bits a pixel), for the PNG
// pictures and for windows that show an image. Page units become pixels by a
// fixed factor: at 0.5 pixel a page unit (about 127 dots per inch) the
// 1333 x 666 page-unit area of the event image fills 666 x 333 pixels.
//
// Lines and shapes are drawn without smoothing, as a window's device
// context draws them, so that a colour the plot asks for is the colour of
// the pixels; text is smoothed, and drawn as UTF-8 (bytes that are not
// UTF-8 show as U+FFFD). The face "Arial" is used where it is
// installed, otherwise the face of the same metrics "Liberation Sans".

#include <cstdint>
#include <string>

#include "display/drawing_surface.h"
#include "platform/file_system.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace zentrova {

inline constexpr double kImagePixelsPerUnit = 0.5;

// What became of an encoding or a write: ok, or why not (one line).
struct PngResult {
  bool ok = false;
  std::string error;
  std::string bytes;  // the PNG file's bytes (EncodePng)
};

class CairoSurface : public DrawingSurface {
 public:
  // An image of width x height pixels, white until drawn on.
  CairoSurface(int widthPixels, int heightPixels, double pixelsPerUnit = kImagePixelsPerUnit);
  ~CairoSurface() override;
  CairoSurface(const CairoSurface &) = delete;
  CairoSurface &operator=(const CairoSurface &) = delete;

  PageSize AreaSize() const override;
  void Line(PagePoint from, PagePoint to, const Pen &pen) override;
  void Polyline(const PagePoint *points, size_t count, const Pen &pen) override;
  void Text(PagePoint at, const std::string &text, const std::optional<Font> &font) override;
  void Ellipse(const PageRect &box, const Pen &outline, Rgb fill) override;
  void Rectangle(const PageRect &box, const Pen &outline, Rgb fill) override;
  void FillRect(const PageRect &box, Rgb fill) override;
  void Image(const RgbImage &image, const PageRect &box) override;

  int WidthPixels() const { return width_; }
  int HeightPixels() const { return height_; }
  double PixelsPerUnit() const { return scale_; }
  // False when the image could not be made (a size out of range, no memory);
  // drawing then does nothing and encoding fails.
  bool ok() const { return ok_; }
  // Why the picture is not what was drawn (the image could not be made, or
  // the drawing library stopped at an error); empty while it is. A picture
  // with an error is never encoded.
  std::string DrawingError() const;

  // The colour of one pixel, 0xRRGGBB (0 outside the image).
  uint32_t PixelAt(int x, int y);
  // The whole picture, rows from the top.
  RgbImage Pixels();

  // The PNG file's bytes in result.bytes.
  PngResult EncodePng();
  // Writes the PNG to `path` under a temporary name first and puts it in
  // place in one step, so that an older picture of that name is replaced
  // whole or not at all. The new file gets at most the permission bits `mode`.
  PngResult WritePng(FileSystem &fs, const std::string &path, int mode = 0666);

  // The picture in PNG bytes (nothing when they are not a PNG).
  static std::optional<RgbImage> DecodePng(const std::string& bytes);

  // The face that text in `face` is drawn in on this machine.
  static std::string ResolvedFace(const std::string &face);

 private:
  double X(int x) const { return x * scale_; }
  double Y(int y) const { return -y * scale_; }
  void SetPen(const Pen &pen);
  void SetColour(Rgb c);
  // Outlines are offset to pixel centres, fills are not.
  void BoxPath(const PageRect &box, double offset);
  void EllipsePath(const PageRect &box, double offset);

  int width_ = 0;
  int height_ = 0;
  double scale_ = kImagePixelsPerUnit;
  bool ok_ = false;
  cairo_surface_t *surface_ = nullptr;
  cairo_t *cr_ = nullptr;
};

// Face of the plots' text and its stand-in of the same metrics.
inline constexpr const char *kPlotFace = "Arial";
inline constexpr const char *kPlotFaceStandIn = "Liberation Sans";

}  // namespace zentrova

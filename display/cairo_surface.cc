#include "display/cairo_surface.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/valid_utf8.h"
#include "platform/replace_contents.h"

#if defined(__SANITIZE_ADDRESS__)
// Cairo's font-face cache and fontconfig's configuration are held until the
// process ends, in ways the leak checker cannot follow; they are not leaks
// of this program. Both are allocated by fontconfig (the cached faces hold
// fontconfig patterns): only what fontconfig allocates is passed over, so a
// Cairo surface or context left undestroyed is still reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Quietly: a program's own error output stays as it is.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

namespace zentrova {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Images larger than this on a side are not made (a hostile size).
constexpr int kMaxPixels = 20000;
// Strokes sit on pixel centres, so that a one-pixel line covers one row.
constexpr double kStrokeOffset = 0.5;

bool SameFamily(const std::string &a, const std::string &b) { return ::strcasecmp(a.c_str(), b.c_str()) == 0; }

// The family fontconfig gives for `face`, empty when it cannot tell.
std::string MatchedFamily(const std::string &face) {
  static std::mutex mutex;  // fontconfig's configuration is shared
  std::lock_guard<std::mutex> lock(mutex);
  std::string family;
  FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>(face.c_str()));
  if (!pattern) return family;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern *match = FcFontMatch(nullptr, pattern, &result);
  if (match) {
    FcChar8 *name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name) {
      family = reinterpret_cast<const char *>(name);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return family;
}

}  // namespace

std::string CairoSurface::ResolvedFace(const std::string &face) {
  static std::mutex mutex;
  static std::string lastFace, lastResolved;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!lastFace.empty() && lastFace == face) return lastResolved;
  }
  const std::string matched = MatchedFamily(face);
  std::string resolved = face;
  if (!SameFamily(matched, face)) {
    // Arial's stand-in where Arial is missing; any other face as matched.
    resolved = SameFamily(face, kPlotFace) ? kPlotFaceStandIn : (matched.empty() ? face : matched);
  }
  std::lock_guard<std::mutex> lock(mutex);
  lastFace = face;
  lastResolved = resolved;
  return resolved;
}

CairoSurface::CairoSurface(int widthPixels, int heightPixels, double pixelsPerUnit)
    : width_(std::clamp(widthPixels, 0, kMaxPixels)),
      height_(std::clamp(heightPixels, 0, kMaxPixels)),
      scale_(std::isfinite(pixelsPerUnit) && pixelsPerUnit > 0.0 ? pixelsPerUnit : kImagePixelsPerUnit) {
  if (width_ < 1 || height_ < 1) return;
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return;
  cr_ = cairo_create(surface_);
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) return;
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgb(cr_, 1, 1, 1);
  cairo_paint(cr_);
  ok_ = true;
}

CairoSurface::~CairoSurface() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

PageSize CairoSurface::AreaSize() const {
  return {static_cast<int>(width_ / scale_), static_cast<int>(height_ / scale_)};
}

void CairoSurface::SetColour(Rgb c) { cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void CairoSurface::SetPen(const Pen &pen) {
  SetColour(pen.colour);
  cairo_set_line_width(cr_, std::max(1.0, std::min(pen.width * scale_, 1000.0)));
}

void CairoSurface::Line(PagePoint from, PagePoint to, const Pen &pen) {
  if (!ok_) return;
  SetPen(pen);
  cairo_move_to(cr_, X(from.x) + kStrokeOffset, Y(from.y) + kStrokeOffset);
  cairo_line_to(cr_, X(to.x) + kStrokeOffset, Y(to.y) + kStrokeOffset);
  cairo_stroke(cr_);
}

void CairoSurface::Polyline(const PagePoint *points, size_t count, const Pen &pen) {
  if (!ok_ || count < 2) return;
  SetPen(pen);
  cairo_move_to(cr_, X(points[0].x) + kStrokeOffset, Y(points[0].y) + kStrokeOffset);
  for (size_t i = 1; i < count; ++i) cairo_line_to(cr_, X(points[i].x) + kStrokeOffset, Y(points[i].y) + kStrokeOffset);
  cairo_stroke(cr_);
}

void CairoSurface::Text(PagePoint at, const std::string &text, const std::optional<Font> &font) {
  if (!ok_ || text.empty()) return;
  const Font f = font.value_or(Font{kPlotFace, 35, 0});
  const double cell = std::clamp(f.height * scale_, 1.0, 2000.0);
  cairo_save(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
  cairo_select_font_face(cr_, ResolvedFace(f.face.empty() ? kPlotFace : f.face).c_str(), CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  // The height is the character cell's (ascent and descent), as a window's
  // font of positive height has it.
  cairo_set_font_size(cr_, cell);
  cairo_font_extents_t e;
  cairo_font_extents(cr_, &e);
  const double fullCell = e.ascent + e.descent;
  if (fullCell > 0) cairo_set_font_size(cr_, cell * cell / fullCell);
  cairo_font_extents(cr_, &e);
  SetColour(kBlack);
  cairo_translate(cr_, X(at.x), Y(at.y));
  // Counter-clockwise on the page is counter-clockwise on the image too;
  // in the image's downward y that is a negative angle.
  cairo_rotate(cr_, -(f.escapement % 3600) / 10.0 * kPi / 180.0);
  cairo_move_to(cr_, 0, e.ascent);
  // Cairo refuses text that is not UTF-8, and its context with it.
  cairo_show_text(cr_, ValidUtf8(text).c_str());
  cairo_new_path(cr_);
  cairo_restore(cr_);
}

void CairoSurface::BoxPath(const PageRect &box, double offset) {
  const double x0 = std::min(X(box.a.x), X(box.b.x)), x1 = std::max(X(box.a.x), X(box.b.x));
  const double y0 = std::min(Y(box.a.y), Y(box.b.y)), y1 = std::max(Y(box.a.y), Y(box.b.y));
  cairo_rectangle(cr_, x0 + offset, y0 + offset, x1 - x0, y1 - y0);
}

void CairoSurface::EllipsePath(const PageRect &box, double offset) {
  const double cx = (X(box.a.x) + X(box.b.x)) / 2 + offset, cy = (Y(box.a.y) + Y(box.b.y)) / 2 + offset;
  const double rx = std::fabs(X(box.b.x) - X(box.a.x)) / 2, ry = std::fabs(Y(box.b.y) - Y(box.a.y)) / 2;
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr_);
  cairo_translate(cr_, cx, cy);
  cairo_scale(cr_, rx, ry);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr_);
}

void CairoSurface::Ellipse(const PageRect &box, const Pen &outline, Rgb fill) {
  if (!ok_) return;
  EllipsePath(box, 0.0);
  SetColour(fill);
  cairo_fill(cr_);
  EllipsePath(box, kStrokeOffset);
  SetPen(outline);
  cairo_stroke(cr_);
}

void CairoSurface::Rectangle(const PageRect &box, const Pen &outline, Rgb fill) {
  if (!ok_) return;
  BoxPath(box, 0.0);
  SetColour(fill);
  cairo_fill(cr_);
  BoxPath(box, kStrokeOffset);
  SetPen(outline);
  cairo_stroke(cr_);
}

void CairoSurface::FillRect(const PageRect &box, Rgb fill) {
  if (!ok_) return;
  BoxPath(box, 0.0);
  SetColour(fill);
  cairo_fill(cr_);
}

void CairoSurface::Image(const RgbImage &image, const PageRect &box) {
  if (!ok_ || image.width < 1 || image.height < 1 || image.width > kMaxPixels || image.height > kMaxPixels ||
      image.pixels.size() < static_cast<size_t>(image.width) * image.height) {
    return;
  }
  cairo_surface_t *source = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
  if (cairo_surface_status(source) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(source);
    return;
  }
  cairo_surface_flush(source);
  unsigned char *data = cairo_image_surface_get_data(source);
  const int stride = cairo_image_surface_get_stride(source);
  for (int y = 0; y < image.height; ++y) {
    auto *row = reinterpret_cast<uint32_t *>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < image.width; ++x) row[x] = image.pixels[static_cast<size_t>(y) * image.width + x];
  }
  cairo_surface_mark_dirty(source);
  const double x0 = X(box.a.x), y0 = Y(box.a.y);
  const double sx = (X(box.b.x) - x0) / image.width, sy = (Y(box.b.y) - y0) / image.height;
  if (sx == 0 || sy == 0) {
    cairo_surface_destroy(source);
    return;
  }
  cairo_save(cr_);
  BoxPath(box, 0.0);
  cairo_clip(cr_);
  cairo_translate(cr_, x0, y0);
  cairo_scale(cr_, sx,
              sy);  // a negative factor mirrors: the first row lies at box.a's side
  // A pattern of its own: the context's source would be a new pattern,
  // never freed, were the context in an error state.
  cairo_pattern_t *pattern = cairo_pattern_create_for_surface(source);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_set_source(cr_, pattern);
  cairo_paint(cr_);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(source);
}

uint32_t CairoSurface::PixelAt(int x, int y) {
  if (!ok_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  cairo_surface_flush(surface_);
  const unsigned char *data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  return reinterpret_cast<const uint32_t *>(data + static_cast<size_t>(y) * stride)[x] & 0xFFFFFFu;
}

RgbImage CairoSurface::Pixels() {
  RgbImage out;
  if (!ok_) return out;
  out.width = width_;
  out.height = height_;
  out.pixels.resize(static_cast<size_t>(width_) * height_);
  cairo_surface_flush(surface_);
  const unsigned char *data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const auto *row = reinterpret_cast<const uint32_t *>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width_; ++x) out.pixels[static_cast<size_t>(y) * width_ + x] = row[x] & 0xFFFFFFu;
  }
  return out;
}

namespace {

cairo_status_t AppendBytes(void *closure, const unsigned char *data, unsigned int length) {
  static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

namespace {

struct PngSource {
  const std::string *bytes;
  size_t at;
};

cairo_status_t ReadBytes(void *closure, unsigned char *data, unsigned int length) {
  auto *source = static_cast<PngSource *>(closure);
  if (source->bytes->size() - source->at < length) return CAIRO_STATUS_READ_ERROR;
  std::copy_n(source->bytes->data() + source->at, length, data);
  source->at += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::optional<RgbImage> CairoSurface::DecodePng(const std::string &bytes) {
  PngSource source{&bytes, 0};
  cairo_surface_t *png = cairo_image_surface_create_from_png_stream(ReadBytes, &source);
  std::optional<RgbImage> out;
  if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
    RgbImage image;
    image.width = cairo_image_surface_get_width(png);
    image.height = cairo_image_surface_get_height(png);
    const unsigned char *data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
      const auto *row = reinterpret_cast<const uint32_t *>(data + static_cast<size_t>(y) * stride);
      for (int x = 0; x < image.width; ++x) image.pixels[static_cast<size_t>(y) * image.width + x] = row[x] & 0xFFFFFFu;
    }
    out = std::move(image);
  }
  cairo_surface_destroy(png);
  return out;
}

std::string CairoSurface::DrawingError() const {
  if (!ok_) return "no image to draw on";
  const cairo_status_t status = cairo_status(cr_);
  return status == CAIRO_STATUS_SUCCESS ? "" : std::string("the drawing failed: ") + cairo_status_to_string(status);
}

PngResult CairoSurface::EncodePng() {
  PngResult r;
  if (!ok_) {
    r.error = "no image to encode";
    return r;
  }
  // A context in an error state has stopped drawing: its picture is not
  // the one asked for, however blank or whole it looks.
  r.error = DrawingError();
  if (!r.error.empty()) return r;
  cairo_surface_flush(surface_);
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface_, AppendBytes, &r.bytes);
  if (status != CAIRO_STATUS_SUCCESS) {
    r.bytes.clear();
    r.error = std::string("the PNG could not be made: ") + cairo_status_to_string(status);
    return r;
  }
  r.ok = true;
  return r;
}

PngResult CairoSurface::WritePng(FileSystem &fs, const std::string &path, int mode) {
  PngResult r = EncodePng();
  if (!r.ok) return r;
  const Status written = ReplaceContents(fs, path, r.bytes, mode, true);
  if (!written.ok()) {
    r.ok = false;
    r.error = written.message();
  }
  return r;
}

}  // namespace zentrova

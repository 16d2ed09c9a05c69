#pragma once
// What every plot draws on: a page in units of 0.1 mm with the origin at the
// top-left corner of the drawing area, x growing to the right and y growing
// upward (points inside the area have y <= 0). Pen widths and font heights
// are page units too. A Cairo image, a recording for the tests and a window
// painter all implement it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
// The background of a window's drawing area.
inline constexpr Rgb kWindowBackground{255, 255, 255};

struct PagePoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PagePoint&, const PagePoint&) = default;
};

// Two opposite corners, as given (not normalised).
struct PageRect {
  PagePoint a;
  PagePoint b;
  friend bool operator==(const PageRect&, const PageRect&) = default;
};

// Absolute width and height of a drawing area in page units.
struct PageSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PageSize&, const PageSize&) = default;
};

// A solid pen. Width 0 is the thinnest line the surface can draw (one
// device pixel), as a window's default pen.
struct Pen {
  Rgb colour;
  int width = 0;
  friend bool operator==(const Pen&, const Pen&) = default;
};

inline constexpr Pen kDefaultPen{kBlack, 0};

struct Font {
  std::string face = "Arial";
  int height = 0;      // page units
  int escapement = 0;  // tenths of a degree, counter-clockwise on the page
  friend bool operator==(const Font&, const Font&) = default;
};

// A picture of width x height pixels, rows from the top, 0xRRGGBB each.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  static uint32_t Pack(Rgb c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // The size of the drawing area in page units.
  virtual PageSize AreaSize() const = 0;

  virtual void Line(PagePoint from, PagePoint to, const Pen& pen) = 0;
  virtual void Polyline(const PagePoint* points, size_t count, const Pen& pen) = 0;
  // Text whose upper-left corner in its reading direction is at `at`, in
  // `font` (nothing: the surface's own font) and black.
  virtual void Text(PagePoint at, const std::string& text, const std::optional<Font>& font) = 0;
  // An ellipse inside `box`, outlined with `outline` and filled with `fill`.
  virtual void Ellipse(const PageRect& box, const Pen& outline, Rgb fill) = 0;
  // A rectangle outlined with `outline` and filled with `fill`.
  virtual void Rectangle(const PageRect& box, const Pen& outline, Rgb fill) = 0;
  // A filled rectangle without an outline (backgrounds).
  virtual void FillRect(const PageRect& box, Rgb fill) = 0;
  // `image` stretched onto `box`, its first row at box.a's side.
  virtual void Image(const RgbImage& image, const PageRect& box) = 0;
};

}  // namespace zentrova

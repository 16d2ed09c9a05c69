#include "display/caption_fit.h"

#include <cmath>

#include "display/plot_frame.h"

namespace zentrova {
namespace {

// Per character, as a share of the font's height (its cell): Arial's
// figures are 0.56 of the em, the em 0.87 of the cell; most other letters are narrower.
constexpr double kCharacterShare = 0.48;

bool Continues(unsigned char c) { return (c & 0xC0) == 0x80; }

// The last `keep` bytes of `name` behind "...", never starting inside a
// character of several bytes.
std::string Tail(const std::string& name, size_t keep) {
  size_t from = name.size() - keep;
  while (from < name.size() && Continues(static_cast<unsigned char>(name[from]))) ++from;
  return "..." + name.substr(from);
}

}  // namespace

int DrawnTextWidth(const std::string& text, const Font& font) {
  size_t characters = 0;
  for (unsigned char c : text) characters += Continues(c) ? 0 : 1;
  return static_cast<int>(std::ceil(static_cast<double>(characters) * font.height * kCharacterShare));
}

FittedCaption FitCaption(const std::string& name, const std::function<std::string(const std::string&)>& compose,
                         int width) {
  const Font largest = CaptionFont();
  const Font smallest = TickLabelFont();
  FittedCaption c{compose(name), largest};
  // Smaller letters, a tenth at a time.
  const int step = std::max(1, largest.height / 10);
  while (DrawnTextWidth(c.text, c.font) > width && c.font.height - step >= smallest.height) c.font.height -= step;
  if (DrawnTextWidth(c.text, c.font) > width) c.font.height = smallest.height;
  // Then a shorter name.
  for (size_t keep = name.size(); DrawnTextWidth(c.text, c.font) > width && keep > 0;) {
    keep = keep > 8 ? keep - std::max<size_t>(1, keep / 8) : keep - 1;
    c.text = compose(Tail(name, keep));
  }
  return c;
}

}  // namespace zentrova

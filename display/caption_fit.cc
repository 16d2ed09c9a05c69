#include "display/caption_fit.h"

#include <cmath>

#include "display/plot_frame.h"

namespace zentrova {
namespace {

bool Continues(unsigned char c) { return (c & 0xC0) == 0x80; }

// A character's width as a share of the font's height (its cell, about
// 1.12 em in Arial), a little above Arial's widths for its class: narrow
// marks 0.28 em, figures 0.56, small letters mostly 0.5 to 0.56, capitals
// and others 0.61 to 0.72 (and wider letters in any other face).
double Share(unsigned char c) {
  if (c == ' ' || c == '.' || c == ',' || c == ':' || c == ';' || c == '!' || c == '|' || c == '\'' || c == 'i' ||
      c == 'j' || c == 'l' || c == 'f' || c == 't' || c == 'r' || c == '(' || c == ')' || c == '/' || c == '-' ||
      c == '[' || c == ']') {
    return 0.32;
  }
  if (c >= '0' && c <= '9') return 0.52;
  if (c >= 'a' && c <= 'z') return c == 'm' || c == 'w' ? 0.78 : 0.52;
  return c == 'M' || c == 'W' || c == '@' || c == '%' ? 0.9 : 0.68;
}

// The last `keep` bytes of `name` behind "...", never starting inside a
// character of several bytes.
std::string Tail(const std::string& name, size_t keep) {
  size_t from = name.size() - keep;
  while (from < name.size() && Continues(static_cast<unsigned char>(name[from]))) ++from;
  return "..." + name.substr(from);
}

}  // namespace

int DrawnTextWidth(const std::string& text, const Font& font) {
  double shares = 0.0;
  for (unsigned char c : text) shares += Continues(c) ? 0.0 : Share(c);
  return static_cast<int>(std::ceil(shares * font.height));
}

FittedCaption FitCaption(const std::string& name, const CaptionForm& compose, int width) {
  return FitCaption(name, std::vector<CaptionForm>{compose}, width);
}

FittedCaption FitCaption(const std::string& name, const std::vector<CaptionForm>& forms, int width) {
  const Font largest = CaptionFont();
  const Font smallest = TickLabelFont();
  if (forms.empty()) return {name, largest};
  const auto fits = [&](const FittedCaption& c) { return DrawnTextWidth(c.text, c.font) <= width; };
  FittedCaption c{forms.front()(name), largest};
  // Smaller letters, a tenth at a time.
  const int step = std::max(1, largest.height / 10);
  while (!fits(c) && c.font.height - step >= smallest.height) c.font.height -= step;
  if (fits(c)) return c;
  c.font.height = smallest.height;
  // Then a shorter form with the whole name.
  for (const CaptionForm& form : forms) {
    c.text = form(name);
    if (fits(c)) return c;
  }
  // Then a shorter name, in the fullest form that keeps enough of it.
  const size_t kept = std::min(name.size(), kNameTailKept);
  const CaptionForm* chosen = &forms.back();
  for (const CaptionForm& form : forms) {
    c.text = form(Tail(name, kept));
    if (fits(c)) {
      chosen = &form;
      break;
    }
  }
  c.text = (*chosen)(name);
  for (size_t keep = name.size(); !fits(c) && keep > 0;) {
    keep = keep > 8 ? keep - std::max<size_t>(1, keep / 8) : keep - 1;
    c.text = (*chosen)(Tail(name, keep));
  }
  return c;
}

}  // namespace zentrova

#pragma once
// Dialog units to pixels as the dialog templates mean them: a horizontal
// unit is a quarter of the font's average character width, a vertical unit
// an eighth of its height.

#include <QFont>
#include <QRect>
#include <QSize>

namespace zentrova {

struct DialogUnits {
  int baseX = 8;   // average character width in pixels
  int baseY = 16;  // character height in pixels

  static DialogUnits Of(const QFont& font);
  int X(int dlu) const { return (dlu * baseX + 2) / 4; }
  int Y(int dlu) const { return (dlu * baseY + 4) / 8; }
  QSize Size(QSize dlu) const { return QSize(X(dlu.width()), Y(dlu.height())); }
  QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }
};

// A template drawn for a small dialog font is wider and taller in a larger
// desktop font than the room it was drawn for. This is `font` at the
// largest pixel size, not above its own, whose dialog units lay a template
// of `dlu` out within `room`; the smallest readable size (8 pixels) when
// none does.
// The units stay those of the font, so every text keeps fitting its control.
QFont FontFitting(const QFont& font, QSize dlu, QSize room);

}  // namespace zentrova

#pragma once
// Dialog units to pixels as the dialog templates mean them: a horizontal
// unit is a quarter of the font's average character width, a vertical unit
// an eighth of its height.

#include <QFont>
#include <QRect>

namespace zentrova {

struct DialogUnits {
  int baseX = 8;   // average character width in pixels
  int baseY = 16;  // character height in pixels

  static DialogUnits Of(const QFont& font);
  int X(int dlu) const { return (dlu * baseX + 2) / 4; }
  int Y(int dlu) const { return (dlu * baseY + 4) / 8; }
  QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }
};

}  // namespace zentrova

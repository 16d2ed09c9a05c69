#include "app/shell/dialog_units.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace zentrova {

namespace {

const int kSmallestPixelSize = 8;

}  // namespace

DialogUnits DialogUnits::Of(const QFont& font) {
  const QFontMetrics m(font);
  // The average width over the 52 letters, rounded.
  const int letters = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  DialogUnits u;
  u.baseX = (letters / 26 + 1) / 2;
  u.baseY = m.height();
  if (u.baseX <= 0) u.baseX = 1;
  if (u.baseY <= 0) u.baseY = 1;
  return u;
}

QFont FontFitting(const QFont& font, QSize dlu, QSize room) {
  auto fits = [&](const QFont& f) {
    const QSize size = DialogUnits::Of(f).Size(dlu);
    return size.width() <= room.width() && size.height() <= room.height();
  };
  if (fits(font)) return font;
  QFont smaller = font;
  for (int px = QFontInfo(font).pixelSize() - 1; px >= kSmallestPixelSize; --px) {
    smaller.setPixelSize(px);
    if (fits(smaller)) return smaller;
  }
  // The smallest size tried; the font itself when it was no larger.
  return smaller.pixelSize() < 0 ? font : smaller;
}

}  // namespace zentrova

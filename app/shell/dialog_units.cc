#include "app/shell/dialog_units.h"

#include <QFontMetrics>

namespace zentrova {

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

}  // namespace zentrova

#include "app/shell/gui_relay.h"

#include <QMetaObject>

namespace zentrova {

void GuiRelay::PostLogChanged() {
  if (logPending_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this, [this] {
        logPending_ = false;
        if (onLogChanged) onLogChanged();
      },
      Qt::QueuedConnection);
}

void GuiRelay::PostNewFiles() {
  QMetaObject::invokeMethod(
      this, [this] {
        if (onNewFiles) onNewFiles();
      },
      Qt::QueuedConnection);
}

}  // namespace zentrova

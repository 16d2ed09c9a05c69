#pragma once
// The dialogs of the desktop program in Qt: the program's own dialog
// windows where they are built in, Qt's standard dialogs otherwise.

#include <QWidget>

#include "app/shell/dialog_provider.h"

namespace zentrova {

// `parent` is the window the dialogs are centred on; it must outlive them.
DialogProvider StandardDialogs(QWidget* parent);

}  // namespace zentrova

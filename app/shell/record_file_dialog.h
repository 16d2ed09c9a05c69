#pragma once
// The open-file dialog of "File > Open": a record file, SEG-2 or the
// three-component format, from the watched folder on.

#include <QFileDialog>
#include <optional>
#include <string>

namespace zentrova {

inline std::optional<std::string> ChooseRecordFile(QWidget* parent, const std::string& folder) {
  const QString chosen = QFileDialog::getOpenFileName(
      parent, QStringLiteral("Open a record"), QString::fromStdString(folder),
      QStringLiteral("Records (*.sg2 *.seg2 *.dat *.SG2 *.DAT *.mtn *.orb);;All files (*)"));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

}  // namespace zentrova

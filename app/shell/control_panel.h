#pragma once
// The control panel's window: template 101 in pixels of its font, the
// read-only fields, the log pane and the eight status buttons. Its font is
// the desktop's, made smaller where the template would not fit its frame.

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <array>

#include "app/shell/dialog_units.h"
#include "app/shell/status_buttons.h"

namespace zentrova {

class CZentrovaDoc;

// A status button: its whole face in the colour of its state with the
// caption at (10, 10) in black.
class StatusButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit StatusButton(QWidget* parent = nullptr);
  void SetFace(const StatusFace& face);  // and repaints at once
  const StatusFace& face() const { return face_; }
  static QColor OnColour() { return QColor(0, 255, 0); }
  static QColor OffColour() { return QColor(255, 0, 0); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  StatusFace face_;
};

class ControlPanel : public QWidget {
  Q_OBJECT

 public:
  // Laid out in the font that fits the template into `room`, the room its
  // frame leaves it (see FontFitting).
  explicit ControlPanel(QSize room, QWidget* parent = nullptr);

  // The fields from the document: site name, folders, free space, log pane.
  void Refresh(CZentrovaDoc& doc);
  void RefreshLogPane(CZentrovaDoc& doc);
  void DrawStatusButton(int slot, const StatusFace& face);

  StatusButton* button(int slot) const { return buttons_[slot]; }
  QLineEdit* field(int control) const;
  QPlainTextEdit* logPane() const { return logPane_; }
  const DialogUnits& units() const { return units_; }
  // The template's size in pixels: 776 x 279 dialog units.
  QSize TemplateSize() const;

 signals:
  void statusButtonClicked(int slot);

 private:
  DialogUnits units_;
  QLineEdit* original_;
  QLineEdit* siteName_;
  QLineEdit* destination_;
  QLineEdit* available_;
  QPlainTextEdit* logPane_;
  std::array<StatusButton*, kStatusSlots> buttons_{};
};

}  // namespace zentrova

#include "app/shell/control_panel.h"

#include <QLabel>
#include <QPainter>
#include <mutex>

#include "monitor/zentrova_doc.h"
#include "platform/printf.h"

namespace zentrova {

StatusButton::StatusButton(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::StrongFocus); }

void StatusButton::SetFace(const StatusFace& face) {
  face_ = face;
  setAccessibleName(QString::fromStdString(face.caption));
  repaint();
}

void StatusButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), face_.on ? OnColour() : OffColour());
  p.setPen(Qt::black);
  p.setFont(font());
  p.drawText(QRect(10, 10, width() - 10, height() - 10), Qt::AlignLeft | Qt::AlignTop,
             QString::fromStdString(face_.caption));
  if (hasFocus()) {
    QPen pen(Qt::black, 1, Qt::DotLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(2, 2, -3, -3));
  }
}

namespace {

const QSize kTemplateDlu(776, 279);

QLineEdit* ReadOnlyField(QWidget* parent, const char* control, bool border) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(control);
  e->setReadOnly(true);
  e->setFrame(border);
  return e;
}

}  // namespace

ControlPanel::ControlPanel(QSize room, QWidget* parent) : QWidget(parent) {
  setFont(FontFitting(font(), kTemplateDlu, room));
  units_ = DialogUnits::Of(font());
  const DialogUnits& u = units_;
  auto label = [this, &u](const char* text, int x, int y, int w, int h) {
    auto* l = new QLabel(QString::fromLatin1(text), this);
    l->setGeometry(u.Rect(x, y, w, h));
  };
  label("Original ", 7, 7, 35, 13);
  original_ = ReadOnlyField(this, "1018", true);
  original_->setGeometry(u.Rect(50, 7, 536, 13));
  siteName_ = ReadOnlyField(this, "1025", false);
  siteName_->setGeometry(u.Rect(677, 7, 92, 12));
  label("Destination", 7, 22, 39, 13);
  destination_ = ReadOnlyField(this, "1019", true);
  destination_->setGeometry(u.Rect(48, 23, 218, 13));
  available_ = ReadOnlyField(this, "1020", true);
  available_->setGeometry(u.Rect(269, 23, 30, 13));
  label("% available", 301, 24, 41, 9);
  logPane_ = new QPlainTextEdit(this);
  logPane_->setObjectName("1000");
  logPane_->setReadOnly(true);
  logPane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  logPane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  logPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
  logPane_->setGeometry(u.Rect(7, 41, 578, 223));
  // Slot, control, top; the template text of each button.
  struct Place {
    int slot, control, y;
    const char* text;
  };
  const Place places[] = {{0, 1012, 23, "Monitor"},  {7, 1021, 49, "Upload waveform file"},
                          {1, 1013, 76, "Report"},   {2, 1014, 102, "Auto start"},
                          {3, 1015, 128, "Auto start TC"}, {4, 1016, 154, "Move to folder"},
                          {5, 1017, 180, "Concatenate"},   {6, 1700, 206, "Warning"}};
  for (const Place& p : places) {
    auto* b = new StatusButton(this);
    b->setObjectName(QString::number(p.control));
    b->setText(QString::fromLatin1(p.text));
    b->setGeometry(u.Rect(591, p.y, 178, 23));
    const int slot = p.slot;
    connect(b, &QAbstractButton::clicked, this, [this, slot] { emit statusButtonClicked(slot); });
    buttons_[static_cast<size_t>(p.slot)] = b;
  }
  setMinimumSize(TemplateSize());
  resize(TemplateSize());
}

QSize ControlPanel::TemplateSize() const { return units_.Size(kTemplateDlu); }

QLineEdit* ControlPanel::field(int control) const {
  switch (control) {
    case 1018: return original_;
    case 1025: return siteName_;
    case 1019: return destination_;
    case 1020: return available_;
    default: return nullptr;
  }
}

void ControlPanel::Refresh(CZentrovaDoc& doc) {
  std::string site, watched, destination, available;
  {
    std::lock_guard<std::recursive_mutex> lock(doc.mutex);
    const MonitorSettings& s = doc.settingsBlock;
    site = s.sMyName;
    watched = s.strWatchedFolder;
    destination = s.strDestinationFolder;
    const int drive = s.iCurrentDrive;
    const double ratio = drive >= 0 && drive < 10 ? s.drives[drive].dFreeFraction : 0.0;
    available = Printf("%.1f", ratio * 100.0);
  }
  siteName_->setText(QString::fromStdString(site));
  original_->setText(QString::fromStdString(watched));
  destination_->setText(QString::fromStdString(destination));
  available_->setText(QString::fromStdString(available));
  RefreshLogPane(doc);
}

void ControlPanel::RefreshLogPane(CZentrovaDoc& doc) {
  QString text = QString::fromStdString(doc.activityLog.RenderLogPane());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  logPane_->setPlainText(text);
}

void ControlPanel::DrawStatusButton(int slot, const StatusFace& face) {
  if (slot < 0 || slot >= kStatusSlots) return;
  buttons_[static_cast<size_t>(slot)]->SetFace(face);
}

}  // namespace zentrova

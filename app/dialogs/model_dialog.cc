#include "app/dialogs/model_dialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace zentrova {

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string FromQt(const QString& text) { return text.toUtf8().toStdString(); }

void ShowFieldPrompt(QWidget* parent, const std::string& prompt) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrova"), ToQt(prompt), QMessageBox::Ok, parent);
  box.exec();
}

ModelDialog::ModelDialog(QWidget* parent, const std::string& caption) : QDialog(parent) {
  setWindowTitle(ToQt(caption));
  setModal(true);
}

void ModelDialog::accept() {
  const std::optional<Refusal> refusal = Apply();
  if (!refusal) {
    QDialog::accept();
    return;
  }
  ShowFieldPrompt(this, refusal->prompt);
  if (refusal->field == nullptr) return;
  refusal->field->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(refusal->field)) edit->selectAll();
}

QDialogButtonBox* ModelDialog::MakeButtons() {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText(QStringLiteral("OK"));
  ok->setObjectName(ControlName(1));
  ok->setDefault(true);
  QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
  cancel->setText(QStringLiteral("Cancel"));
  cancel->setObjectName(ControlName(2));
  connect(buttons, &QDialogButtonBox::accepted, this, &ModelDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ModelDialog::reject);
  return buttons;
}

QLineEdit* ModelDialog::MakeEdit(int id, const std::string& text) {
  auto* edit = new QLineEdit(ToQt(text), this);
  edit->setObjectName(ControlName(id));
  return edit;
}

void ModelDialog::SetTabOrder(const std::vector<QWidget*>& widgets) {
  for (size_t i = 1; i < widgets.size(); ++i) QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

}  // namespace zentrova

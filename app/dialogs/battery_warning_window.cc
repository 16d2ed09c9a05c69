#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_windows.h"

namespace zentrova {

BatteryWarningWindow::BatteryWarningWindow(CDlgBatteryWarning& model, QWidget* parent)
    : ModelDialog(parent, "Battery voltage warning"), model_(model) {
  warning_ = MakeEdit(CDlgBatteryWarning::kWarning, model.sWarning);
  shutdown_ = MakeEdit(CDlgBatteryWarning::kShutdown, model.sShutdown);
  auto* form = new QFormLayout;
  form->addRow(QString::fromLatin1(CDlgBatteryWarning::kWarningLabel), warning_);
  form->addRow(QString::fromLatin1(CDlgBatteryWarning::kShutdownLabel), shutdown_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(MakeButtons());
}

std::optional<ModelDialog::Refusal> BatteryWarningWindow::Apply() {
  model_.sWarning = FromQt(warning_->text());
  model_.sShutdown = FromQt(shutdown_->text());
  const CDlgBatteryWarning::Outcome out = model_.OnOK();
  if (out.accepted) return std::nullopt;
  return Refusal{out.prompt, out.field == CDlgBatteryWarning::kShutdown ? shutdown_ : warning_};
}

}  // namespace zentrova

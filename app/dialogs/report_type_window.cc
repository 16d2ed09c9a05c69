#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "app/dialogs/dialog_windows.h"

namespace zentrova {

// The caller stores the choice (ReportTypeDialog::OnOK) once the dialog is
// accepted; the window only fills the model.
ReportTypeWindow::ReportTypeWindow(ReportTypeDialog& model, QWidget* parent)
    : ModelDialog(parent, "Report"), model_(model) {
  email_ = new QCheckBox(QStringLiteral("E-mail"), this);
  email_->setObjectName(ControlName(1024));
  email_->setChecked(model.bReportEMail == 1);
  webServer_ = new QCheckBox(QStringLiteral("Web server"), this);
  webServer_->setObjectName(ControlName(1025));
  webServer_->setChecked(model.bReportWebServer == 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(email_);
  layout->addWidget(webServer_);
  layout->addWidget(MakeButtons());
}

std::optional<ModelDialog::Refusal> ReportTypeWindow::Apply() {
  model_.bReportEMail = email_->isChecked() ? 1 : 0;
  model_.bReportWebServer = webServer_->isChecked() ? 1 : 0;
  return std::nullopt;
}

}  // namespace zentrova

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_windows.h"
#include "monitor/settings.h"

namespace zentrova {

EmailSenderWindow::EmailSenderWindow(EmailSenderDialog& model, QWidget* parent)
    : ModelDialog(parent, "E-mail setting (sender)"), model_(model) {
  sender_ = MakeEdit(1021, model.sSender);
  server_ = MakeEdit(1022, model.sServer);
  port_ = MakeEdit(1023, std::to_string(model.nPort));
  username_ = MakeEdit(1024, model.sUsername);
  password_ = MakeEdit(1025, model.sPassword);
  password_->setEchoMode(QLineEdit::Password);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("E-mail address"), sender_);
  form->addRow(QStringLiteral("SMTP server"), server_);
  form->addRow(QStringLiteral("Port number"), port_);
  form->addRow(QStringLiteral("Username"), username_);
  form->addRow(QStringLiteral("Password"), password_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(MakeButtons());
  setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

// The port reads as an integer or the dialog stays open; the caller writes
// the five values back (EmailSenderDialog::OnOK) once it is accepted.
std::optional<ModelDialog::Refusal> EmailSenderWindow::Apply() {
  int port = 0;
  if (!ParseStoredInt(FromQt(port_->text()), port)) return Refusal{kEnterInteger, port_};
  model_.sSender = FromQt(sender_->text());
  model_.sServer = FromQt(server_->text());
  model_.nPort = port;
  model_.sUsername = FromQt(username_->text());
  model_.sPassword = FromQt(password_->text());
  return std::nullopt;
}

}  // namespace zentrova

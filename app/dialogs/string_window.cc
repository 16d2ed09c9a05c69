#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_windows.h"

namespace zentrova {

StringWindow::StringWindow(const std::string& caption, const std::string& text, QWidget* parent)
    : ModelDialog(parent, caption), text_(text) {
  edit_ = MakeEdit(1004, text);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(edit_);
  layout->addWidget(MakeButtons());
  setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

std::optional<ModelDialog::Refusal> StringWindow::Apply() {
  text_ = FromQt(edit_->text());
  return std::nullopt;
}

}  // namespace zentrova

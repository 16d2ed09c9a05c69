#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_windows.h"
#include "monitor/settings.h"

namespace zentrova {

IntegerWindow::IntegerWindow(const std::string& text, const std::string& unit, int value, QWidget* parent)
    : ModelDialog(parent, "Integer data"), value_(value) {
  auto* textLabel = new QLabel(ToQt(text), this);
  textLabel->setObjectName(ControlName(1002));
  edit_ = MakeEdit(1001, std::to_string(value));
  textLabel->setBuddy(edit_);
  auto* unitLabel = new QLabel(ToQt(unit), this);
  unitLabel->setObjectName(ControlName(1003));
  auto* row = new QHBoxLayout;
  row->addWidget(edit_, 1);
  row->addWidget(unitLabel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(textLabel);
  layout->addLayout(row);
  layout->addWidget(MakeButtons());
  setMinimumWidth(fontMetrics().averageCharWidth() * 40);
}

std::optional<ModelDialog::Refusal> IntegerWindow::Apply() {
  int value = 0;
  if (!ParseStoredInt(FromQt(edit_->text()), value)) return Refusal{kEnterInteger, edit_};
  value_ = value;
  return std::nullopt;
}

}  // namespace zentrova

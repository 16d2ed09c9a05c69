#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_windows.h"

namespace zentrova {
namespace {

QLineEdit* ReadOnlyField(QWidget* parent, int id, const std::string& text, Qt::Alignment alignment = Qt::AlignRight) {
  auto* edit = new QLineEdit(ToQt(text), parent);
  edit->setObjectName(ModelDialog::ControlName(id));
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setAlignment(alignment);
  return edit;
}

}  // namespace

DriveSelectorWindow::DriveSelectorWindow(CDlgDriveSelector& model, QWidget* parent)
    : ModelDialog(parent, "Drive selector"), model_(model) {
  automatic_ = new QCheckBox(QStringLiteral("Automatic drive change"), this);
  automatic_->setObjectName(ControlName(1005));
  automatic_->setChecked(model.bAutomaticDriveChange == 1);
  ratio_ = MakeEdit(1006, model.sRatioPercent);
  ratio_->setMaximumWidth(fontMetrics().averageCharWidth() * 10);
  auto* switchRow = new QHBoxLayout;
  switchRow->addWidget(new QLabel(QStringLiteral("Drive will switch to"), this));
  switchRow->addWidget(ratio_);
  switchRow->addWidget(new QLabel(QStringLiteral("% of disk space"), this));
  switchRow->addStretch(1);

  auto* table = new QGridLayout;
  const char* headings[] = {"Current", "Use", "Drive", "Used (%)", "Available (%)", "Total disk size (GB)"};
  for (int c = 0; c < 6; ++c) table->addWidget(new QLabel(QString::fromLatin1(headings[c]), this), 0, c);
  current_ = new QButtonGroup(this);
  const int shown = static_cast<int>(model.rows.size());
  for (int i = 0; i < kRows; ++i) {
    const CDlgDriveSelector::Row row = i < shown ? model.rows[i] : CDlgDriveSelector::Row{};
    auto* radio = new QRadioButton(this);
    radio->setObjectName(ControlName(1031 + i));
    current_->addButton(radio, i);
    auto* use = new QCheckBox(this);
    use->setObjectName(ControlName(1011 + i));
    use->setChecked(row.bActive == 1);
    use_.push_back(use);
    QWidget* cells[] = {radio,
                        use,
                        ReadOnlyField(this, 1021 + i, row.sLetter, Qt::AlignHCenter),
                        ReadOnlyField(this, 1051 + i, row.sUsed),
                        ReadOnlyField(this, 1041 + i, row.sAvailable),
                        ReadOnlyField(this, 1061 + i, row.sTotalGB)};
    for (int c = 0; c < 6; ++c) {
      table->addWidget(cells[c], i + 1, c, c < 2 ? Qt::AlignHCenter : Qt::Alignment());
      cells[c]->setVisible(i < shown);
    }
  }
  if (QAbstractButton* selected = current_->button(model.iCurrentDrive)) selected->setChecked(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(automatic_);
  layout->addLayout(switchRow);
  layout->addLayout(table);
  layout->addWidget(MakeButtons());
}

std::optional<ModelDialog::Refusal> DriveSelectorWindow::Apply() {
  model_.bAutomaticDriveChange = automatic_->isChecked() ? 1 : 0;
  model_.sRatioPercent = FromQt(ratio_->text());
  if (current_->checkedId() >= 0) model_.iCurrentDrive = current_->checkedId();
  for (size_t i = 0; i < model_.rows.size() && i < use_.size(); ++i) model_.rows[i].bActive = use_[i]->isChecked() ? 1 : 0;
  const CDlgDriveSelector::Outcome out = model_.OnOK();
  if (out.accepted) return std::nullopt;
  return Refusal{out.prompt, ratio_};
}

}  // namespace zentrova

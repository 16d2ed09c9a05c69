#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_windows.h"

namespace zentrova {

DetectionParametersWindow::DetectionParametersWindow(CDlgEventDetectionParameters& model, QWidget* parent)
    : ModelDialog(parent, "Event detection parameters"), model_(model) {
  auto* group = new QGroupBox(QStringLiteral("Monitorin channels option"), this);
  auto* orRadio = new QRadioButton(QStringLiteral("OR Channel number(s)"), group);
  orRadio->setObjectName(ControlName(1691));
  channelOr_ = MakeEdit(1693, model.sChannelOr);
  channelOr_->setParent(group);
  auto* andRadio = new QRadioButton(QStringLiteral("AND Channel number(s)"), group);
  andRadio->setObjectName(ControlName(1692));
  channelAnd_ = MakeEdit(1694, model.sChannelAnd);
  channelAnd_->setParent(group);
  minimum_ = MakeEdit(1695, model.sMinimumChannels);
  minimum_->setParent(group);
  method_ = new QButtonGroup(this);
  method_->addButton(orRadio, 0);
  method_->addButton(andRadio, 1);
  (model.nMethod == 1 ? andRadio : orRadio)->setChecked(true);

  auto* channels = new QGridLayout(group);
  channels->addWidget(orRadio, 0, 0);
  channels->addWidget(channelOr_, 0, 1);
  channels->addWidget(new QLabel(QStringLiteral("(Either of these channels will detect)"), group), 0, 2);
  channels->addWidget(andRadio, 1, 0);
  channels->addWidget(channelAnd_, 1, 1);
  channels->addWidget(new QLabel(QStringLiteral("(All channels required for detection)"), group), 1, 2);
  auto* minimumLabel = new QLabel(QStringLiteral("Minimum number of channels"), group);
  minimumLabel->setBuddy(minimum_);
  channels->addWidget(minimumLabel, 2, 0);
  channels->addWidget(minimum_, 2, 1);
  channels->addWidget(
      new QLabel(QStringLiteral("For example: \"0-9, 15, 20\" means channel 0 through 9, channel 15 and 20"), group),
      3, 0, 1, 3);
  channels->setColumnStretch(1, 1);

  window1_ = MakeEdit(1696, model.sTimeWindow1);
  window2_ = MakeEdit(1697, model.sTimeWindow2);
  ratio_ = MakeEdit(1085, model.sRmsRatio);
  auto* windows = new QGridLayout;
  const struct {
    const char* label;
    QLineEdit* edit;
    const char* unit;
  } rows[] = {{"Time window 1 (W1)", window1_, "msec"},
              {"Time window 2 (W2)", window2_, "msec"},
              {"Ratio (W2/W1)", ratio_, ""}};
  int row = 0;
  for (const auto& r : rows) {
    auto* label = new QLabel(QString::fromLatin1(r.label), this);
    label->setBuddy(r.edit);
    windows->addWidget(label, row, 0);
    windows->addWidget(r.edit, row, 1);
    if (*r.unit != '\0') windows->addWidget(new QLabel(QString::fromLatin1(r.unit), this), row, 2);
    ++row;
  }
  windows->setColumnStretch(3, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(windows);
  layout->addWidget(MakeButtons());
  SetTabOrder({orRadio, channelOr_, andRadio, channelAnd_, minimum_, window1_, window2_, ratio_});
}

std::optional<ModelDialog::Refusal> DetectionParametersWindow::Apply() {
  model_.nMethod = method_->checkedId() == 1 ? 1 : 0;
  model_.sChannelOr = FromQt(channelOr_->text());
  model_.sChannelAnd = FromQt(channelAnd_->text());
  model_.sMinimumChannels = FromQt(minimum_->text());
  model_.sTimeWindow1 = FromQt(window1_->text());
  model_.sTimeWindow2 = FromQt(window2_->text());
  model_.sRmsRatio = FromQt(ratio_->text());
  const CDlgEventDetectionParameters::Outcome out = model_.OnOK();
  if (out.accepted) return std::nullopt;
  QLineEdit* field = minimum_;
  switch (out.field) {
    case CDlgEventDetectionParameters::kTimeWindow1: field = window1_; break;
    case CDlgEventDetectionParameters::kTimeWindow2: field = window2_; break;
    case CDlgEventDetectionParameters::kRmsRatio: field = ratio_; break;
    default: break;
  }
  return Refusal{out.prompt, field};
}

}  // namespace zentrova

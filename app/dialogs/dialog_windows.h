#pragma once
// The dialog windows over their models. qt_dialogs.h runs them modally;
// they are declared here so that they can also be built and looked at
// without running (the tests' caption table and pictures).

#include <QMessageBox>
#include <memory>
#include <string>
#include <vector>

#include "app/dialogs/model_dialog.h"
#include "detection/detection_settings_dialog.h"
#include "health/drive_selector.h"
#include "health/warning_toggle.h"
#include "notify/report_commands.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace zentrova {

// "Event detection parameters".
class DetectionParametersWindow : public ModelDialog {
  Q_OBJECT
 public:
  DetectionParametersWindow(CDlgEventDetectionParameters& model, QWidget* parent);

 protected:
  std::optional<Refusal> Apply() override;

 private:
  CDlgEventDetectionParameters& model_;
  QButtonGroup* method_;
  QLineEdit* channelOr_;
  QLineEdit* channelAnd_;
  QLineEdit* minimum_;
  QLineEdit* window1_;
  QLineEdit* window2_;
  QLineEdit* ratio_;
};

// "Battery voltage warning".
class BatteryWarningWindow : public ModelDialog {
  Q_OBJECT
 public:
  BatteryWarningWindow(CDlgBatteryWarning& model, QWidget* parent);

 protected:
  std::optional<Refusal> Apply() override;

 private:
  CDlgBatteryWarning& model_;
  QLineEdit* warning_;
  QLineEdit* shutdown_;
};

// "Drive selector".
class DriveSelectorWindow : public ModelDialog {
  Q_OBJECT
 public:
  static constexpr int kRows = 10;
  DriveSelectorWindow(CDlgDriveSelector& model, QWidget* parent);

 protected:
  std::optional<Refusal> Apply() override;

 private:
  CDlgDriveSelector& model_;
  QCheckBox* automatic_;
  QLineEdit* ratio_;
  QButtonGroup* current_;
  std::vector<QCheckBox*> use_;
};

// "Report": the report types.
class ReportTypeWindow : public ModelDialog {
  Q_OBJECT
 public:
  ReportTypeWindow(ReportTypeDialog& model, QWidget* parent);

 protected:
  std::optional<Refusal> Apply() override;

 private:
  ReportTypeDialog& model_;
  QCheckBox* email_;
  QCheckBox* webServer_;
};

// "Integer data": a text, the value and its unit.
class IntegerWindow : public ModelDialog {
  Q_OBJECT
 public:
  IntegerWindow(const std::string& text, const std::string& unit, int value, QWidget* parent);
  int Value() const { return value_; }

 protected:
  std::optional<Refusal> Apply() override;

 private:
  int value_;
  QLineEdit* edit_;
};

// "Edit string": one line under the caller's caption.
class StringWindow : public ModelDialog {
  Q_OBJECT
 public:
  StringWindow(const std::string& caption, const std::string& text, QWidget* parent);
  const std::string& Text() const { return text_; }

 protected:
  std::optional<Refusal> Apply() override;

 private:
  std::string text_;
  QLineEdit* edit_;
};

// "E-mail setting (sender)".
class EmailSenderWindow : public ModelDialog {
  Q_OBJECT
 public:
  EmailSenderWindow(EmailSenderDialog& model, QWidget* parent);

 protected:
  std::optional<Refusal> Apply() override;

 private:
  EmailSenderDialog& model_;
  QLineEdit* sender_;
  QLineEdit* server_;
  QLineEdit* port_;
  QLineEdit* username_;
  QLineEdit* password_;
};

// The About box.
std::unique_ptr<QMessageBox> MakeAboutBox(QWidget* parent);

// The text the integer dialogs ask for when a value does not read as an
// integer.
inline constexpr const char* kEnterInteger = "Enter an integer.";

}  // namespace zentrova

#include "app/dialogs/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "app/dialogs/dialog_windows.h"

namespace zentrova {
namespace {

template <typename Window>
bool Accepted(Window& window) {
  return window.exec() == QDialog::Accepted;
}

}  // namespace

std::optional<std::string> AskText(QWidget* parent, const std::string& caption, const std::string& text) {
  StringWindow window(caption, text, parent);
  if (!Accepted(window)) return std::nullopt;
  return window.Text();
}

std::optional<int> AskInteger(QWidget* parent, const std::string& text, const std::string& unit, int value) {
  IntegerWindow window(text, unit, value, parent);
  if (!Accepted(window)) return std::nullopt;
  return window.Value();
}

ReportDialogs QtReportDialogs(QWidget* parent) {
  QPointer<QWidget> p = parent;
  ReportDialogs d;
  d.reportType = [p](ReportTypeDialog& model) {
    ReportTypeWindow window(model, p.data());
    return Accepted(window);
  };
  d.interval = [p](IntervalDialog& model) {
    const std::optional<int> minutes = AskInteger(p.data(), "Set message interval", "Minutes", model.nMinutes);
    if (!minutes) return false;
    model.nMinutes = *minutes;
    return true;
  };
  d.askText = [p](const std::string& caption, const std::string& text) { return AskText(p.data(), caption, text); };
  return d;
}

WarningDialogs QtWarningDialogs(QWidget* parent) {
  QPointer<QWidget> p = parent;
  WarningDialogs d;
  d.integer = [p](const std::string& text, const std::string& unit, int value) {
    return AskInteger(p.data(), text, unit, value);
  };
  d.thresholds = [p](CDlgBatteryWarning& model) {
    BatteryWarningWindow window(model, p.data());
    return Accepted(window);
  };
  return d;
}

bool ShowDetectionParameters(CZentrovaDoc& doc, QWidget* parent) {
  CDlgEventDetectionParameters model(doc);
  DetectionParametersWindow window(model, parent);
  return Accepted(window);
}

bool ShowDriveSelector(CZentrovaDoc& doc, VolumeTable& volumes, QWidget* parent) {
  bool accepted = false;
  OnDriveSelector(doc, volumes, [parent, &accepted](CDlgDriveSelector& model) {
    DriveSelectorWindow window(model, parent);
    accepted = Accepted(window);
    return accepted;
  });
  return accepted;
}

bool ShowEmailSender(CZentrovaDoc& doc, QWidget* parent) {
  EmailSenderDialog model(doc);
  EmailSenderWindow window(model, parent);
  if (!Accepted(window)) return false;
  model.OnOK();
  return true;
}

std::optional<std::string> BrowseFolder(QWidget* parent, const std::string& title, const std::string& start,
                                        bool allowNewFolder) {
  QFileDialog::Options options = QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog;
  if (!allowNewFolder) options |= QFileDialog::ReadOnly;  // no "Create New Folder"
  const QString chosen = QFileDialog::getExistingDirectory(parent, ToQt(title), ToQt(start), options);
  if (chosen.isEmpty()) return std::nullopt;
  return FromQt(QDir::toNativeSeparators(chosen));
}

std::optional<std::string> ChooseControllerFile(QWidget* parent, const std::string& preset) {
  QFileDialog dialog(parent, QStringLiteral("Open"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters({QStringLiteral("All Files (*)")});
  dialog.selectFile(ToQt(preset));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQt(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

std::string ProgramVersion() { return ZENTROVA_VERSION; }

std::unique_ptr<QMessageBox> MakeAboutBox(QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("About Zentrova"),
                                           ToQt("Zentrova, Version " + ProgramVersion()), QMessageBox::Ok, parent);
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) box->setIconPixmap(icon.pixmap(48, 48));
  box->setObjectName(QStringLiteral("100"));
  return box;
}

void ShowAbout(QWidget* parent) { MakeAboutBox(parent)->exec(); }

}  // namespace zentrova

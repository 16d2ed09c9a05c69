#include "app/shell/standard_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "app/shell/record_file_dialog.h"
#include "detection/detection_settings_dialog.h"
#include "health/drive_selector.h"

namespace zentrova {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// Qt's standard dialogs; the windows of the dialog models that have no
// standard form (detection parameters, drive table, sender settings) say
// that this build has none.
DialogProvider StandardDialogs(QWidget* parent) {
  DialogProvider d;
  // A message never waits: its box stays open beside the work.
  d.message = [parent](const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Zentrova"), Q(text), QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
  };
  d.askYesNo = [parent](const std::string& text) {
    return QMessageBox::question(parent, QStringLiteral("Zentrova"), Q(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };
  d.askOkCancel = [parent](const std::string& text) {
    return QMessageBox::question(parent, QStringLiteral("Zentrova"), Q(text), QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
  };
  d.askText = [parent](const std::string& caption, const std::string& text) -> std::optional<std::string> {
    bool ok = false;
    const QString entered = QInputDialog::getText(parent, Q(caption), Q(caption), QLineEdit::Normal, Q(text), &ok);
    if (!ok) return std::nullopt;
    return entered.toStdString();
  };
  d.askInteger = [parent](const std::string& text, int value) -> std::optional<int> {
    bool ok = false;
    const int entered = QInputDialog::getInt(parent, QStringLiteral("Integer data"), Q(text), value, INT_MIN, INT_MAX,
                                             1, &ok);
    if (!ok) return std::nullopt;
    return entered;
  };
  d.browseFolder = [parent](const std::string& title, const std::string& start,
                            bool) -> std::optional<std::string> {
    const QString chosen = QFileDialog::getExistingDirectory(parent, Q(title), Q(start), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
  };
  d.chooseControllerFile = [parent](const std::string& preset) -> std::optional<std::string> {
    const QString chosen = QFileDialog::getOpenFileName(parent, QStringLiteral("Tarnlink Controller location"), Q(preset));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
  };
  d.chooseRecordFile = [parent](const std::string& folder) { return ChooseRecordFile(parent, folder); };
  d.about = [parent] {
    QMessageBox::about(parent, QStringLiteral("About Zentrova"), QStringLiteral("Zentrova"));
  };
  d.reports.askText = d.askText;
  d.reports.interval = [parent](IntervalDialog& dlg) {
    bool ok = false;
    const int minutes = QInputDialog::getInt(parent, QStringLiteral("Integer data"),
                                             QStringLiteral("Set message interval (Minutes)"), dlg.nMinutes, INT_MIN,
                                             INT_MAX, 1, &ok);
    if (ok) dlg.nMinutes = minutes;
    return ok;
  };
  d.reports.reportType = [parent](ReportTypeDialog& dlg) {
    const QStringList kinds = {QStringLiteral("E-mail"), QStringLiteral("Web server"),
                               QStringLiteral("E-mail and web server")};
    const int current = dlg.bReportEMail && dlg.bReportWebServer ? 2 : (dlg.bReportWebServer ? 1 : 0);
    bool ok = false;
    const QString kind = QInputDialog::getItem(parent, QStringLiteral("Report"), QStringLiteral("Report"), kinds,
                                               current, false, &ok);
    if (!ok) return false;
    const int k = static_cast<int>(kinds.indexOf(kind));
    dlg.bReportEMail = k != 1 ? 1 : 0;
    dlg.bReportWebServer = k != 0 ? 1 : 0;
    return true;
  };
  d.warnings.integer = [parent](const std::string& text, const std::string& unit, int value) -> std::optional<int> {
    bool ok = false;
    const int entered = QInputDialog::getInt(parent, QStringLiteral("Integer data"), Q(text + " (" + unit + ")"), value,
                                             INT_MIN, INT_MAX, 1, &ok);
    if (!ok) return std::nullopt;
    return entered;
  };
  d.warnings.thresholds = [parent](CDlgBatteryWarning& dlg) {
    for (;;) {
      bool ok = false;
      const QString warning = QInputDialog::getText(parent, QStringLiteral("Battery voltage warning"),
                                                    QString::fromLatin1(CDlgBatteryWarning::kWarningLabel),
                                                    QLineEdit::Normal, Q(dlg.sWarning), &ok);
      if (!ok) return false;
      const QString shutdown = QInputDialog::getText(parent, QStringLiteral("Battery voltage warning"),
                                                     QString::fromLatin1(CDlgBatteryWarning::kShutdownLabel),
                                                     QLineEdit::Normal, Q(dlg.sShutdown), &ok);
      if (!ok) return false;
      dlg.sWarning = warning.toStdString();
      dlg.sShutdown = shutdown.toStdString();
      const CDlgBatteryWarning::Outcome outcome = dlg.OnOK();
      if (outcome.accepted) return true;
      QMessageBox::warning(parent, QStringLiteral("Zentrova"), Q(outcome.prompt));
    }
  };
  auto missing = [parent](const char* what) {
    QMessageBox::information(parent, QStringLiteral("Zentrova"),
                             QStringLiteral("The %1 window is not part of this build.").arg(QString::fromLatin1(what)));
  };
  d.detection = [missing](CZentrovaDoc&) {
    missing("event detection parameters");
    return false;
  };
  d.driveSelector = [missing](CZentrovaDoc&, VolumeTable&) {
    missing("drive selector");
    return false;
  };
  d.emailSender = [missing](CZentrovaDoc&) {
    missing("e-mail sender settings");
    return false;
  };
  return d;
}

}  // namespace zentrova

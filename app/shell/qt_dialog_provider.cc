// The dialogs of the desktop program from its own dialog windows.
#include "app/dialogs/qt_dialogs.h"
#include "app/shell/record_file_dialog.h"
#include "app/shell/standard_dialogs.h"

#include <memory>

namespace zentrova {

DialogProvider StandardDialogs(QWidget* parent) {
  DialogProvider d;
  d.reports = QtReportDialogs(parent);
  d.warnings = QtWarningDialogs(parent);
  d.detection = [parent](CZentrovaDoc& doc) { return ShowDetectionParameters(doc, parent); };
  d.driveSelector = [parent](CZentrovaDoc& doc, VolumeTable& volumes) { return ShowDriveSelector(doc, volumes, parent); };
  d.emailSender = [parent](CZentrovaDoc& doc) { return ShowEmailSender(doc, parent); };
  d.askText = [parent](const std::string& caption, const std::string& text) { return AskText(parent, caption, text); };
  d.askInteger = [parent](const std::string& text, int value) { return AskInteger(parent, text, "", value); };
  d.browseFolder = [parent](const std::string& title, const std::string& start, bool allowNewFolder) {
    return BrowseFolder(parent, title, start, allowNewFolder);
  };
  d.chooseControllerFile = [parent](const std::string& preset) { return ChooseControllerFile(parent, preset); };
  d.chooseRecordFile = [parent](const std::string& folder) { return ChooseRecordFile(parent, folder); };
  auto prompt = std::make_shared<QtPrompt>(parent);
  d.message = [prompt](const std::string& text) { prompt->Show(text); };
  d.askYesNo = [prompt](const std::string& text) { return prompt->AskYesNo(text); };
  d.askOkCancel = [prompt](const std::string& text) { return prompt->AskOkCancel(text); };
  d.about = [parent] { ShowAbout(parent); };
  return d;
}

}  // namespace zentrova

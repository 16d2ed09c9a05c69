#pragma once
// The dialogs and message boxes the desktop program's commands open, as
// values: the Qt windows in the program, scripted answers in the tests.
// Every function may be left empty; a command whose dialog is missing then
// changes nothing.

#include <functional>
#include <optional>
#include <string>

#include "health/warning_toggle.h"
#include "notify/report_commands.h"

namespace zentrova {

class CZentrovaDoc;
class VolumeTable;

struct DialogProvider {
  ReportDialogs reports;    // "Report" type, "Integer data" interval, "Edit string"
  WarningDialogs warnings;  // "Send warning": the absence time and the battery thresholds
  // "Event detection parameters"; true when "OK" was accepted.
  std::function<bool(CZentrovaDoc&)> detection;
  // "Drive selector"; true when "OK" was accepted.
  std::function<bool(CZentrovaDoc&, VolumeTable&)> driveSelector;
  // "E-mail setting (sender)"; true when "OK" wrote the values back.
  std::function<bool(CZentrovaDoc&)> emailSender;
  // The text input dialog under a caption; nothing for "Cancel".
  std::function<std::optional<std::string>(const std::string& caption, const std::string& text)> askText;
  // The integer input dialog; nothing for "Cancel".
  std::function<std::optional<int>(const std::string& text, int value)> askInteger;
  // The folder browser; nothing for "Cancel".
  std::function<std::optional<std::string>(const std::string& title, const std::string& start, bool newFolderButton)>
      browseFolder;
  // The open-file dialog for the controller's program; nothing for "Cancel".
  std::function<std::optional<std::string>(const std::string& preset)> chooseControllerFile;
  // The open-file dialog for a record to look at, starting in `folder`;
  // nothing for "Cancel".
  std::function<std::optional<std::string>(const std::string& folder)> chooseRecordFile;
  // Message boxes: Yes/No (true for Yes), OK/Cancel (true for OK), and
  // the message, which must not wait for the operator (it returns with its
  // box still open; a repeated text is counted in its open box).
  std::function<bool(const std::string& text)> askYesNo;
  std::function<bool(const std::string& text)> askOkCancel;
  std::function<void(const std::string& text)> message;
  std::function<void()> about;
};

}  // namespace zentrova

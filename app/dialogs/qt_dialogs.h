#pragma once
// The program's modal dialogs and message boxes in Qt. Each dialog shows one
// dialog model of the logic: it fills its widgets from the model's fields,
// copies them back on "OK" and lets the model decide; a refused "OK" shows
// the model's prompt and keeps the dialog open on the named field. "Cancel",
// Escape and the close button change nothing.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/dialogs/message_board.h"
#include "health/warning_toggle.h"
#include "notify/report_commands.h"
#include "platform/prompt.h"

namespace zentrova {

class CZentrovaDoc;
class VolumeTable;

// The logic's message boxes: Show (OK), AskYesNo (Yes/No), AskOkCancel
// (OK/Cancel) and AskInteger (the "Integer data" dialog). Made on the GUI
// thread once the QApplication exists. A message never waits: it goes to
// the message board (message_board.h), which shows it beside the work and
// counts a repeated one. Called from another thread, it touches no Qt
// object there: the message or question goes into a mailbox that the GUI
// thread empties (every 100 ms); a question waits for the operator's answer
// (so that thread must not be joined by the GUI thread while it asks).
class QtPrompt : public Prompt {
 public:
  explicit QtPrompt(QWidget* parent = nullptr);
  ~QtPrompt() override;
  QtPrompt(const QtPrompt&) = delete;
  QtPrompt& operator=(const QtPrompt&) = delete;
  // The window the message boxes are centred on; GUI thread only.
  void SetParent(QWidget* parent) {
    parent_ = parent;
    board_.SetParent(parent);
  }
  void Show(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool AskOkCancel(const std::string& text) override;
  std::optional<int> AskInteger(const std::string& text, int initial) override;

 private:
  bool OnGuiThread() const { return std::this_thread::get_id() == gui_; }
  template <typename R>
  R Ask(std::function<R()> ask);
  void Post(std::function<void()> work);
  void Drain();

  QPointer<QWidget> parent_;
  MessageBoard board_;
  std::thread::id gui_;
  std::mutex mutex_;
  std::deque<std::function<void()>> mailbox_;
  std::unique_ptr<QTimer> drain_;
};

// The report commands' dialogs: "Report" (type), "Integer data" (interval)
// and "Edit string" (askText).
ReportDialogs QtReportDialogs(QWidget* parent);
// "Send warning": the "Integer data" dialog and "Battery voltage warning".
WarningDialogs QtWarningDialogs(QWidget* parent);

// "Event detection parameters": opens with the stored values; true when
// "OK" was accepted (the parameters are saved and detection is on).
bool ShowDetectionParameters(CZentrovaDoc& doc, QWidget* parent);
// "Drive selector": the drive table; true when "OK" was accepted.
bool ShowDriveSelector(CZentrovaDoc& doc, VolumeTable& volumes, QWidget* parent);
// "E-mail setting (sender)": true when "OK" wrote the five values back.
bool ShowEmailSender(CZentrovaDoc& doc, QWidget* parent);

// "Edit string": one line of text under the caller's caption; nothing for
// "Cancel".
std::optional<std::string> AskText(QWidget* parent, const std::string& caption, const std::string& text);
// "Integer data": the text above the value, the unit beside it (may be
// empty); nothing for "Cancel".
std::optional<int> AskInteger(QWidget* parent, const std::string& text, const std::string& unit, int value);

// The folder browser, starting at `start`; the button for a new folder only
// when allowNewFolder. Nothing for "Cancel".
std::optional<std::string> BrowseFolder(QWidget* parent, const std::string& title, const std::string& start,
                                        bool allowNewFolder);
// "Tarnlink Controller location": an open-file dialog with the file name
// preset (e.g. "TC.exe"); nothing for "Cancel".
std::optional<std::string> ChooseControllerFile(QWidget* parent, const std::string& preset);

// The About box: "About Zentrova", the program's name and version.
void ShowAbout(QWidget* parent);
// The version shown there ("2.0.0").
std::string ProgramVersion();

}  // namespace zentrova

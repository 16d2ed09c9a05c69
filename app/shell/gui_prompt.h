#pragma once
// The logic's message boxes in the desktop program. A message never waits
// for the operator, on any thread: it is written to the log and handed to
// the provider's message box, which shows it beside the work (so a monitor
// step that raises one goes on filing, and a cycle is never stopped by a
// box left open). From another thread (the monitor thread, a join) it is
// logged and shown later on the GUI thread. Questions are asked with the
// provider's boxes on the GUI thread; from another thread a question is not
// asked: it is shown as a message and answered No (or cancelled), so that a
// thread holding the document never waits for the window, which may be
// waiting for the document.

#include <QObject>
#include <functional>

#include "app/shell/dialog_provider.h"
#include "platform/prompt.h"

namespace zentrova {

class GuiPrompt : public Prompt {
 public:
  // `context` lives on the GUI thread and outlives every caller. `log`
  // (GUI thread) writes a message shown to the log; it may be left empty.
  GuiPrompt(QObject* context, const DialogProvider& dialogs, std::function<void(const std::string&)> log = nullptr)
      : context_(context), dialogs_(dialogs), log_(std::move(log)) {}
  void Show(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool AskOkCancel(const std::string& text) override;
  std::optional<int> AskInteger(const std::string& text, int initial) override;

 private:
  bool OnGuiThread() const;
  void ShowNow(const std::string& text);
  void ShowLater(const std::string& text);
  QObject* context_;
  const DialogProvider& dialogs_;
  std::function<void(const std::string&)> log_;
};

}  // namespace zentrova

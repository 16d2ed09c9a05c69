#pragma once
// The logic's message boxes in the desktop program. On the GUI thread they
// are the provider's message boxes. From another thread (the monitor
// thread, a join) a message is shown later on the GUI thread without
// waiting, and a question is not asked: it is shown as a message and
// answered No (or cancelled), so that a thread holding the document never
// waits for the window, which may be waiting for the document.

#include <QObject>
#include <functional>

#include "app/shell/dialog_provider.h"
#include "platform/prompt.h"

namespace zentrova {

class GuiPrompt : public Prompt {
 public:
  // `context` lives on the GUI thread and outlives every caller.
  GuiPrompt(QObject* context, const DialogProvider& dialogs) : context_(context), dialogs_(dialogs) {}
  void Show(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<int> AskInteger(const std::string& text, int initial) override;

 private:
  bool OnGuiThread() const;
  void ShowLater(const std::string& text);
  QObject* context_;
  const DialogProvider& dialogs_;
};

}  // namespace zentrova

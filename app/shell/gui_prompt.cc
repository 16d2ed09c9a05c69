#include "app/shell/gui_prompt.h"

#include <QMetaObject>
#include <QThread>

namespace zentrova {

bool GuiPrompt::OnGuiThread() const { return QThread::currentThread() == context_->thread(); }

void GuiPrompt::ShowNow(const std::string& text) {
  if (log_) log_(text);
  if (dialogs_.message) dialogs_.message(text);
}

void GuiPrompt::ShowLater(const std::string& text) {
  QMetaObject::invokeMethod(context_, [this, text] { ShowNow(text); }, Qt::QueuedConnection);
}

void GuiPrompt::Show(const std::string& text) {
  if (!OnGuiThread()) return ShowLater(text);
  ShowNow(text);
}

bool GuiPrompt::AskYesNo(const std::string& text) {
  if (!OnGuiThread()) {
    ShowLater(text);
    return false;
  }
  return dialogs_.askYesNo && dialogs_.askYesNo(text);
}

bool GuiPrompt::AskOkCancel(const std::string& text) {
  if (!OnGuiThread()) {
    ShowLater(text);
    return false;
  }
  return dialogs_.askOkCancel && dialogs_.askOkCancel(text);
}

std::optional<int> GuiPrompt::AskInteger(const std::string& text, int initial) {
  if (!OnGuiThread()) {
    ShowLater(text);
    return std::nullopt;
  }
  if (!dialogs_.askInteger) return std::nullopt;
  return dialogs_.askInteger(text, initial);
}

}  // namespace zentrova

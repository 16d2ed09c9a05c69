#include "app/dialogs/message_board.h"

#include <algorithm>

#include "app/dialogs/model_dialog.h"

namespace zentrova {

std::string RepeatNote(int count) { return "This message came " + std::to_string(count) + " times."; }

MessageBoard::~MessageBoard() {
  for (Shown& s : shown_) delete s.box.data();
}

void MessageBoard::Forget() {
  std::erase_if(shown_, [](const Shown& s) { return s.box.isNull() || !s.box->isVisible(); });
}

void MessageBoard::Show(const std::string& text) {
  Forget();
  auto same = std::find_if(shown_.begin(), shown_.end(), [&](const Shown& s) { return s.text == text; });
  if (same != shown_.end()) {
    same->box->setInformativeText(ToQt(RepeatNote(++same->count)));
    return;
  }
  if (static_cast<int>(shown_.size()) >= kMaxBoxes) {
    shown_.front().box->close();
    shown_.erase(shown_.begin());
  }
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Zentrova"), ToQt(text), QMessageBox::Ok,
                              parent_.data());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
  shown_.push_back({text, box, 1});
}

std::vector<QMessageBox*> MessageBoard::OpenBoxes() {
  Forget();
  std::vector<QMessageBox*> boxes;
  for (const Shown& s : shown_) boxes.push_back(s.box.data());
  return boxes;
}

}  // namespace zentrova

#pragma once
// Message boxes that never wait: each message opens a box that stays open
// beside the work until the operator closes it, without a modal loop, so
// whoever shows it goes on at once (a monitor step files its record, the
// next message does not nest inside the last one). The same text again
// while its box is open opens no second box: that box counts it, under the
// text, as "This message came N times.". At most kMaxBoxes are open; a
// further text closes the oldest. GUI thread only.

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

namespace zentrova {

class MessageBoard {
 public:
  static constexpr int kMaxBoxes = 8;

  explicit MessageBoard(QWidget* parent = nullptr) : parent_(parent) {}
  ~MessageBoard();
  MessageBoard(const MessageBoard&) = delete;
  MessageBoard& operator=(const MessageBoard&) = delete;

  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const std::string& text);
  // The boxes open now, oldest first.
  std::vector<QMessageBox*> OpenBoxes();

 private:
  struct Shown {
    std::string text;
    QPointer<QMessageBox> box;
    int count = 0;
  };
  void Forget();  // drops the boxes the operator has closed

  QPointer<QWidget> parent_;
  std::vector<Shown> shown_;
};

// The line under a repeated message's text.
std::string RepeatNote(int count);

}  // namespace zentrova

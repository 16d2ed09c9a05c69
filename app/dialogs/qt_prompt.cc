#include <QMessageBox>
#include <condition_variable>

#include "app/dialogs/model_dialog.h"
#include "app/dialogs/qt_dialogs.h"

namespace zentrova {
namespace {

bool AskBox(QWidget* parent, const std::string& text, QMessageBox::StandardButton yes,
            QMessageBox::StandardButton no) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Zentrova"), ToQt(text), yes | no, parent);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  return box.exec() == yes;
}

}  // namespace

QtPrompt::QtPrompt(QWidget* parent)
    : parent_(parent), board_(parent), gui_(std::this_thread::get_id()), drain_(std::make_unique<QTimer>()) {
  QObject::connect(drain_.get(), &QTimer::timeout, [this] { Drain(); });
  drain_->start(100);
}

QtPrompt::~QtPrompt() = default;

void QtPrompt::Post(std::function<void()> work) {
  std::lock_guard<std::mutex> lock(mutex_);
  mailbox_.push_back(std::move(work));
}

void QtPrompt::Drain() {
  std::deque<std::function<void()>> work;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    work.swap(mailbox_);
  }
  for (auto& w : work) w();
}

template <typename R>
R QtPrompt::Ask(std::function<R()> ask) {
  if (OnGuiThread()) return ask();
  struct Answer {
    std::mutex mutex;
    std::condition_variable given;
    bool done = false;
    R value{};
  };
  auto answer = std::make_shared<Answer>();
  Post([answer, ask] {
    R value = ask();
    std::lock_guard<std::mutex> lock(answer->mutex);
    answer->value = value;
    answer->done = true;
    answer->given.notify_one();
  });
  std::unique_lock<std::mutex> lock(answer->mutex);
  answer->given.wait(lock, [&] { return answer->done; });
  return answer->value;
}

void QtPrompt::Show(const std::string& text) {
  if (OnGuiThread()) {
    board_.Show(text);
  } else {
    Post([this, text] { board_.Show(text); });
  }
}

bool QtPrompt::AskYesNo(const std::string& text) {
  return Ask<bool>([this, text] { return AskBox(parent_.data(), text, QMessageBox::Yes, QMessageBox::No); });
}

bool QtPrompt::AskOkCancel(const std::string& text) {
  return Ask<bool>([this, text] { return AskBox(parent_.data(), text, QMessageBox::Ok, QMessageBox::Cancel); });
}

std::optional<int> QtPrompt::AskInteger(const std::string& text, int initial) {
  return Ask<std::optional<int>>([this, text, initial] { return zentrova::AskInteger(parent_.data(), text, "", initial); });
}

}  // namespace zentrova

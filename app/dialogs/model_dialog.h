#pragma once
// The frame every dialog of the program shares: its caption, the "OK" and
// "Cancel" buttons (Enter is "OK", Escape and the close button "Cancel"),
// and the check of "OK": the dialog copies its widgets into its model and
// asks it; a refusal shows the model's prompt in a message box and puts the
// focus back on the named field, and the dialog stays open.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QDialogButtonBox;
class QLineEdit;

namespace zentrova {

class ModelDialog : public QDialog {
  Q_OBJECT

 public:
  ModelDialog(QWidget* parent, const std::string& caption);

  // "OK": closes the dialog only when the model accepts the fields.
  void accept() override;

  // Widgets are named by their control number ("1695"); tests and the
  // caption table find them so.
  static QString ControlName(int id) { return QString::number(id); }

 protected:
  struct Refusal {
    std::string prompt;
    QWidget* field = nullptr;  // focused after the prompt
  };
  // Copies the widgets into the model and lets it decide.
  virtual std::optional<Refusal> Apply() = 0;
  // The OK and Cancel buttons, OK as the default button.
  QDialogButtonBox* MakeButtons();
  // A single-line edit with its control number and text.
  QLineEdit* MakeEdit(int id, const std::string& text);
  // Tab goes through the widgets in this order.
  static void SetTabOrder(const std::vector<QWidget*>& widgets);
};

// The message box of a refused field: the prompt with an exclamation mark
// and one "OK" button, over `parent`.
void ShowFieldPrompt(QWidget* parent, const std::string& prompt);

// QString and std::string, UTF-8 on both sides.
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);

}  // namespace zentrova

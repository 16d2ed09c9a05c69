#pragma once
// Message boxes. The logic shows its messages through this interface: the
// desktop shell shows them in boxes that do not wait for the operator, the
// headless station logs them, tests record them. Show never waits for an
// answer, so a monitor step may show one and go on; the questions wait
// where a window asks them.

#include <optional>
#include <string>
#include <vector>

namespace zentrova {

class Prompt {
 public:
  virtual ~Prompt() = default;
  virtual void Show(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) { Show(text); return false; }
  // A confirmation with "OK" and "Cancel"; true for OK. Answered as the
  // Yes/No question where no box is shown.
  virtual bool AskOkCancel(const std::string& text) { return AskYesNo(text); }
  // The integer input dialog; nothing when it is cancelled.
  virtual std::optional<int> AskInteger(const std::string& text, int initial) {
    Show(text);
    (void)initial;
    return std::nullopt;
  }
};

// Shows nothing: for work nobody watches (a planning pass, a benchmark).
class SilentPrompt : public Prompt {
 public:
  void Show(const std::string&) override {}
};

// Keeps every message shown, in order.
class RecordingPrompt : public Prompt {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    shown.push_back(text);
    return yes;
  }
  std::optional<int> AskInteger(const std::string& text, int initial) override {
    shown.push_back(text);
    asked.push_back(initial);
    return integer;
  }
  std::vector<std::string> shown;
  std::vector<int> asked;
  bool yes = false;
  std::optional<int> integer;
};

}  // namespace zentrova

#pragma once
// Message boxes. The logic shows its modal messages through this interface:
// the desktop shell shows them, the headless station logs them, tests
// record them. Show returns when the operator has closed the message.

#include <string>
#include <vector>

namespace zentrova {

class Prompt {
 public:
  virtual ~Prompt() = default;
  virtual void Show(const std::string& text) = 0;
};

// Keeps every message shown, in order.
class RecordingPrompt : public Prompt {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

}  // namespace zentrova

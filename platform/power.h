#pragma once
// Powering the computer off. The real one asks the system to do it; a
// station under test or in the demo gets a double that only counts or says
// what it would have done.

#include <functional>
#include <string>

namespace zentrova {

class PowerControl {
 public:
  virtual ~PowerControl() = default;
  // Asks for the power-off; a refusal is silent (the station goes on).
  virtual void PowerOff() = 0;
};

// `systemctl poweroff`, started with an argument vector.
class SystemPower : public PowerControl {
 public:
  void PowerOff() override;
};

// Does nothing but tell: for the demo and for stations run by hand.
class DryRunPower : public PowerControl {
 public:
  explicit DryRunPower(std::function<void(const std::string&)> say) : say_(std::move(say)) {}
  void PowerOff() override {
    if (say_) say_("dry run: the computer would be powered off now");
  }

 private:
  std::function<void(const std::string&)> say_;
};

class RecordingPower : public PowerControl {
 public:
  void PowerOff() override { ++calls; }
  int calls = 0;
};

}  // namespace zentrova

#pragma once
// The controller's window: a top-level X11 window with its title, closed
// by the window manager's delete request.

#include <memory>
#include <string>

namespace zentrova {

class ControllerWindow {
 public:
  ControllerWindow();
  ~ControllerWindow();
  // False without a display.
  bool Open(const std::string& title);
  // Handles the window's events; true once a close request came.
  bool CloseRequested();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace zentrova

#pragma once
// The windows on the screen, for asking another program's window to close.

#include <cstdint>
#include <string>
#include <vector>

namespace zentrova {

struct ScreenWindow {
  uint64_t id = 0;
  std::string title;      // at most 259 characters
  bool topLevel = false;  // a program's own top-level window
};

class WindowTree {
 public:
  virtual ~WindowTree() = default;
  // Every window, depth first from the root; empty without a display.
  virtual std::vector<ScreenWindow> Walk() = 0;
  // Posts a close request (the window manager's delete message) without
  // waiting; false when it could not be posted.
  virtual bool PostClose(uint64_t id) = 0;
};

// X11 through libX11 on $DISPLAY. Top-level windows are the children of
// the root and the windows that carry WM_STATE (below a window manager's
// frames).
class X11WindowTree : public WindowTree {
 public:
  std::vector<ScreenWindow> Walk() override;
  bool PostClose(uint64_t id) override;
};

class FakeWindowTree : public WindowTree {
 public:
  std::vector<ScreenWindow> Walk() override { return windows; }
  bool PostClose(uint64_t id) override {
    closed.push_back(id);
    return true;
  }
  std::vector<ScreenWindow> windows;
  std::vector<uint64_t> closed;
};

}  // namespace zentrova

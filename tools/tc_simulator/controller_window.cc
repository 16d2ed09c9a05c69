#include "tools/tc_simulator/controller_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zentrova {

struct ControllerWindow::State {
  Display* display = nullptr;
  Window window = 0;
  Atom deleteWindow = 0;
  bool closed = false;
};

ControllerWindow::ControllerWindow() : state_(std::make_unique<State>()) {}

ControllerWindow::~ControllerWindow() {
  if (state_->display) {
    if (state_->window) XDestroyWindow(state_->display, state_->window);
    XCloseDisplay(state_->display);
  }
}

bool ControllerWindow::Open(const std::string& title) {
  State& s = *state_;
  s.display = XOpenDisplay(nullptr);
  if (!s.display) return false;
  const int screen = DefaultScreen(s.display);
  s.window = XCreateSimpleWindow(s.display, RootWindow(s.display, screen), 10, 10, 320, 120, 1,
                                 BlackPixel(s.display, screen), WhitePixel(s.display, screen));
  XStoreName(s.display, s.window, title.c_str());
  s.deleteWindow = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(s.display, s.window, &s.deleteWindow, 1);
  XSelectInput(s.display, s.window, StructureNotifyMask);
  XMapWindow(s.display, s.window);
  XSync(s.display, False);
  return true;
}

bool ControllerWindow::CloseRequested() {
  State& s = *state_;
  if (!s.display) return false;
  while (XPending(s.display) > 0) {
    XEvent event;
    XNextEvent(s.display, &event);
    if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == s.deleteWindow) s.closed = true;
  }
  return s.closed;
}

}  // namespace zentrova

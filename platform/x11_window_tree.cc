#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

#include "platform/window_tree.h"

namespace zentrova {
namespace {

constexpr size_t kMaxTitle = 259;

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// A display connection that does not end the program on an X error (a
// window that vanished during the walk, say).
DisplayPtr OpenDisplay() {
  static const auto kQuiet = [](Display*, XErrorEvent*) -> int { return 0; };
  XSetErrorHandler(kQuiet);
  return DisplayPtr(XOpenDisplay(nullptr));
}

std::string Title(Display* d, Window w) {
  std::string title;
  const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
      data != nullptr && type == utf8 && format == 8) {
    title.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data) XFree(data);
  if (title.empty()) {
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) title = name;
    if (name) XFree(name);
  }
  if (title.size() > kMaxTitle) title.resize(kMaxTitle);
  return title;
}

bool HasWmState(Display* d, Window w) {
  const Atom wmState = XInternAtom(d, "WM_STATE", True);
  if (wmState == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool has = XGetWindowProperty(d, w, wmState, 0, 0, False, AnyPropertyType, &type, &format, &count, &after,
                                      &data) == Success &&
                   type != None;
  if (data) XFree(data);
  return has;
}

void WalkFrom(Display* d, Window w, Window root, std::vector<ScreenWindow>& out) {
  Window rootReturn = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, w, &rootReturn, &parent, &children, &n)) return;
  std::vector<Window> list(children, children + n);
  if (children) XFree(children);
  for (Window child : list) {
    out.push_back({static_cast<uint64_t>(child), Title(d, child), w == root || HasWmState(d, child)});
    WalkFrom(d, child, root, out);
  }
}

}  // namespace

std::vector<ScreenWindow> X11WindowTree::Walk() {
  std::vector<ScreenWindow> windows;
  DisplayPtr d = OpenDisplay();
  if (!d) return windows;
  const Window root = DefaultRootWindow(d.get());
  windows.push_back({static_cast<uint64_t>(root), Title(d.get(), root), false});
  WalkFrom(d.get(), root, root, windows);
  return windows;
}

bool X11WindowTree::PostClose(uint64_t id) {
  DisplayPtr d = OpenDisplay();
  if (!d) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(id);
  event.xclient.message_type = XInternAtom(d.get(), "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d.get(), "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(d.get(), static_cast<Window>(id), False, NoEventMask, &event);
  XSync(d.get(), False);
  return sent != 0;
}

}  // namespace zentrova

#include "testing/virtual_display.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace zentrova::testing {

VirtualDisplay::VirtualDisplay(const std::string& screen) {
  const std::string out = folder_.Path("xvfb.out");
  // -displayfd: the server picks a free number and writes it to its output
  // once it accepts connections. -noreset: a server that resets when its
  // last client goes refuses the clients that come meanwhile.
  server_ = std::make_unique<BackgroundProcess>(
      std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0", screen},
      out);
  if (!server_->started()) return;
  for (int i = 0; i < 200 && name_.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    const std::string text = ReadFileBytes(out);
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find('\n', at);
      if (end == std::string::npos) break;
      const std::string line = text.substr(at, end - at);
      if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) name_ = ":" + line;
      at = end + 1;
    }
  }
  if (name_.empty()) return;
  if (const char* d = ::getenv("DISPLAY")) {
    previous_ = d;
    hadPrevious_ = true;
  }
  ::setenv("DISPLAY", name_.c_str(), 1);
}

VirtualDisplay::~VirtualDisplay() {
  if (hadPrevious_) {
    ::setenv("DISPLAY", previous_.c_str(), 1);
  } else {
    ::unsetenv("DISPLAY");
  }
  if (server_) {
    server_->Signal(SIGTERM);
    server_->Wait();
  }
}

}  // namespace zentrova::testing
